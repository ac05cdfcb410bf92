// The help texts, one per subcommand, and the version line.
#include "help_text.h"

#ifndef OAUTH_CLIENT_CLI_VERSION
#define OAUTH_CLIENT_CLI_VERSION "0.0.0"
#endif

namespace OAuthClient {
namespace Cli {

namespace {

constexpr char kOverview[] = R"HELP(Usage: oauth-client <command> [options]

Obtains OAuth 2.0 access tokens and calls protected resources through liboauthclient.

Commands:
  token     obtain a token from a token endpoint and print it as one JSON object
  get       fetch a protected resource with GET
  request   send any method to a protected resource, with a body
  header    obtain a token and print "Authorization: Bearer <token>", for
            curl -H "$(oauth-client header ...)"
  cache     list or clear the token cache: oauth-client cache list|clear

Run 'oauth-client <command> --help' for the options of a command.
  --help, -h      show this help
  --version, -V   show the version

Exit codes:
  0   an HTTP answer below 400 (token: a 2xx answer with an access token)
  1   the program failed (library not loadable, output not writable)
  2   bad usage
  3   an HTTP status of 400 or more (also with --fail); for a token, any
      status outside 2xx
  4   an OAuth error reply from the token endpoint ("error" member)
  5   the library sent nothing (HTTP component unavailable, request incomplete)
  6   the token endpoint's reply held no access token
  10  malformed URL                 18  response too large
  11  URL not http:// or https://   19  proxy refused the connection
  12  host name not resolved        20  method or header cannot be sent
  13  connection refused            21  connection broke / answer not HTTP
  14  timed out                     22  malformed proxy URL
  15  TLS handshake failed          23  malformed header
  16  certificate rejected          24  transport out of memory
  17  too many redirects            25  transport unavailable
  99  any other transport failure

Environment:
  OAUTH_CLIENT_SECRET, OAUTH_PASSWORD, OAUTH_ACCESS_TOKEN, OAUTH_PROXY_USER
                  secrets that are not given on the command line
  OAUTH_CLIENT_CACHE=1  use the token cache, as --cache does
  XDG_CACHE_HOME  the cache lives in $XDG_CACHE_HOME/oauth-client (default
                  ~/.cache/oauth-client), files of mode 0600
)HELP";

#define TRANSPORT_OPTIONS                                                                   \
  "Transport options:\n"                                                                    \
  "  -k, --insecure           ignore server certificate errors\n"                           \
  "  -L, --follow             follow redirects (at most 10, http and https only)\n"         \
  "  --connect-timeout T      connect timeout (default 30 s)\n"                             \
  "  --receive-timeout T      longest wait without data (default 60 s)\n"                   \
  "  --timeout T              whole-exchange timeout (default 5 min)\n"                     \
  "                           T is seconds (\"30\", \"2.5\") or milliseconds (\"500ms\")\n" \
  "  --tls 1.0|1.1|1.2|1.3    use exactly this TLS version (default: 1.2 or later)\n"       \
  "  --proxy URL              send through this HTTP proxy\n"                               \
  "  --proxy-user USER:PASS   the proxy's credentials; or --proxy-user-file FILE,\n"        \
  "                           or OAUTH_PROXY_USER\n"                                        \
  "  --no-proxy HOSTS         comma-separated hosts that bypass the proxy\n"                \
  "  --cacert FILE            trust the CAs of this PEM file; --capath DIR: of this\n"      \
  "                           hashed folder\n"                                              \
  "  --cache                  reuse a token of the same options until it expires\n"         \
  "                           (or OAUTH_CLIENT_CACHE=1); off by default: it writes\n"       \
  "                           tokens to disk\n"                                             \
  "  --cache-margin T         reuse until T before expiry (default 60 s)\n"                 \
  "  -v, --verbose            print request and response headers to stderr, secrets\n"      \
  "                           redacted\n"                                                   \
  "  -s, --silent             no messages on stderr; -S, --show-error: errors still\n"      \
  "                           shown\n"                                                      \
  "\n"                                                                                      \
  "Short options combine as in curl: -vk, -XPOST, -o-.\n"

#define TOKEN_OPTIONS(header, method)                                                    \
  "  --token-url URL          the token endpoint (required)\n"                           \
  "  --grant TYPE             client_credentials (default), password, or any other\n"    \
  "                           grant type (e.g. refresh_token), sent as an extension\n"   \
  "  --client-id ID           the client identifier\n"                                   \
  "  --client-secret S        the client secret; or --client-secret-file FILE (first\n"  \
  "                           line, \"-\" for stdin), or OAUTH_CLIENT_SECRET\n"          \
  "  --scope SCOPE            the requested scope\n"                                     \
  "  --username NAME          the resource owner's user name (password grant)\n"         \
  "  --password P             the resource owner's password; or --password-file FILE,\n" \
  "                           or OAUTH_PASSWORD\n"                                       \
  "  --param NAME=VALUE       a further form parameter (repeatable), e.g.\n"             \
  "                           refresh_token=...; it wins over the options above;\n"      \
  "                           NAME=@FILE reads the value from FILE's first line\n"       \
  "  --basic-auth STYLE       how id and secret become Basic credentials: library\n"     \
  "                           (default, every grant: ANSI code page), rfc6749 (form-\n"  \
  "                           URL-encoded UTF-8, RFC 6749 2.3.1) or raw-utf8\n"          \
  "  " header                                                                            \
  " 'Name: value'  a header of the token request (repeatable)\n"                         \
  "  " method                                                                            \
  " METHOD         the token request's method (default POST; GET sends\n"                \
  "                           the form in the query)\n"

constexpr char kToken[] = "Usage: oauth-client token --token-url URL [options]\n"
                          "\n"
                          "Obtains a token and prints one JSON object on stdout: status, token_type,\n"
                          "access_token, expires_in, expires_at (UTC), refresh_token and scope; or status,\n"
                          "error, error_description, error_uri and state for an error reply. JSON and\n"
                          "form-encoded replies are read; a token counts only from a 2xx answer.\n"
                          "\n"
                          "Token options:\n" TOKEN_OPTIONS("-H, --header", "-X, --method") "  --raw                    print the reply text as received instead of the JSON\n"
                          "  --print NAME             print only that member of the JSON (e.g. access_token)\n"
                          "  -q, --quiet              print only the access token\n"
                          "\n" TRANSPORT_OPTIONS
                          "\n"
                          "Example:\n"
                          "  oauth-client token --token-url https://as.example/oauth/token \\\n"
                          "      --client-id app --client-secret-file secret.txt --scope read\n";

#define RESOURCE_OPTIONS                                                                  \
  "  URL, --url URL           the protected resource (required)\n"                        \
  "  --access-token TOKEN     the access token; or --access-token-file FILE, or\n"        \
  "                           OAUTH_ACCESS_TOKEN; or the token options below\n"           \
  "  -H, --header 'Name: value'  a request header (repeatable); an Authorization\n"       \
  "                           header replaces the Bearer token\n"                         \
  "  -i, --include            write the status line and headers before the body\n"        \
  "  -o, --output FILE        write the body to FILE instead of stdout (\"-\": stdout)\n" \
  "  -f, --fail               write no body for a status of 400 or more (exit 3 as\n"     \
  "                           without it; curl's --fail exits 22 instead)\n"              \
  "  -w, --write-out FORMAT   write FORMAT after the body: %{http_code},\n"               \
  "                           %{size_download}, \\n\n"                                    \
  "  --oauth2-bearer TOKEN    the same as --access-token\n"

constexpr char kGet[] =
    "Usage: oauth-client get URL (--access-token TOKEN | --token-url URL ...) [options]\n"
    "\n"
    "Fetches a protected resource with \"Authorization: Bearer <token>\" and writes its\n"
    "body, byte for byte, to stdout. With the token options a token is obtained first.\n"
    "\n"
    "Resource options:\n" RESOURCE_OPTIONS
    "\n"
    "Token options (to obtain the access token first):\n" TOKEN_OPTIONS("--token-header",
                                                                        "--token-method") "\n" TRANSPORT_OPTIONS;

constexpr char kRequest[] =
    "Usage: oauth-client request URL [--method M] [--data TEXT | --data-file FILE] [options]\n"
    "\n"
    "Sends a request to a protected resource with \"Authorization: Bearer <token>\".\n"
    "\n"
    "Resource options:\n" RESOURCE_OPTIONS
    "  -X, --method METHOD      the method (default GET, or POST with a body)\n"
    "  -d, --data TEXT          the body, sent as given; @FILE: the file's bytes, @-\n"
    "                           stdin; repeated pieces are joined by \"&\"\n"
    "  --data-file FILE         the body, the file's bytes (\"-\" for stdin)\n"
    "  --data-urlencode TEXT    a piece form-URL-encoded: content, name=content,\n"
    "                           @file or name@file\n"
    "  --json TEXT              a JSON body (@FILE too) with Content-Type and Accept\n"
    "                           application/json\n"
    "  --content-type TYPE      the body's Content-Type (none is sent otherwise)\n"
    "\n"
    "Token options (to obtain the access token first):\n" TOKEN_OPTIONS("--token-header",
                                                                        "--token-method") "\n" TRANSPORT_OPTIONS;

constexpr char kHeader[] =
    "Usage: oauth-client header --token-url URL [token options]\n"
    "\n"
    "Obtains a token and prints the header line that carries it:\n"
    "  Authorization: Bearer <token>\n"
    "so that another tool sends it: curl -H \"$(oauth-client header ...)\" URL.\n"
    "\n"
    "Token options:\n" TOKEN_OPTIONS("-H, --header", "-X, --method") "\n" TRANSPORT_OPTIONS;

constexpr char kCache[] =
    "Usage: oauth-client cache list|clear\n"
    "\n"
    "list   prints one line per cached token: its expiry (UTC), the token URL with\n"
    "       its secrets redacted, the client id, the grant and the scope; never a token\n"
    "clear  removes every cached token\n";

#undef TRANSPORT_OPTIONS
#undef TOKEN_OPTIONS
#undef RESOURCE_OPTIONS

}  // namespace

const char* HelpText(Command topic) {
  switch (topic) {
    case Command::kToken:
      return kToken;
    case Command::kGet:
      return kGet;
    case Command::kRequest:
      return kRequest;
    case Command::kHeader:
      return kHeader;
    case Command::kCache:
      return kCache;
    default:
      return kOverview;
  }
}

const char* VersionText() { return "oauth-client " OAUTH_CLIENT_CLI_VERSION; }

}  // namespace Cli
}  // namespace OAuthClient
