// TransferProfile: what a pooled transfer handle was last configured with, apart from the per-request pointers.
#ifndef ZQHTTPCLIENT_TRANSFER_PROFILE_H
#define ZQHTTPCLIENT_TRANSFER_PROFILE_H

#include <string>
#include <string_view>

#include "zqhttpclient/component_settings.h"

namespace OAuthClient::Http {

// SSL_CERT_FILE and SSL_CERT_DIR as the environment holds them now ("" when unset). The views point into the
// environment and are used before anything can change it.
struct CaLocations {
  std::string_view file;
  std::string_view dir;
};
CaLocations CaLocationsOfEnvironment();

// A handle whose profile matches the next request keeps its options: only the URL, the body, the header list
// and the callback data are set again. Anything else (other settings, another method, a body where there was
// none, other CA locations in the environment) resets the handle and configures it from scratch.
struct TransferProfile {
  ComponentSettings settings;
  std::string method;
  bool hasBody = false;
  std::string caFile;  // CaLocations as they were read
  std::string caDir;

  // Compares in place, so that the common case (the same settings as last time) copies nothing. Without `ca` (a
  // plain HTTP request, which uses no CA) the CA locations are not compared.
  bool Matches(const ComponentSettings& otherSettings, std::string_view otherMethod, bool otherHasBody,
               const CaLocations* ca) const;
};

// The profile a request needs: its settings, method and body presence, and the CA locations of the environment.
TransferProfile ProfileFor(const ComponentSettings& settings, std::string_view method, bool hasBody,
                           const CaLocations& ca);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_TRANSFER_PROFILE_H
