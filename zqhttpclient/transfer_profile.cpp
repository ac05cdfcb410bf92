// TransferProfile: what a pooled transfer handle was last configured with, apart from the per-request pointers.
#include "zqhttpclient/transfer_profile.h"

#include <cstdlib>
#include <tuple>

namespace OAuthClient::Http {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

auto Fields(const TransportSettings& s) {
  return std::tie(s.ignoreCertificateErrors, s.followRedirects, s.secureProtocol, s.connectTimeoutMs,
                  s.receiveTimeoutMs, s.exchangeTimeoutMs, s.maxResponseBytes, s.userAgent, s.proxy, s.proxyUrl,
                  s.proxyUser, s.proxyPassword, s.proxyBypassList);
}

}  // namespace

bool TransferProfile::operator==(const TransferProfile& other) const {
  return hasBody == other.hasBody && method == other.method && Fields(settings) == Fields(other.settings) &&
         caFile == other.caFile && caDir == other.caDir;
}

TransferProfile ProfileFor(const TransportSettings& settings, std::string_view method, bool hasBody) {
  TransferProfile profile;
  profile.settings = settings;
  profile.method = method;
  profile.hasBody = hasBody;
  profile.caFile = Environment("SSL_CERT_FILE");
  profile.caDir = Environment("SSL_CERT_DIR");
  return profile;
}

}  // namespace OAuthClient::Http
