// The transport-independent part of an exchange: which body goes out for a request.
#include "zqhttpclient/exchange.h"

namespace OAuthClient::Http {

std::optional<std::string_view> BodyToSend(const ExchangeRequest& request) {
  if (request.method == "HEAD") return std::nullopt;
  if (!request.body && (request.method == "POST" || request.method == "PUT" || request.method == "PATCH"))
    return std::string_view();
  return request.body;
}

}  // namespace OAuthClient::Http
