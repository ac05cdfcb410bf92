// StoredTransportSettings: the HTTP transport settings that both request objects keep for the HTTP client component.
#ifndef OAUTH_REQUESTS_STORED_TRANSPORT_SETTINGS_H
#define OAUTH_REQUESTS_STORED_TRANSPORT_SETTINGS_H

#include <cstdint>

#include "oauth/text/string_property.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Stores every setting exactly as the host gives it: no range check, any byte for a flag and any 32-bit number
// for a value. What the settings mean, and the refusal of secure protocol values above 4 for token requests, is
// decided where they are copied into the HTTP client object (ApplyTransportSettings). A new object has both flags
// and every number 0 and every text unset. The request objects' boundary slots map onto these: flag A = ignore
// certificate errors, flag B = follow redirects, value A / B / C = connect / receive / total timeout, the string
// triple = authenticated proxy, the string pair = proxy with bypass list.
class StoredTransportSettings {
 public:
  // Stores the byte given for "ignore server certificate errors" (on when not 0).
  void SetIgnoreCertificateErrors(Bool8 value) { ignoreCertificateErrors_ = value; }
  std::uint32_t IgnoreCertificateErrors() const { return ignoreCertificateErrors_; }
  // Stores the byte given for "follow redirects" (on when not 0).
  void SetFollowRedirects(Bool8 value) { followRedirects_ = value; }
  std::uint32_t FollowRedirects() const { return followRedirects_; }

  // The timeouts, in milliseconds: connecting, each receive, and the whole exchange.
  void SetConnectTimeout(std::uint32_t ms) { connectTimeoutMs_ = ms; }
  std::uint32_t ConnectTimeout() const { return connectTimeoutMs_; }
  void SetReceiveTimeout(std::uint32_t ms) { receiveTimeoutMs_ = ms; }
  std::uint32_t ReceiveTimeout() const { return receiveTimeoutMs_; }
  void SetTotalTimeout(std::uint32_t ms) { totalTimeoutMs_ = ms; }
  std::uint32_t TotalTimeout() const { return totalTimeoutMs_; }

  // The secure protocol choice (0 default, 1 to 4 TLS 1.0 to 1.3; other values are stored too).
  void SetSecureProtocol(std::uint32_t value) { secureProtocol_ = value; }
  std::uint32_t SecureProtocol() const { return secureProtocol_; }

  // Stores the authenticated proxy's URL, user and password by the set-string rule, each independently: a null or
  // empty element keeps its old text, the others are still replaced.
  void SetAuthenticatedProxy(const WideChar* url, const WideChar* user, const WideChar* password);
  // Stores the proxy with bypass list (URL, list) by the set-string rule, each independently.
  void SetProxyWithBypassList(const WideChar* url, const WideChar* bypassList);
  // Hands out caller-owned copies of the authenticated proxy's texts (see CopyToCaller); an unset element leaves
  // its out as it was.
  void CopyAuthenticatedProxy(WideChar** url, WideChar** user, WideChar** password) const;
  // Hands out caller-owned copies of the proxy with bypass list (see CopyToCaller).
  void CopyProxyWithBypassList(WideChar** url, WideChar** bypassList) const;

 private:
  std::uint32_t ignoreCertificateErrors_ = 0;
  std::uint32_t followRedirects_ = 0;
  std::uint32_t connectTimeoutMs_ = 0;
  std::uint32_t receiveTimeoutMs_ = 0;
  std::uint32_t totalTimeoutMs_ = 0;
  std::uint32_t secureProtocol_ = 0;
  StringProperty proxyUrl_;
  StringProperty proxyUser_;
  StringProperty proxyPassword_;
  StringProperty bypassProxyUrl_;
  StringProperty bypassList_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_STORED_TRANSPORT_SETTINGS_H
