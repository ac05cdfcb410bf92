// TransferProfile: what a pooled transfer handle was last configured with, apart from the per-request pointers.
#ifndef ZQHTTPCLIENT_TRANSFER_PROFILE_H
#define ZQHTTPCLIENT_TRANSFER_PROFILE_H

#include <string>
#include <string_view>

#include "zqhttpclient/transport_settings.h"

namespace OAuthClient::Http {

// A handle whose profile equals the next request's keeps its options: only the URL, the body, the header list
// and the callback data are set again. Anything else (other settings, another method, a body where there was
// none, other CA locations in the environment) resets the handle and configures it from scratch.
struct TransferProfile {
  TransportSettings settings;
  std::string method;
  bool hasBody = false;
  std::string caFile;  // SSL_CERT_FILE and SSL_CERT_DIR as they were read ("" when unset)
  std::string caDir;

  bool operator==(const TransferProfile& other) const;
  bool operator!=(const TransferProfile& other) const { return !(*this == other); }
};

// The profile a request needs: its settings, method and body presence, and the CA locations of the environment.
TransferProfile ProfileFor(const TransportSettings& settings, std::string_view method, bool hasBody);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_TRANSFER_PROFILE_H
