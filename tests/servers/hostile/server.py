#!/usr/bin/env python3
"""Hostile HTTP server: misbehaves on purpose, one path per misbehaviour, for the component's fault tests.

Usage: server.py DIR   (DIR holds the certificates that `start` made; the server writes its port files there)

Listens on 127.0.0.1 only, on ports the system picks, and writes each port to a file of DIR:
  http.port              plain HTTP, the paths below
  tls-wrong-host.port    TLS with a certificate for wrong-host.invalid (signed by DIR/ca.pem)
  tls-expired.port       TLS with an expired certificate for 127.0.0.1 (signed by DIR/ca.pem)
  tls-1.0.port           TLS 1.0 only, with a valid certificate for 127.0.0.1
The TLS listeners answer every request "200 tls ok". Plain HTTP paths (any method; the query is ignored unless
named):
  /echo[/...]            200 text/plain: the request head and body exactly as received
  /hits?path=P           200 text/plain: how many requests for path P arrived so far (any method)
  /silent                reads the request and never answers
  /stall-after-headers   sends the head (Content-Length: 100), then nothing
  /one-byte-per-second   sends a whole answer one byte per second
  /reset-mid-body        announces 1000 bytes, sends 100, then resets the connection
  /truncated-chunked     one chunk, then closes without the last chunk
  /bad-chunk-size        a chunk size that is not hexadecimal
  /large-with-length     100000 bytes with Content-Length
  /large-without-length  100000 bytes without Content-Length, ended by closing
  /many-headers          10000 header lines of about 40 bytes
  /huge-header-line      one header line of 200 KiB
  /not-http, /http09, /status-2000   answers that are not HTTP/1.x: garbage, a bare body, a four-digit status
  /redirect-ftp          302 to ftp://127.0.0.1/file
  /redirect-loop         302 to itself
  /redirect/CODE/same    CODE (301, 302, 303, 307, 308) to /echo/CODE/same on this origin
  /redirect/CODE/other   CODE to /echo/CODE/other on another origin (http://localhost:PORT, the same port)
Each connection serves one request and is closed after it (Connection: close).
"""
import os
import socket
import socketserver
import ssl
import struct
import sys
import threading
import time
from urllib.parse import parse_qs, urlsplit

MAX_HEAD = 1 << 20
hits = {}
hits_lock = threading.Lock()


def read_request(conn):
    """Returns (method, target, head bytes, body bytes), or None when the peer sent no complete head."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk or len(data) > MAX_HEAD:
            return None
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")
    parts = lines[0].decode("latin-1").split(" ")
    if len(parts) != 3:
        return None
    length = 0
    for line in lines[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip())
    while len(body) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        body += chunk
    return parts[0], parts[1], head + b"\r\n\r\n", body


def answer(status, body=b"", headers=()):
    lines = [f"HTTP/1.1 {status}", "Connection: close", f"Content-Length: {len(body)}", *headers]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


def wait_for_close(conn, seconds=120):
    conn.settimeout(seconds)
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def serve_path(conn, method, path, query, raw, port):
    if path == "/echo" or path.startswith("/echo/"):
        conn.sendall(answer("200 OK", raw, ["Content-Type: text/plain"]))
    elif path == "/hits":
        with hits_lock:
            count = hits.get(query.get("path", [""])[0], 0)
        conn.sendall(answer("200 OK", str(count).encode()))
    elif path == "/silent":
        wait_for_close(conn)
    elif path == "/stall-after-headers":
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n")
        wait_for_close(conn)
    elif path == "/one-byte-per-second":
        for byte in answer("200 OK", b"x" * 60):
            conn.sendall(bytes([byte]))
            time.sleep(1)
    elif path == "/reset-mid-body":
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + b"x" * 100)
        time.sleep(0.2)
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    elif path == "/truncated-chunked":
        conn.sendall(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\na\r\n0123456789\r\n")
    elif path == "/bad-chunk-size":
        conn.sendall(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nhello\r\n0\r\n\r\n")
    elif path == "/large-with-length":
        conn.sendall(answer("200 OK", b"x" * 100000))
    elif path == "/large-without-length":
        conn.sendall(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + b"x" * 100000)
    elif path == "/many-headers":
        conn.sendall(answer("200 OK", b"", [f"X-Hostile-{i:05d}: {'v' * 24}" for i in range(10000)]))
    elif path == "/huge-header-line":
        conn.sendall(answer("200 OK", b"", ["X-Huge: " + "h" * (200 * 1024)]))
    elif path == "/not-http":
        conn.sendall(b"garbage that is no status line\r\n\r\n")
    elif path == "/http09":
        conn.sendall(b"<html>a body without any status line</html>\n")
    elif path == "/status-2000":
        conn.sendall(b"HTTP/1.1 2000 Big\r\nContent-Length: 0\r\n\r\n")
    elif path == "/redirect-ftp":
        conn.sendall(answer("302 Found", b"", ["Location: ftp://127.0.0.1/file"]))
    elif path == "/redirect-loop":
        conn.sendall(answer("302 Found", b"", ["Location: /redirect-loop"]))
    elif path.startswith("/redirect/"):
        _, _, code, where = path.split("/")
        target = f"/echo/{code}/{where}" if where == "same" else f"http://localhost:{port}/echo/{code}/{where}"
        conn.sendall(answer(f"{code} Moved", b"moved", [f"Location: {target}"]))
    else:
        conn.sendall(answer("404 Not Found", b"no such misbehaviour\n"))


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        try:
            if self.server.tls is not None:
                conn = self.server.tls.wrap_socket(conn, server_side=True)
            request = read_request(conn)
            if request is None:
                return
            method, target, head, body = request
            if self.server.tls is not None:
                conn.sendall(answer("200 OK", b"tls ok"))
                return
            url = urlsplit(target)
            with hits_lock:
                hits[url.path] = hits.get(url.path, 0) + 1
            serve_path(conn, method, url.path, parse_qs(url.query), head + body, self.server.server_address[1])
        except (OSError, ssl.SSLError, ValueError):
            pass  # the client gave up or failed the handshake: that is what these tests provoke
        finally:
            try:
                conn.close()
            except OSError:
                pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, tls):
        self.tls = tls
        super().__init__(("127.0.0.1", 0), Handler)


def tls_context(directory, name, old_version=False):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    if old_version:
        # OpenSSL 3 refuses TLS 1.0 at its default security level; this server must offer nothing else.
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
        context.minimum_version = ssl.TLSVersion.TLSv1
        context.maximum_version = ssl.TLSVersion.TLSv1
    context.load_cert_chain(os.path.join(directory, name + ".pem"), os.path.join(directory, name + ".key"))
    return context


def main():
    directory = sys.argv[1]
    listeners = {
        "http": Server(None),
        "tls-wrong-host": Server(tls_context(directory, "wrong-host")),
        "tls-expired": Server(tls_context(directory, "expired")),
        "tls-1.0": Server(tls_context(directory, "server", old_version=True)),
    }
    for name, server in listeners.items():
        threading.Thread(target=server.serve_forever, daemon=True).start()
    for name, server in listeners.items():
        path = os.path.join(directory, name + ".port")
        with open(path + ".tmp", "w") as f:
            f.write(f"{server.server_address[1]}\n")
        os.replace(path + ".tmp", path)
    threading.Event().wait()


if __name__ == "__main__":
    main()
