// IHttpClient: the HTTP client object made by CreateHttpClient of the HTTP client component (zqhttpclient).
// A component of one's own implements this interface and exports CreateHttpClient.
#ifndef OAUTHCLIENT_HTTP_CLIENT_H
#define OAUTHCLIENT_HTTP_CLIENT_H

#include <cstdint>

#include "oauthclient/http_client_codes.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the 42 slots below is the ABI between the library and the component. Never reorder, insert or
// remove; a new capability comes as a derived interface. No virtual destructor: the object ends through Release.
//
// Life of an object: settings and headers, then a send, then reads of the answer. The library makes a fresh object
// per request; an object may also send again (each send forgets the previous answer) or be Reset. One object is
// used by one thread at a time; different objects may be used on different threads at once.
//
// Texts are zero-terminated UTF-16. Texts and bytes handed out belong to the object and stay valid until the next
// call that fills the same output, the next send, Reset or Release; callers copy what they keep. Every getter
// leaves its out-arguments untouched unless it returns 1. Results are HttpClientResult codes
// (oauthclient/http_client_codes.h); a null pointer where one is required gives kHttpBadArgument.
//
// Refused settings fail closed: the library does not look at most setting results, so a proxy or header setting
// that the object refuses makes every later send fail with the setting's code (kHttpBadProxy, kHttpBadHeader),
// sending nothing, until the setting is replaced (see 3, 9, 10, 21, 23) or the object is Reset.
//
// The component that ships with the library (libzqhttpclient.so on libcurl / zqhttpclient.dll on WinHTTP) works
// as documented here, with the same codes on both; the README's settings table says where WinHTTP differs:
//  - It keeps itself loaded once CreateHttpClient has been called, so that its connection pool outlives the
//    library's unload of it after each token request. Successive objects reuse keep-alive connections, the DNS
//    cache and TLS sessions (a process-wide, thread-safe pool of transfer handles).
//  - TLS: certificates and host names are verified against the system's CA store. A process can name another
//    CA bundle with the environment variable SSL_CERT_FILE (a PEM file) or SSL_CERT_DIR (a hashed directory),
//    read at each send.
//  - HTTP/1.1 always, over https too (HTTP/2 is not offered): header names then arrive spelled as the server
//    wrote them, which exact-case look-ups of response headers rely on (HTTP/2 lower-cases every name).
//  - Proxies: none unless set; the proxy environment variables (http_proxy, ...) are never consulted.
//  - Only http:// and https:// URLs are sent, also as redirect targets. The URL goes out as given (as UTF-8):
//    percent-encoding is the caller's.
//  - Headers sent besides the caller's: Host, "Accept: */*", "User-Agent: zqhttpclient/1.0" (see SetUserAgent),
//    Content-Length for a body. No Content-Type is invented for a body and no "Expect: 100-continue" is sent
//    unless the caller sets those headers. No Accept-Encoding is sent: bodies arrive uncompressed.
//  - Framing is the component's: a caller's Content-Length that is not the length of the body that goes out
//    (0 without one), or any Transfer-Encoding, fails the send with kHttpBadHeader before anything is sent.
//  - Size limits: the caller's header lines and user agent together at most 256 KiB (else the send fails with
//    kHttpHeaderTooLarge, sending nothing); an answer's header block at most 256 KiB, one line of it at most
//    100 KiB (libcurl's limit), else kHttpHeaderTooLarge; the body as SetMaxResponseSize says.
class IHttpClient {
 public:
  // 1. Returns the interface revision the object implements (kHttpClientInterfaceVersion).
  virtual std::uint32_t GetInterfaceVersion() = 0;
  // 2. Forgets the answer, the request headers and every setting, as on a new object.
  virtual void Reset() = 0;
  // 3. Sets the User-Agent header text; null or empty restores "zqhttpclient/1.0". 1, or kHttpBadHeader for a
  //    text holding a control character other than tab (the old value stays, and sends fail with kHttpBadHeader
  //    until ClearRequestHeaders or Reset). A "User-Agent" request header, if set, wins over this.
  virtual std::int32_t SetUserAgent(const WideChar* userAgent) = 0;
  // 4. Flag A: any non-zero byte turns server certificate checks off (chain, expiry and host name). Default off.
  virtual void SetOptionFlagA(Bool8 value) = 0;
  // 5. Returns flag A as 0 or 1.
  virtual std::int32_t GetOptionFlagA() = 0;
  // 6. Flag B: any non-zero byte follows redirects (301, 302, 303, 307, 308 with Location), at most 10, to http
  //    and https only. Default off: a redirect is then an answer like any other. When following, a POST becomes
  //    a GET without body after 301 and 302, any method but HEAD after 303; other methods keep method and body.
  //    Another origin (scheme, host, port) never receives the body or a credential: Authorization,
  //    Proxy-Authorization and Cookie headers are dropped from there on, and a redirect that would carry a
  //    non-empty body to another origin (a 307 or 308 of a POST) is not followed: its 30x answer is returned.
  virtual void SetOptionFlagB(Bool8 value) = 0;
  // 7. Returns flag B as 0 or 1.
  virtual std::int32_t GetOptionFlagB() = 0;
  // 8. Direct connection, no proxy (the default). Forgets a proxy set before.
  virtual void SetStringNone() = 0;
  // 9. Proxy URL, user name and password. The URL is "host:port" or a URL of the schemes http, https, socks4,
  //    socks4a, socks5 or socks5h (no scheme: http). User and password (null or empty: none) are offered with
  //    whichever scheme the proxy asks for (Basic, Digest, NTLM, Negotiate), and only to the proxy. 1,
  //    kHttpBadArgument for a null URL, or kHttpBadProxy for an empty or malformed one: sends then fail with
  //    kHttpBadProxy, sending nothing, until a proxy setting is accepted, SetStringNone or Reset.
  virtual std::int32_t SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) = 0;
  // 10. Proxy URL (as in 9, without credentials) and bypass list: host names, domains (".example.com") or IP
  //     addresses that go direct, separated by commas or semicolons; "*" bypasses everything; "<local>" is
  //     ignored. Null or empty: no bypass. 1, kHttpBadArgument or kHttpBadProxy as in 9.
  virtual std::int32_t SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) = 0;
  // 11. Secure protocol: 0 the TLS library's default with TLS 1.2 as the lowest version; 3, 4, 5, 6 exactly
  //     TLS 1.0, 1.1, 1.2, 1.3 (no other version is offered). Any other value is taken as 0. A server without the
  //     pinned version fails the send with kHttpTlsFailed; so do TLS 1.0 and 1.1 wherever the system's OpenSSL 3
  //     configuration refuses them (Debian's default security level does).
  virtual void SetSecureProtocol(std::int32_t code) = 0;
  // 12. Returns the secure protocol code in force (0 after an unknown value).
  virtual std::int32_t GetSecureProtocol() = 0;
  // 13. Value C: whole-exchange timeout in milliseconds, from the start of the send to the end of the answer
  //     (redirects included); 0 = the default, 300000 (5 minutes). Elapsed: kHttpTimedOut.
  virtual void SetOptionValueC(std::uint32_t milliseconds) = 0;
  // 14. Returns value C as set (0 = the default).
  virtual std::uint32_t GetOptionValueC() = 0;
  // 15. Value A: connect timeout in milliseconds, name resolution, TCP connect and TLS handshake included;
  //     0 = the default, 30000. Elapsed: kHttpTimedOut.
  virtual void SetOptionValueA(std::uint32_t milliseconds) = 0;
  // 16. Value B: receive timeout in milliseconds: the longest time without any byte moving once the connection is
  //     up (waiting for the answer, or between parts of it); 0 = the default, 60000. Elapsed: kHttpTimedOut.
  virtual void SetOptionValueB(std::uint32_t milliseconds) = 0;
  // 17. Returns value A as set (0 = the default).
  virtual std::uint32_t GetOptionValueA() = 0;
  // 18. Returns value B as set (0 = the default).
  virtual std::uint32_t GetOptionValueB() = 0;
  // 19. Sets the response body cap in bytes; 0 = the default, 64 MiB. A body over the cap (announced by
  //     Content-Length or counted as it arrives) ends the send with kHttpResponseTooLarge and keeps no answer.
  virtual void SetMaxResponseSize(std::uint32_t bytes) = 0;
  // 20. Returns the cap in force (the default when 0 was set).
  virtual std::uint32_t GetMaxResponseSize() = 0;
  // 21. Adds a request header, or replaces the value of the one of the same name (ASCII case-insensitive) in
  //     place. The name must be an HTTP token (blanks around it are dropped); the value may be empty (it is sent
  //     as "Name:") and may hold no control character but tab (no CR, LF or NUL), so no header can add a line of
  //     its own. flags: 0. 1, kHttpBadArgument for a null text or other flags, kHttpBadHeader for a refused name
  //     or value (nothing changed; sends fail with kHttpBadHeader until ClearRequestHeaders or Reset).
  virtual std::int32_t AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) = 0;
  // 22. Removes the request header of that name. 1, or kHttpBadHeader when none was set.
  virtual std::int32_t RemoveRequestHeader(const WideChar* name) = 0;
  // 23. Adds the "Name: value" lines of a text, each as AddRequestHeader does. Values travel as lines: CR LF (or
  //     a lone LF) inside the text ends a line, so a value holding a line break becomes a line of its own, checked
  //     as every other; empty lines are skipped. 1 (also for an empty text), kHttpBadArgument for null, or
  //     kHttpBadHeader when any line lacks a colon or is refused by the checks of 21; nothing is added then, and
  //     sends fail with kHttpBadHeader until ClearRequestHeaders or Reset.
  virtual std::int32_t SetRequestHeadersText(const WideChar* text) = 0;
  // 24. Removes every request header.
  virtual void ClearRequestHeaders() = 0;
  // 25. Sends `length` body bytes with the method (an HTTP token, sent as given; "HEAD" sends no body) to the
  //     URL. A length of 0 sends as Send does. 1 when an HTTP answer arrived, whatever its status; else a
  //     negative HttpClientResult: kHttpBadArgument (null or malformed method, null data with a length),
  //     kHttpBadUrl, kHttpUnsupportedScheme, kHttpBadProxy or kHttpBadHeader (a refused setting, or headers that
  //     would change the framing), kHttpHeaderTooLarge, or the transport failure. Blocks until done or timed out.
  virtual std::int32_t SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                                 std::uint32_t length) = 0;
  // 26. Sends a text body, encoded as UTF-8 (an unpaired surrogate as U+FFFD); `length` in UTF-16 units,
  //     -1 = up to the terminating zero. A null text with -1 or 0, or an empty text, sends as Send does. Results
  //     as for 25; kHttpBadArgument also for a length below -1 or a null text with a positive length.
  virtual std::int32_t SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                                std::int32_t length) = 0;
  // 27. Sends the request without a body; "POST", "PUT" and "PATCH" go out with "Content-Length: 0", as servers
  //     expect of them. Results as for 25.
  virtual std::int32_t Send(const WideChar* method, const WideChar* url) = 0;
  // 28. The URL of the last exchange, after redirects. 1, or -1 before a send and after one refused before
  //     sending.
  virtual std::int32_t GetEffectiveUrl(const WideChar** out) = 0;
  // 29. Returns the number of redirects the last send followed.
  virtual std::int32_t GetRedirectCount() = 0;
  // 30. Returns the last send's duration in milliseconds (0 before a send).
  virtual std::uint32_t GetElapsedMilliseconds() = 0;
  // 31. The value of one header of the answer (ASCII case-insensitive; the first of repeated ones; blanks
  //     around it dropped). 1, or -1 when there is no answer or no such header.
  virtual std::int32_t GetResponseHeader(const WideChar* name, const WideChar** out) = 0;
  // 32. Returns the response body's length in bytes (0 without an answer).
  virtual std::uint32_t GetResponseBodyLength() = 0;
  // 33. The status line and header lines of the final answer as received, each ending in CR LF, followed by the
  //     empty line (CR LF) that ends the block. Header bytes are read as UTF-8 when they are valid UTF-8, else as
  //     ISO-8859-1. For HTTP/2 the status line is "HTTP/2 <code>". 1, or -1 when no answer arrived.
  virtual std::int32_t GetResponseHeadersText(const WideChar** out) = 0;
  // 34. The response body's raw bytes and their count; an empty body gives a null pointer and 0. 1, or -1 when
  //     no answer arrived.
  virtual std::int32_t GetResponseBody(const unsigned char** data, std::uint32_t* length) = 0;
  // 35. The Content-Type of the answer. 1, or -1 when there is none.
  virtual std::int32_t GetResponseContentType(const WideChar** out) = 0;
  // 36. The body as UTF-16. A byte-order mark (UTF-8, UTF-16LE, UTF-16BE) decides and is removed; else the
  //     Content-Type charset: utf-16le, utf-16 (read as little-endian), utf-16be, iso-8859-1 / us-ascii and their
  //     aliases, windows-1252; anything else, or none, as UTF-8. Malformed sequences become U+FFFD. 1 (an empty
  //     text for an empty body), or -1 when no answer arrived.
  virtual std::int32_t GetResponseText(const WideChar** out) = 0;
  // 37. Returns the result of the last send (1 or a negative HttpClientResult; 0 before a send).
  virtual std::int32_t GetLastResult() = 0;
  // 38. A one-line description of the last send's failure in English. 1, or -1 when it did not fail.
  virtual std::int32_t GetLastErrorText(const WideChar** out) = 0;
  // 39. Returns the HTTP status code of the answer (0 when no answer arrived).
  virtual std::uint32_t GetStatusCode() = 0;
  // 40. The reason phrase of the status line ("Not Found"). 1, or -1 when the answer had none: HTTP/2 has none,
  //     and an HTTP/1.x status line may end after the code.
  virtual std::int32_t GetStatusText(const WideChar** out) = 0;
  // 41. The response value: the duration of the last exchange in microseconds, from the start of the send to
  //     the end of the answer (0 before a send). 1, or kHttpBadArgument for a null out.
  virtual std::int32_t GetResponseValue(std::uintptr_t* out) = 0;
  // 42. Destroys the object.
  virtual void Release() = 0;
};

// The revision GetInterfaceVersion reports for the slot layout above.
constexpr std::uint32_t kHttpClientInterfaceVersion = 1;

// The component's export, "CreateHttpClient" (extern "C", no arguments): returns a new object with default
// settings, or null when memory is exhausted. Thread-safe.
// A typedef, not `using`: only a declaration inside extern "C" gives the function type C language linkage.
extern "C" typedef IHttpClient* (*CreateHttpClientFunction)();  // NOLINT(modernize-use-using)

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_HTTP_CLIENT_H
