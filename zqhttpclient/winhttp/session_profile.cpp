// SessionProfile: what a WinHTTP session is opened with, made from an object's settings.
#include "zqhttpclient/winhttp/session_profile.h"

#include <winhttp.h>

#include "common/ascii.h"
#include "zqhttpclient/winhttp/wide_text.h"

namespace OAuthClient::Http {
namespace {

// The port libcurl assumes for a proxy named without one.
constexpr char kDefaultProxyPort[] = "1080";

DWORD ProtocolsFor(std::int32_t secureProtocol) {
  switch (secureProtocol) {
    case 3:
      return WINHTTP_FLAG_SECURE_PROTOCOL_TLS1;
    case 4:
      return WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1;
    case 5:
      return WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    case 6:
      return WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    default:
      return WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
  }
}

// Returns true when the authority ends in a port: "host:8080" or "[::1]:8080", not "[::1]".
bool HasPort(std::string_view authority) {
  const std::size_t colon = authority.rfind(':');
  return colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos;
}

// The bypass list in WinHTTP's form. libcurl's entries match the name and its subdomains; WinHTTP's match
// exactly, or by "*." wildcard, so each entry becomes both.
std::wstring WinHttpBypassList(std::string_view commaSeparated) {
  std::string out;
  std::size_t start = 0;
  while (start < commaSeparated.size()) {
    std::size_t end = commaSeparated.find(',', start);
    if (end == std::string_view::npos) end = commaSeparated.size();
    std::string_view entry = commaSeparated.substr(start, end - start);
    while (!entry.empty() && entry.front() == '.') entry.remove_prefix(1);
    if (!entry.empty()) {
      if (!out.empty()) out.push_back(';');
      out.append(entry).append(";*.").append(entry);
    }
    start = end + 1;
  }
  return Utf8ToWide(out);
}

bool BypassesEverything(std::string_view commaSeparated) {
  std::size_t start = 0;
  while (start < commaSeparated.size()) {
    std::size_t end = commaSeparated.find(',', start);
    if (end == std::string_view::npos) end = commaSeparated.size();
    if (commaSeparated.substr(start, end - start) == "*") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::variant<SessionProfile, ProxyRefusal> ProfileOf(const ComponentSettings& settings) {
  SessionProfile profile;
  profile.protocols = ProtocolsFor(settings.secureProtocol);
  profile.ignoreCertificateErrors = settings.ignoreCertificateErrors;
  if (settings.proxy == ComponentSettings::Proxy::kNone) return profile;

  // The URL was checked when it was set (IsValidProxyUrl): "host:port" or scheme://authority[/].
  std::string_view authority = settings.proxyUrl;
  if (const std::size_t separator = authority.find("://"); separator != std::string_view::npos) {
    const std::string scheme = ToLowerAscii(authority.substr(0, separator));
    if (scheme != "http") return ProxyRefusal{"WinHTTP cannot use a " + scheme + " proxy"};
    authority.remove_prefix(separator + 3);
  }
  authority = authority.substr(0, authority.find('/'));
  if (authority.find('@') != std::string_view::npos)
    return ProxyRefusal{"WinHTTP takes no user name in the proxy URL; set it as the proxy user"};

  if (settings.proxy == ComponentSettings::Proxy::kWithBypassList) {
    if (BypassesEverything(settings.proxyBypassList)) return profile;
    profile.bypassList = WinHttpBypassList(settings.proxyBypassList);
  }
  std::string proxy(authority);
  if (!HasPort(proxy)) proxy.append(":").append(kDefaultProxyPort);
  profile.proxy = Utf8ToWide(proxy);
  return profile;
}

}  // namespace OAuthClient::Http
