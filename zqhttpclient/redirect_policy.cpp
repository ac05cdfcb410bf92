// Redirect policy: whether a redirect is followed, and what the next request carries (method, body, credentials).
#include "zqhttpclient/redirect_policy.h"

#include "zqhttpclient/ascii.h"

namespace OAuthClient::Http {

std::optional<Origin> OriginOf(std::string_view url) {
  const std::size_t separator = url.find("://");
  if (separator == std::string_view::npos || separator == 0) return std::nullopt;
  Origin origin{ToLowerAscii(url.substr(0, separator)), {}, {}};
  std::string_view authority = url.substr(separator + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  // The port follows the last colon after the host; an IPv6 literal keeps its colons inside brackets.
  const std::size_t hostEnd = authority.empty() || authority.front() != '[' ? 0 : authority.find(']');
  if (hostEnd == std::string_view::npos) return std::nullopt;
  const std::size_t colon = authority.find(':', hostEnd);
  origin.host = ToLowerAscii(authority.substr(0, colon));
  if (origin.host.empty()) return std::nullopt;
  if (colon != std::string_view::npos) origin.port = std::string(authority.substr(colon + 1));
  if (origin.port.empty()) origin.port = origin.scheme == "https" ? "443" : origin.scheme == "http" ? "80" : "";
  return origin;
}

bool IsCredentialHeader(std::string_view name) {
  return EqualsIgnoringAsciiCase(name, "Authorization") || EqualsIgnoringAsciiCase(name, "Proxy-Authorization") ||
         EqualsIgnoringAsciiCase(name, "Cookie");
}

RedirectDecision DecideRedirect(const RedirectHop& current, std::size_t bodyBytes, std::uint32_t status,
                                std::string_view target) {
  RedirectDecision decision;
  const bool redirect = status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
  if (!redirect || target.empty()) return decision;
  const std::optional<Origin> to = OriginOf(target);
  if (!to || (to->scheme != "http" && to->scheme != "https")) {
    decision.action = RedirectAction::kUnsupportedScheme;
    return decision;
  }
  RedirectHop next{std::string(target), current.method, current.sendsBody, current.sendsCredentials};
  if ((status == 303 && current.method != "HEAD") || ((status == 301 || status == 302) && current.method == "POST")) {
    next.method = "GET";
    next.sendsBody = false;
  }
  if (!(OriginOf(current.url) == to)) {
    if (next.sendsBody && bodyBytes > 0) return decision;
    next.sendsCredentials = false;
  }
  decision.action = RedirectAction::kFollow;
  decision.next = std::move(next);
  return decision;
}

}  // namespace OAuthClient::Http
