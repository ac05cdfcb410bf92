// Result codes of the HTTP client component (IHttpClient). The library passes send codes to hosts unchanged.
#ifndef OAUTHCLIENT_HTTP_CLIENT_CODES_H
#define OAUTHCLIENT_HTTP_CLIENT_CODES_H

#include <cstdint>

namespace OAuthClient {

// Always add new codes last. Never renumber or remove one: hosts test for these numbers.
// -1, -3 and -4 are left out on purpose: the library itself reports those.
enum HttpClientResult : std::int32_t {
  kHttpOk = 1,                    // an HTTP answer arrived, whatever its status; or a setting was accepted
  kHttpBadUrl = -10,              // the URL is null, empty or malformed
  kHttpUnsupportedScheme = -11,   // the URL (or a redirect's target) is not http:// or https://
  kHttpCannotResolve = -12,       // the host name (or the proxy's) cannot be resolved
  kHttpConnectFailed = -13,       // the connection was refused or could not be made
  kHttpTimedOut = -14,            // the connect, receive or whole-exchange timeout elapsed
  kHttpTlsFailed = -15,           // the TLS handshake failed (protocol version, cipher, a non-TLS peer)
  kHttpCertificateRejected = -16, // the server's certificate or host name did not verify
  kHttpTooManyRedirects = -17,    // more redirects than the component follows (10)
  kHttpResponseTooLarge = -18,    // the body exceeded the response size cap (64 MiB by default)
  kHttpProxyFailed = -19,         // the proxy refused the connection or the tunnel
  kHttpBadArgument = -20,         // a null method, or a method or header holding CR, LF or NUL
  kHttpSendFailed = -21,          // the connection broke while sending or receiving, or the answer was not HTTP
  kHttpBadProxy = -22,            // a proxy setting was refused: the proxy URL is malformed
  kHttpBadHeader = -23,           // a header setting was refused: a name or value holds CR, LF or NUL, or is malformed
  kHttpOutOfMemory = -24,         // the transport could not allocate
  kHttpTransportUnavailable = -25,// the transport library could not be initialised
  kHttpOtherFailure = -99,        // any other transport failure
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_HTTP_CLIENT_CODES_H
