// ApplyTransportSettings: puts the transport options into a token request or a resource request; both
// interfaces carry the same settings under the same operation names.
#ifndef OAUTH_CLIENT_CLI_APPLY_TRANSPORT_SETTINGS_H
#define OAUTH_CLIENT_CLI_APPLY_TRANSPORT_SETTINGS_H

#include "invocation.h"
#include "library_text.h"

namespace OAuthClient {
namespace Cli {

// The bypass list sent with a proxy that has no --no-proxy list. The library passes a proxy on only together
// with a user or a non-empty bypass list, so a proxy alone goes with the reserved name "invalid" (RFC 6761),
// which no reachable host has: every request then goes through the proxy.
inline constexpr char kBypassNoHost[] = "invalid";

// Copies the options into `request` (ITokenRequest or IOAuthRequest). All texts are valid UTF-8 (checked when
// the command line was read).
template <typename Request>
void ApplyTransportSettings(const TransportOptions& options, Request* request) {
  request->SetOptionFlagA(options.insecure ? 1 : 0);
  request->SetOptionFlagB(options.follow ? 1 : 0);
  request->SetOptionValueA(options.connectTimeoutMs);
  request->SetOptionValueB(options.receiveTimeoutMs);
  request->SetOptionValueC(options.timeoutMs);
  request->SetSecureProtocol(options.secureProtocol);
  if (options.proxy.empty()) return;
  const WideString proxy = Widen(options.proxy);
  if (!options.proxyUser.empty()) {
    request->SetStringTriple(proxy.c_str(), Widen(options.proxyUser).c_str(), Widen(options.proxyPassword).c_str());
    return;
  }
  request->SetStringPair(proxy.c_str(), Widen(options.noProxy.empty() ? kBypassNoHost : options.noProxy).c_str());
}

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_APPLY_TRANSPORT_SETTINGS_H
