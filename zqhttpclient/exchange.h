// PerformExchange: one HTTP request and its answer, as every transport (libcurl, WinHTTP) implements it.
#ifndef ZQHTTPCLIENT_EXCHANGE_H
#define ZQHTTPCLIENT_EXCHANGE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zqhttpclient/component_settings.h"
#include "zqhttpclient/outgoing_headers.h"
#include "zqhttpclient/response_capture.h"

namespace OAuthClient::Http {

// What to send. All texts are UTF-8; those it does not own must outlive the call. The URL is its own, so that the
// exchange can take it over for its first hop and, when no redirect was followed, hand it back as the effective
// URL without a copy.
struct ExchangeRequest {
  std::string_view method;               // an HTTP token, sent as given (case counts)
  std::string url;                       // already checked by CheckRequestUrl; handed to libcurl as it is
  std::optional<std::string_view> body;  // none: no body at all; a value (even empty): sent with Content-Length
  const OutgoingHeaders* headers = nullptr;
  const ComponentSettings* settings = nullptr;
};

// What came of it.
struct ExchangeResult {
  std::int32_t result = 0;       // kHttpOk or a negative HttpClientResult
  std::uint32_t status = 0;      // HTTP status of the last answer
  std::uint64_t durationUs = 0;  // from the start of the send to the end of the answer
  std::int32_t redirects = 0;
  std::string effectiveUrl;  // after redirects
  std::string errorText;     // one line, for failures
};

// Sends `request` and fills `capture` with what arrived. Never throws: an allocation failure inside becomes
// kHttpOutOfMemory.
//
// Method and body: "HEAD" asks for headers only (a body is not sent); "GET" without a body is a plain GET;
// with a body (or for "POST", "PUT" and "PATCH" without one, which then carry Content-Length: 0) the body goes
// out with the method as given. Redirects (when followed): a POST becomes a GET after 301, 302 and 303; other
// methods are kept; an Authorization header is not passed to another host.
//
// Headers sent besides the caller's: Host, "Accept: */*", "User-Agent: zqhttpclient/1.0" (or the one set),
// Content-Length for a body. No Content-Type and no "Expect: 100-continue" unless the caller sets those
// headers. No Accept-Encoding is sent, so bodies arrive as the server stores them.
// libcurl: exchange.cpp; WinHTTP: winhttp/exchange.cpp.
ExchangeResult PerformExchange(ExchangeRequest request, ResponseCapture* capture);

// Sets up the transport's process-wide state (libcurl's global init, the WinHTTP session registry) so that the
// first send does not pay for it. Thread-safe; later calls do nothing.
void PrepareTransport();

// The body that goes out for `method` and the caller's `body`: none for "HEAD"; the caller's; or an empty one for
// "POST", "PUT" and "PATCH" without one (a server may answer 411 Length Required to those without
// Content-Length). The second form reads both from `request`.
std::optional<std::string_view> BodyToSend(std::string_view method, std::optional<std::string_view> body);
std::optional<std::string_view> BodyToSend(const ExchangeRequest& request);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_EXCHANGE_H
