// ApplyTransportSettings: the one copy of a request's transport settings into the HTTP client object, used by the
// resource retriever and every grant flow, with the token and resource paths' differences as a named policy.
#ifndef OAUTH_HTTP_TRANSPORT_SETTINGS_COPY_H
#define OAUTH_HTTP_TRANSPORT_SETTINGS_COPY_H

#include <cstdint>
#include <optional>

#include "oauth/http/copied_text.h"
#include "oauth/http/proxy_choice.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

// When and how the proxy settings reach the HTTP client object.
enum class ProxyStep {
  // The first complete setting is chosen once, right after the flags (resource requests, the client credentials
  // and password grants).
  kChooseOnce,
  // Extension grants: the proxy with bypass list and the authenticated proxy are passed on as given right after the
  // flags, and a refusal by the component ends the request with the component's code; the usual choice follows
  // after the total timeout. Hosts of extension grants rely on the component checking their proxy settings.
  kPassOnThenChoose,
};

// What a secure protocol choice above 4 (no such TLS version) does.
enum class UnknownSecureProtocol {
  // The request is refused, so a token request never sends credentials over another protocol than the one asked for.
  kRefuse,
  // The request is sent with the default protocol (resource requests).
  kUseDefault,
};

// How one path copies the settings.
struct TransportPolicy {
  ProxyStep proxyStep;
  UnknownSecureProtocol unknownSecureProtocol;
};

inline constexpr TransportPolicy kResourceTransport{ProxyStep::kChooseOnce, UnknownSecureProtocol::kUseDefault};

// What ApplyTransportSettings did.
struct TransportCopy {
  enum class Outcome {
    kApplied,                // every setting was copied
    kProxySettingRefused,    // the component refused a proxy setting passed on as given; see componentCode
    kSecureProtocolRefused,  // the choice was above 4 under UnknownSecureProtocol::kRefuse; nothing after the
                             // receive timeout was copied
  };
  Outcome outcome;
  std::int32_t componentCode;  // the component's result with kProxySettingRefused, else 1
};

// Returns the component's code for the request's secure protocol choice (0 default, 1 to 4 TLS 1.0 to 1.3 become 0
// and 3 to 6); a choice above 4 gives nothing (kRefuse) or 0 (kUseDefault).
inline std::optional<std::int32_t> SecureProtocolCode(std::uint32_t choice, UnknownSecureProtocol policy) {
  if (choice > 4) return policy == UnknownSecureProtocol::kRefuse ? std::nullopt : std::optional<std::int32_t>(0);
  return choice == 0 ? 0 : static_cast<std::int32_t>(choice) + 2;
}

// Passes the proxy with bypass list, then the authenticated proxy, on as the request gives them, each as soon as
// its URL is there. Returns 1, or the first result of the component other than 1.
template <typename Request>
std::int32_t PassProxySettingsOn(Request& request, IHttpClient& client) {
  {
    CopiedText proxyUrl, bypassList;
    request.GetStringPair(proxyUrl.Out(), bypassList.Out());
    if (proxyUrl.IsPresent()) {
      const std::int32_t result = client.SetStringPair(proxyUrl.Get(), bypassList.Get());
      if (result != 1) return result;
    }
  }
  CopiedText proxyUrl, proxyUser, proxyPassword;
  request.GetStringTriple(proxyUrl.Out(), proxyUser.Out(), proxyPassword.Out());
  if (proxyUrl.IsPresent()) return client.SetStringTriple(proxyUrl.Get(), proxyUser.Get(), proxyPassword.Get());
  return 1;
}

// Copies the request's settings into `client` in the order the component has always been handed them: follow
// redirects, ignore certificate errors, proxy (as `policy` says), connect timeout, receive timeout, secure
// protocol, total timeout. Each setting is read from the request right before it is set. `Request` is
// ITokenRequest or IOAuthRequest; their boundary slots keep the letters of the interface (flag A = ignore
// certificate errors, flag B = follow redirects, value A / B / C = connect / receive / total timeout in ms).
template <typename Request>
TransportCopy ApplyTransportSettings(Request& request, IHttpClient& client, const TransportPolicy& policy) {
  const bool followRedirects = request.GetOptionFlagB() != 0;
  client.SetOptionFlagB(followRedirects ? 1 : 0);
  const bool ignoreCertificateErrors = request.GetOptionFlagA() != 0;
  client.SetOptionFlagA(ignoreCertificateErrors ? 1 : 0);
  if (policy.proxyStep == ProxyStep::kPassOnThenChoose) {
    const std::int32_t result = PassProxySettingsOn(request, client);
    if (result != 1) return {TransportCopy::Outcome::kProxySettingRefused, result};
  } else {
    ApplyProxyChoice(request, client);
  }
  const std::uint32_t connectTimeoutMs = request.GetOptionValueA();
  client.SetOptionValueA(connectTimeoutMs);
  const std::uint32_t receiveTimeoutMs = request.GetOptionValueB();
  client.SetOptionValueB(receiveTimeoutMs);
  const std::optional<std::int32_t> protocol =
      SecureProtocolCode(request.GetSecureProtocol(), policy.unknownSecureProtocol);
  if (!protocol) return {TransportCopy::Outcome::kSecureProtocolRefused, 1};
  client.SetSecureProtocol(*protocol);
  const std::uint32_t totalTimeoutMs = request.GetOptionValueC();
  client.SetOptionValueC(totalTimeoutMs);
  if (policy.proxyStep == ProxyStep::kPassOnThenChoose) ApplyProxyChoice(request, client);
  return {TransportCopy::Outcome::kApplied, 1};
}

}  // namespace OAuthClient

#endif  // OAUTH_HTTP_TRANSPORT_SETTINGS_COPY_H
