// CrackedUrl: the parts of an http or https URL that WinHTTP connects to and sends, and how a redirect's
// Location resolves against it.
#ifndef ZQHTTPCLIENT_WINHTTP_CRACKED_URL_H
#define ZQHTTPCLIENT_WINHTTP_CRACKED_URL_H

#include <windows.h>
#include <winhttp.h>

#include <optional>
#include <string>

namespace OAuthClient::Http {

struct CrackedUrl {
  bool secure = false;     // https
  std::wstring host;       // as WinHttpConnect takes it
  INTERNET_PORT port = 0;  // the scheme's default when the URL names none
  std::wstring target;     // path and query as given, without the fragment; "/" when the URL has no path
};

// Cracks an absolute http or https URL. None for another scheme, no host, or a URL WinHTTP cannot read.
std::optional<CrackedUrl> CrackHttpUrl(const std::wstring& url);

// Resolves a redirect's Location (absolute, or relative to `base`, RFC 3986 section 5) to an absolute URL.
// None when the two cannot be combined.
std::optional<std::wstring> ResolveLocation(const std::wstring& base, const std::wstring& location);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_CRACKED_URL_H
