// ComponentSettings: the settings of one HTTP client object that shape how its request travels.
#ifndef ZQHTTPCLIENT_COMPONENT_SETTINGS_H
#define ZQHTTPCLIENT_COMPONENT_SETTINGS_H

#include <cstdint>
#include <string>

namespace OAuthClient::Http {

// Values of 0 mean "the default" for the timeouts and the size cap; the Effective* functions resolve them.
struct ComponentSettings {
  static constexpr std::uint32_t kDefaultConnectTimeoutMs = 30000;      // 30 s
  static constexpr std::uint32_t kDefaultReceiveTimeoutMs = 60000;      // 60 s
  static constexpr std::uint32_t kDefaultExchangeTimeoutMs = 300000;    // 5 min
  static constexpr std::uint32_t kDefaultMaxResponseBytes = 64u << 20;  // 64 MiB
  static constexpr long kMaxRedirects = 10;
  static constexpr char kDefaultUserAgent[] = "zqhttpclient/1.0";

  enum class Proxy { kNone, kWithCredentials, kWithBypassList };

  bool ignoreCertificateErrors = false;  // flag A
  bool followRedirects = false;          // flag B
  std::int32_t secureProtocol = 0;       // 0, 3, 4, 5, 6
  std::uint32_t connectTimeoutMs = 0;    // value A
  std::uint32_t receiveTimeoutMs = 0;    // value B
  std::uint32_t exchangeTimeoutMs = 0;   // value C
  std::uint32_t maxResponseBytes = 0;
  std::string userAgent;  // empty: the component's own
  Proxy proxy = Proxy::kNone;
  std::string proxyUrl;  // UTF-8, set with kWithCredentials / kWithBypassList
  std::string proxyUser;
  std::string proxyPassword;
  std::string proxyBypassList;  // comma-separated, as libcurl's NOPROXY takes it (WinHTTP: translated)

  std::uint32_t EffectiveConnectTimeoutMs() const { return Or(connectTimeoutMs, kDefaultConnectTimeoutMs); }
  std::uint32_t EffectiveReceiveTimeoutMs() const { return Or(receiveTimeoutMs, kDefaultReceiveTimeoutMs); }
  std::uint32_t EffectiveExchangeTimeoutMs() const { return Or(exchangeTimeoutMs, kDefaultExchangeTimeoutMs); }
  std::uint32_t EffectiveMaxResponseBytes() const { return Or(maxResponseBytes, kDefaultMaxResponseBytes); }
  const char* EffectiveUserAgent() const { return userAgent.empty() ? kDefaultUserAgent : userAgent.c_str(); }

 private:
  static std::uint32_t Or(std::uint32_t value, std::uint32_t fallback) { return value != 0 ? value : fallback; }
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_COMPONENT_SETTINGS_H
