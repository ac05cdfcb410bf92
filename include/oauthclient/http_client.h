// IHttpClient: the HTTP client object made by CreateHttpClient of the HTTP client component (zqhttpclient).
// A component of one's own implements this interface and exports CreateHttpClient.
#ifndef OAUTHCLIENT_HTTP_CLIENT_H
#define OAUTHCLIENT_HTTP_CLIENT_H

#include <cstdint>

#include "oauthclient/http_client_codes.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the 42 slots below is the ABI between the library and the component. Never reorder, insert or
// remove. No virtual destructor: the object ends through Release. One object serves one request: settings, then
// one send, then reads of the answer. Texts and bytes handed out belong to the object and stay valid until the
// next call that replaces them or Release; callers copy what they keep. Results: HttpClientResult.
class IHttpClient {
 public:
  // 1. Returns the interface revision the object implements (kHttpClientInterfaceVersion).
  virtual std::uint32_t GetInterfaceVersion() = 0;
  // 2. Forgets the answer, the headers and every setting, so the object can serve another request.
  virtual void Reset() = 0;
  // 3. Sets the User-Agent header text (null or empty: the component's own). 1 or kHttpBadHeader.
  virtual std::int32_t SetUserAgent(const WideChar* userAgent) = 0;
  // 4. Flag A: ignore server certificate errors (default off: certificate and host name are verified).
  virtual void SetOptionFlagA(Bool8 value) = 0;
  // 5. Returns flag A (0 or 1).
  virtual std::int32_t GetOptionFlagA() = 0;
  // 6. Flag B: follow redirects, at most 10, http and https only (default off).
  virtual void SetOptionFlagB(Bool8 value) = 0;
  // 7. Returns flag B (0 or 1).
  virtual std::int32_t GetOptionFlagB() = 0;
  // 8. Direct connection, no proxy; proxy environment variables are never consulted.
  virtual void SetStringNone() = 0;
  // 9. Proxy URL, user name and password. 1, or kHttpBadProxy for a malformed proxy URL.
  virtual std::int32_t SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) = 0;
  // 10. Proxy URL and bypass list (comma-separated host names that go direct). 1, or kHttpBadProxy.
  virtual std::int32_t SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) = 0;
  // 11. Secure protocol: 0 the TLS library's default (TLS 1.2 or later); 3, 4, 5, 6 exactly TLS 1.0, 1.1, 1.2, 1.3.
  //     Any other value is taken as 0.
  virtual void SetSecureProtocol(std::int32_t code) = 0;
  // 12. Returns the secure protocol code last set.
  virtual std::int32_t GetSecureProtocol() = 0;
  // 13. Value C: whole-exchange timeout in milliseconds; 0 = the default, 300000 (5 minutes).
  virtual void SetOptionValueC(std::uint32_t milliseconds) = 0;
  // 14. Returns value C as set.
  virtual std::uint32_t GetOptionValueC() = 0;
  // 15. Value A: connect timeout in milliseconds; 0 = the default, 30000.
  virtual void SetOptionValueA(std::uint32_t milliseconds) = 0;
  // 16. Value B: receive timeout, the longest wait without data, in milliseconds; 0 = the default, 60000.
  virtual void SetOptionValueB(std::uint32_t milliseconds) = 0;
  // 17. Returns value A as set.
  virtual std::uint32_t GetOptionValueA() = 0;
  // 18. Returns value B as set.
  virtual std::uint32_t GetOptionValueB() = 0;
  // 19. Sets the response body cap in bytes; 0 = the default, 64 MiB.
  virtual void SetMaxResponseSize(std::uint32_t bytes) = 0;
  // 20. Returns the response body cap in force.
  virtual std::uint32_t GetMaxResponseSize() = 0;
  // 21. Adds a request header, replacing one of the same name (ASCII case-insensitive). flags: 0. 1 or kHttpBadHeader.
  virtual std::int32_t AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) = 0;
  // 22. Removes the request header of that name. 1, or kHttpBadHeader when none was set.
  virtual std::int32_t RemoveRequestHeader(const WideChar* name) = 0;
  // 23. Adds the "Name: value" lines of a CR LF separated text, as AddRequestHeader does. 1 or kHttpBadHeader
  //     (nothing added).
  virtual std::int32_t SetRequestHeadersText(const WideChar* text) = 0;
  // 24. Removes every request header.
  virtual void ClearRequestHeaders() = 0;
  // 25. Sends `length` body bytes. 1 when an HTTP answer arrived, else a negative HttpClientResult.
  virtual std::int32_t SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                                 std::uint32_t length) = 0;
  // 26. Sends a text body as UTF-8; `length` in UTF-16 units, -1 = zero-terminated.
  virtual std::int32_t SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                                std::int32_t length) = 0;
  // 27. Sends the request without a body.
  virtual std::int32_t Send(const WideChar* method, const WideChar* url) = 0;
  // 28. The URL of the last exchange after redirects. 1, or -1 before a send.
  virtual std::int32_t GetEffectiveUrl(const WideChar** out) = 0;
  // 29. Returns the number of redirects followed by the last send.
  virtual std::int32_t GetRedirectCount() = 0;
  // 30. Returns the last send's duration in milliseconds.
  virtual std::uint32_t GetElapsedMilliseconds() = 0;
  // 31. The value of one response header (ASCII case-insensitive; the first of repeated ones). 1 or -1.
  virtual std::int32_t GetResponseHeader(const WideChar* name, const WideChar** out) = 0;
  // 32. Returns the response body's length in bytes.
  virtual std::uint32_t GetResponseBodyLength() = 0;
  // 33. The status line and headers of the final answer, as received, CR LF separated. 1 or -1.
  virtual std::int32_t GetResponseHeadersText(const WideChar** out) = 0;
  // 34. The response body's raw bytes (null for an empty body) and their count. 1 or -1.
  virtual std::int32_t GetResponseBody(const unsigned char** data, std::uint32_t* length) = 0;
  // 35. The Content-Type of the answer. 1 or -1.
  virtual std::int32_t GetResponseContentType(const WideChar** out) = 0;
  // 36. The body as UTF-16, decoded by the Content-Type charset (UTF-8 when none is named). 1 or -1.
  virtual std::int32_t GetResponseText(const WideChar** out) = 0;
  // 37. Returns the result of the last send (1 or a negative HttpClientResult; 0 before a send).
  virtual std::int32_t GetLastResult() = 0;
  // 38. A one-line description of the last send's failure in plain words. 1, or -1 when it did not fail.
  virtual std::int32_t GetLastErrorText(const WideChar** out) = 0;
  // 39. Returns the HTTP status code of the answer (0 before a send).
  virtual std::uint32_t GetStatusCode() = 0;
  // 40. The reason phrase of the status line. 1, or -1 when the answer had none (HTTP/2 has none).
  virtual std::int32_t GetStatusText(const WideChar** out) = 0;
  // 41. The response value: the duration of the last exchange in microseconds. 1, or -1 for a null out.
  virtual std::int32_t GetResponseValue(std::uintptr_t* out) = 0;
  // 42. Destroys the object.
  virtual void Release() = 0;
};

// The revision GetInterfaceVersion reports for the slot layout above.
constexpr std::uint32_t kHttpClientInterfaceVersion = 1;

// The component's export: makes a new object per request; null when it cannot.
extern "C" typedef IHttpClient* (*CreateHttpClientFunction)();

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_HTTP_CLIENT_H
