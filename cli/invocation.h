// Invocation: what one run of the program was asked to do, as read from its command line.
#ifndef OAUTH_CLIENT_CLI_INVOCATION_H
#define OAUTH_CLIENT_CLI_INVOCATION_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace OAuthClient {
namespace Cli {

// The subcommands; kHelp and kVersion also stand for --help and --version.
enum class Command { kHelp, kVersion, kToken, kGet, kRequest, kHeader, kCache };

// How the client identifier and secret become the Basic credentials of the token request.
enum class BasicAuthStyle {
  kLibrary,  // the library's rule for every grant: "id:secret" in the ANSI code page (Windows-1252), then Base64
  kRfc6749,  // RFC 6749 section 2.3.1: id and secret form-URL-encoded as UTF-8, then "id:secret" in Base64
  kRawUtf8,  // "id:secret" as UTF-8 bytes, then Base64 (RFC 7617 with charset UTF-8)
};

// A header as given by --header "Name: value" (name and value trimmed of blanks).
using HeaderField = std::pair<std::string, std::string>;
// A form parameter as given by --param name=value.
using FormParameter = std::pair<std::string, std::string>;

// Settings that both request objects carry to the HTTP component.
struct TransportOptions {
  bool insecure = false;               // --insecure: ignore certificate errors (flag A)
  bool follow = false;                 // --follow: follow redirects (flag B)
  std::uint32_t connectTimeoutMs = 0;  // --connect-timeout (value A); 0 = the component's default
  std::uint32_t receiveTimeoutMs = 0;  // --receive-timeout (value B)
  std::uint32_t timeoutMs = 0;         // --timeout, the whole exchange (value C)
  std::uint32_t secureProtocol = 0;    // --tls: 0 default, 1 TLS 1.0, 2 TLS 1.1, 3 TLS 1.2, 4 TLS 1.3
  std::string proxy;                   // --proxy URL
  std::string proxyUser;               // --proxy-user user:password, split
  std::string proxyPassword;
  std::string noProxy;      // --no-proxy: hosts that go direct
  std::string caFile;       // --cacert FILE: the CA bundle (PEM) that verifies servers
  std::string caDirectory;  // --capath DIR: a hashed CA directory
};

// The token endpoint request: the whole of the token command, or how get/request obtain their access token.
struct TokenOptions {
  std::string url;
  std::string grant = "client_credentials";
  std::string method = "POST";
  std::string clientId;
  std::optional<std::string> clientSecret;
  std::string scope;
  std::string userName;
  std::optional<std::string> password;
  std::vector<FormParameter> parameters;
  std::vector<HeaderField> headers;
  BasicAuthStyle basicAuth = BasicAuthStyle::kLibrary;  // --basic-auth
};

// The token cache (--cache, OAUTH_CLIENT_CACHE=1).
struct CacheOptions {
  bool enabled = false;
  std::uint32_t marginSeconds = 60;  // --cache-margin: a token is reused until this long before it expires
  bool clear = false;                // cache clear (otherwise cache list)
};

// The protected-resource request of get and request.
struct ResourceOptions {
  std::string url;
  std::string method;  // empty: GET, or POST when a body is given
  std::optional<std::string> accessToken;
  std::optional<std::string> body;  // raw bytes of --data, --data-file, --data-urlencode, --json
  std::string contentType;
  std::vector<HeaderField> headers;
};

// What is printed, and where.
struct OutputOptions {
  bool verbose = false;     // --verbose: request and response headers to stderr, secrets redacted
  bool include = false;     // --include: the response's status line and headers before its body
  bool raw = false;         // --raw (token): the reply text as received instead of the JSON summary
  std::string outputFile;   // --output FILE (get, request): the body goes there instead of stdout; "-" is stdout
  bool silent = false;      // -s: no progress, no warnings, no error messages (unless --show-error)
  bool showError = false;   // -S, --show-error: error messages even with -s
  bool fail = false;        // -f, --fail: no body output for a status of 400 or more (the exit code stays 3)
  std::string writeOut;     // -w FORMAT: written to stdout after the body; %{http_code} is the status
  std::string printMember;  // --print NAME (token): only that member of the JSON summary, as plain text
};

struct Invocation {
  Command command = Command::kHelp;
  Command helpTopic = Command::kHelp;  // which help text kHelp prints
  TokenOptions token;
  bool tokenRequested = false;  // get/request: the token options were given, obtain a token first
  ResourceOptions resource;
  TransportOptions transport;
  OutputOptions output;
  CacheOptions cache;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_INVOCATION_H
