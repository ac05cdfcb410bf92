// ParseUrlParts on WinHTTP's URL parser (WinHttpCrackUrl).
#include "zqhttpclient/url_parts.h"

#include <windows.h>
#include <winhttp.h>

#include "common/ascii.h"
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

// WinHttpCrackUrl takes any text up to the port or path as the host; the checks want what a request can reach:
// a name or IPv4 address of letters, digits, '-', '.', '_' and '%'-escapes, or an IPv6 literal in brackets.
bool IsPlausibleHost(std::wstring_view host) {
  if (host.size() >= 2 && host.front() == L'[' && host.back() == L']') host = host.substr(1, host.size() - 2);
  const bool literal = host.find(L':') != std::wstring_view::npos;
  for (wchar_t c : host) {
    const bool alnum = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
    if (!alnum && c != L'-' && c != L'.' && c != L'_' && c != L'%' && !(literal && c == L':') && c < 0x80) return false;
  }
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
  const std::wstring_view host(parts.lpszHostName, parts.dwHostNameLength);
  if (!IsPlausibleHost(host)) return UrlParts{};
  result.hasHost = !host.empty();
  return result;
}

}  // namespace OAuthClient::Http
