// Result codes of the HTTP client component (IHttpClient). The library passes send codes to hosts unchanged.
#ifndef OAUTHCLIENT_HTTP_CLIENT_CODES_H
#define OAUTHCLIENT_HTTP_CLIENT_CODES_H

#include <cstdint>

namespace OAuthClient {

// Always add new codes last. Never renumber or remove one: hosts test for these numbers.
// -1, -3 and -4 are left out on purpose: the library itself reports those.
enum HttpClientResult : std::int32_t {
  kHttpOk = 1,                      // an HTTP answer arrived, whatever its status; or a setting was accepted
  kHttpBadUrl = -10,                // the URL is null, empty or malformed
  kHttpUnsupportedScheme = -11,     // the URL (or a redirect's target) is not http:// or https://
  kHttpCannotResolve = -12,         // the host name (or the proxy's) cannot be resolved
  kHttpConnectFailed = -13,         // the connection was refused or could not be made
  kHttpTimedOut = -14,              // the connect (A), receive (B) or whole-exchange (C) timeout elapsed
  kHttpTlsFailed = -15,             // the TLS handshake failed (protocol version, cipher, a non-TLS peer)
  kHttpCertificateRejected = -16,   // the server's certificate or host name did not verify
  kHttpTooManyRedirects = -17,      // more redirects than the component follows (10)
  kHttpResponseTooLarge = -18,      // the body exceeded the response size cap (64 MiB by default)
  kHttpProxyFailed = -19,           // the proxy refused the connection or the tunnel
  kHttpBadArgument = -20,           // a null pointer where one is required, a method that is not an HTTP token, or
                                    // a length or flags value out of range
  kHttpSendFailed = -21,            // the connection broke while sending or receiving, or the answer was not HTTP
                                    // (garbage or no status line, HTTP/0.9, a status that is not three digits)
  kHttpBadProxy = -22,              // a proxy setting was refused: the proxy URL is empty, malformed or of another
                                    // scheme than http, https, socks4, socks4a, socks5, socks5h; or a send after it
  kHttpBadHeader = -23,             // a header setting was refused: a name that is not an HTTP token, a value or
                                    // user agent holding a control character but tab, a header line without a
                                    // colon; a send after such a refusal, or with a Content-Length that is not the
                                    // body's or a Transfer-Encoding; or, for RemoveRequestHeader, no such header
  kHttpOutOfMemory = -24,           // the transport could not allocate
  kHttpTransportUnavailable = -25,  // the transport library could not be initialised
  kHttpOtherFailure = -99,          // any other transport failure
  kHttpHeaderTooLarge = -26,        // the answer's header block exceeded 256 KiB (or one line of it the transport's
                                    // own limit, 100 KiB for libcurl), or the request's headers exceed 256 KiB
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_HTTP_CLIENT_CODES_H
