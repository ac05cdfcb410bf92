// CrackedUrl: the parts of an http or https URL that WinHTTP connects to and sends, and how a redirect's
// Location resolves against it.
#include "zqhttpclient/winhttp/cracked_url.h"

#include <shlwapi.h>

#include <vector>

namespace OAuthClient::Http {
namespace {

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace

bool CrackedUrl::SameOrigin(const CrackedUrl& other) const {
  return secure == other.secure && port == other.port && EqualsIgnoringAsciiCase(host, other.host);
}

std::optional<CrackedUrl> CrackHttpUrl(const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  if (parts.dwHostNameLength == 0) return std::nullopt;
  CrackedUrl cracked;
  cracked.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  cracked.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  cracked.port = parts.nPort;
  cracked.target.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.dwExtraInfoLength > 0) cracked.target.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  // The fragment stays with the client.
  if (const std::size_t hash = cracked.target.find(L'#'); hash != std::wstring::npos) cracked.target.resize(hash);
  if (cracked.target.empty() || cracked.target.front() != L'/') cracked.target.insert(0, 1, L'/');
  return cracked;
}

std::optional<std::wstring> ResolveLocation(const std::wstring& base, const std::wstring& location) {
  // Windows' own resolver (shlwapi) rather than one of ours: it is what Windows programs resolve links with.
  std::vector<wchar_t> out(base.size() + location.size() + 64);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = static_cast<DWORD>(out.size());
    const HRESULT status = UrlCombineW(base.c_str(), location.c_str(), out.data(), &length, 0);
    if (SUCCEEDED(status)) return std::wstring(out.data(), length);
    if (status != E_POINTER) return std::nullopt;
    out.resize(length + 1);
  }
  return std::nullopt;
}

}  // namespace OAuthClient::Http
