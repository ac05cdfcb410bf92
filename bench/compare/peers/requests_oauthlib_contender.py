#!/usr/bin/python3
# The requests-oauthlib contender of the comparison bench: an OAuth2Session with the client credentials grant
# (BackendApplicationClient) fetching a token from URL with HTTP Basic client authentication, one session (and so
# one kept-alive connection) for the whole run. Speaks bench_contender's line protocol on standard input:
# "run MS", "count N" -> "REQUESTS SECONDS"; "memory" -> "RSS_KIB PEAK_KIB"; "quit".
# Usage: requests_oauthlib_contender.py URL   (SSL_CERT_FILE names the CA over HTTPS)
import os
import sys
import time

from oauthlib.oauth2 import BackendApplicationClient
from requests.auth import HTTPBasicAuth
from requests_oauthlib import OAuth2Session

url = sys.argv[1]
# oauthlib refuses plain HTTP unless told otherwise; the plain-HTTP rows of the bench talk only to loopback.
if url.startswith("http://"):
    os.environ["OAUTHLIB_INSECURE_TRANSPORT"] = "1"
client_id, client_secret = "demo-client", "demo-secret"
session = OAuth2Session(client=BackendApplicationClient(client_id=client_id))
session.headers["User-Agent"] = "zqhttpclient/1.0"
auth = HTTPBasicAuth(client_id, client_secret)
verify = os.environ.get("SSL_CERT_FILE", True)


def request_once():
    token = session.fetch_token(token_url=url, auth=auth, include_client_id=False, verify=verify)
    if token.get("access_token") != "fixture-access-token":
        raise RuntimeError("unexpected token answer: %r" % (token,))


def memory():
    values = {}
    with open("/proc/self/status") as status:
        for line in status:
            name, _, rest = line.partition(":")
            values[name] = rest.split()[0] if rest.split() else "-1"
    return "%s %s" % (values.get("VmRSS", "-1"), values.get("VmHWM", "-1"))


for line in sys.stdin:
    command = line.split()
    if not command or command[0] == "quit":
        break
    try:
        if command[0] == "memory":
            answer = memory()
        else:
            start = time.monotonic()
            done = 0
            if command[0] == "run":
                end = start + int(command[1]) / 1000.0
                while time.monotonic() < end:
                    request_once()
                    done += 1
            else:
                for _ in range(int(command[1])):
                    request_once()
                    done += 1
            answer = "%d %.6f" % (done, time.monotonic() - start)
    except Exception as error:  # any failure ends the contender; the driver reports it
        print("error requests-oauthlib: %s" % error, flush=True)
        sys.exit(1)
    print(answer, flush=True)
