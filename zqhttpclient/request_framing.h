// Request framing: the header checks that keep the message's framing the component's.
#ifndef ZQHTTPCLIENT_REQUEST_FRAMING_H
#define ZQHTTPCLIENT_REQUEST_FRAMING_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "zqhttpclient/request_headers.h"

namespace OAuthClient::Http {

// The most bytes the caller's header lines and user agent may take together. Servers refuse far less (8 to 16 KiB
// per line is common); the bound keeps a runaway header from being built and sent at all.
inline constexpr std::size_t kMaxRequestHeaderBytes = 256 * 1024;

// Checks the caller's headers against the body that goes out (`body`, BodyToSend's, none for no body), before
// anything is sent.
// The header text is the caller's, but the message's framing is the component's: a Content-Length that is not
// the body's length (0 without a body), or any Transfer-Encoding, would let a header decide where this request
// ends and the next begins (request smuggling). Returns kHttpOk, kHttpBadHeader for such a header, or
// kHttpHeaderTooLarge when the headers and `userAgent` exceed kMaxRequestHeaderBytes.
std::int32_t CheckRequestFraming(const RequestHeaders& headers, std::string_view userAgent,
                                 std::optional<std::string_view> body);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_REQUEST_FRAMING_H
