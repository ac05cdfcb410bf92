// Request framing: the header checks that keep the message's framing the component's.
#include "zqhttpclient/request_framing.h"

#include <string>

#include "oauthclient/http_client_codes.h"

namespace OAuthClient::Http {

std::int32_t CheckRequestFraming(const OutgoingHeaders& headers, std::string_view userAgent,
                                 std::optional<std::string_view> body) {
  if (userAgent.size() + headers.WireBytes() > kMaxRequestHeaderBytes) return kHttpHeaderTooLarge;
  if (headers.Find("Transfer-Encoding")) return kHttpBadHeader;
  if (const auto length = headers.Find("Content-Length")) {
    // Digits only: a list, a sign or blanks inside are read differently by different receivers.
    if (*length != std::to_string(body ? body->size() : 0)) return kHttpBadHeader;
  }
  return kHttpOk;
}

}  // namespace OAuthClient::Http
