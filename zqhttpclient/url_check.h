// Checks of the URLs a request and a proxy setting name, before anything is sent.
#ifndef ZQHTTPCLIENT_URL_CHECK_H
#define ZQHTTPCLIENT_URL_CHECK_H

#include <cstdint>
#include <string>

namespace OAuthClient::Http {

// Returns kHttpOk when `url` (UTF-8) is an absolute http:// or https:// URL with a host; kHttpBadUrl when it is
// empty, has no scheme, no host, spaces or control characters, or does not parse; kHttpUnsupportedScheme when
// it parses but names another scheme. Percent-encoding is the caller's: the URL goes out as given.
std::int32_t CheckRequestUrl(const std::string& url);

// Returns true when `url` is an acceptable proxy: "host:port" or a URL of the schemes http, https, socks4,
// socks4a, socks5, socks5h with a host (no path beyond "/").
bool IsValidProxyUrl(const std::string& url);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_URL_CHECK_H
