// Checks of the URLs a request and a proxy setting name, before anything is sent.
#include "zqhttpclient/url_check.h"

#include "common/ascii.h"
#include "oauthclient/http_client_codes.h"
#include "zqhttpclient/url_parts.h"

namespace OAuthClient::Http {
namespace {

bool HasSpaceOrControl(const std::string& text) { return FindControlByte(text, 0x21) < text.size(); }

// Returns true for "http://" or "https://" (scheme letters in any case) followed by something that starts a host
// rather than a path, query or fragment: the URLs that need no parse of their own. Read in place, as nearly every
// request names such a URL.
bool IsPlainHttpUrl(std::string_view url) {
  constexpr std::string_view kHttp = "http";
  if (url.size() < 8 || !EqualsIgnoringAsciiCase(url.substr(0, kHttp.size()), kHttp)) return false;
  std::size_t at = kHttp.size();
  if (url[at] == 's' || url[at] == 'S') ++at;
  if (url.substr(at, 3) != "://" || at + 3 >= url.size()) return false;
  const char first = url[at + 3];
  return first != '/' && first != '?' && first != '#';
}

}  // namespace

std::int32_t CheckRequestUrl(const std::string& url) {
  if (url.empty() || HasSpaceOrControl(url)) return kHttpBadUrl;
  // The common case needs no parse of its own: the transport parses the URL once more when it sends, and a URL
  // that fails there (no host, bad port) still ends as kHttpBadUrl.
  if (IsPlainHttpUrl(url)) return kHttpOk;
  const UrlParts parsed = ParseUrlParts(url);
  if (!parsed.parsed || parsed.scheme.empty()) return kHttpBadUrl;
  if (parsed.scheme != "http" && parsed.scheme != "https") return kHttpUnsupportedScheme;
  return parsed.hasHost ? kHttpOk : kHttpBadUrl;
}

bool IsValidProxyUrl(const std::string& url) {
  if (url.empty() || HasSpaceOrControl(url)) return false;
  // A proxy without a scheme is an HTTP proxy, as libcurl and WinHTTP take it (not a guess from the host name's
  // prefix).
  const UrlParts parsed = ParseUrlParts(url.find("://") == std::string::npos ? "http://" + url : url);
  const std::string& scheme = parsed.scheme;
  return parsed.parsed && parsed.hasHost &&
         (scheme == "http" || scheme == "https" || scheme == "socks4" || scheme == "socks4a" || scheme == "socks5" ||
          scheme == "socks5h");
}

}  // namespace OAuthClient::Http
