// ParseUrlParts on WinHTTP's URL parser (WinHttpCrackUrl).
#include "zqhttpclient/url_parts.h"

#include <windows.h>
#include <winhttp.h>

#include "zqhttpclient/ascii.h"
#include "zqhttpclient/winhttp/wide_text.h"

namespace OAuthClient::Http {
namespace {

// scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." )  (RFC 3986 section 3.1)
bool IsScheme(std::string_view text) {
  const auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (text.empty() || !alpha(text.front())) return false;
  for (char c : text)
    if (!alpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  return true;
}

}  // namespace

UrlParts ParseUrlParts(const std::string& url) {
  UrlParts result;
  const std::size_t separator = url.find("://");
  if (separator == std::string::npos || !IsScheme(std::string_view(url).substr(0, separator))) return result;
  // WinHttpCrackUrl takes http and https only; the authority of another scheme (a socks5 proxy, an ftp
  // redirect) is read as that of an http URL, which has the same syntax.
  const std::wstring asHttp = L"http" + Utf8ToWide(std::string_view(url).substr(separator));
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(asHttp.c_str(), static_cast<DWORD>(asHttp.size()), 0, &parts)) return result;
  result.parsed = true;
  result.scheme = ToLowerAscii(std::string_view(url).substr(0, separator));
  result.hasHost = parts.dwHostNameLength > 0;
  return result;
}

}  // namespace OAuthClient::Http
