// The transport-independent part of an exchange: which body goes out for a request.
#include "zqhttpclient/exchange.h"

namespace OAuthClient::Http {

std::optional<std::string_view> BodyToSend(std::string_view method, std::optional<std::string_view> body) {
  if (method == "HEAD") return std::nullopt;
  if (!body && (method == "POST" || method == "PUT" || method == "PATCH")) return std::string_view();
  return body;
}

std::optional<std::string_view> BodyToSend(const ExchangeRequest& request) {
  return BodyToSend(request.method, request.body);
}

}  // namespace OAuthClient::Http
