// ParseUrlParts on libcurl's URL parser.
#include "zqhttpclient/url_parts.h"

#include <curl/curl.h>

#include "zqhttpclient/ascii.h"
#include "zqhttpclient/curl_handles.h"

namespace OAuthClient::Http {

UrlParts ParseUrlParts(const std::string& url) {
  UrlParts result;
  UrlHandle handle(curl_url());
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return result;
  result.parsed = true;
  char* scheme = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK && scheme != nullptr) {
    CurlString owner(scheme);
    result.scheme = ToLowerAscii(scheme);
  }
  char* host = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK && host != nullptr) {
    CurlString owner(host);
    result.hasHost = host[0] != '\0';
  }
  return result;
}

}  // namespace OAuthClient::Http
