// UrlParts: the scheme and host presence of an absolute URL, as the transport's own URL parser reads them.
#ifndef ZQHTTPCLIENT_URL_PARTS_H
#define ZQHTTPCLIENT_URL_PARTS_H

#include <string>

namespace OAuthClient::Http {

struct UrlParts {
  bool parsed = false;   // the URL is "scheme://authority..." and the parser took it
  std::string scheme;    // lower-cased; any scheme, not only the ones the component sends to
  bool hasHost = false;  // the authority names a non-empty host
};

// Parses `url` (UTF-8) with the transport's parser, so that what the checks accept is what the transport can send.
// libcurl: url_parts.cpp (curl_url); WinHTTP: winhttp/url_parts.cpp (WinHttpCrackUrl).
UrlParts ParseUrlParts(const std::string& url);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_URL_PARTS_H
