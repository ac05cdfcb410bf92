// TransferProfile: what a pooled transfer handle was last configured with, apart from the per-request pointers.
#include "zqhttpclient/transfer_profile.h"

#include <cstdlib>
#include <tuple>

namespace OAuthClient::Http {
namespace {

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string_view(value) : std::string_view();
}

auto Fields(const ComponentSettings& s) {
  return std::tie(s.ignoreCertificateErrors, s.followRedirects, s.secureProtocol, s.connectTimeoutMs,
                  s.receiveTimeoutMs, s.exchangeTimeoutMs, s.maxResponseBytes, s.userAgent, s.proxy, s.proxyUrl,
                  s.proxyUser, s.proxyPassword, s.proxyBypassList);
}

}  // namespace

CaLocations CaLocationsOfEnvironment() { return {Environment("SSL_CERT_FILE"), Environment("SSL_CERT_DIR")}; }

bool TransferProfile::Matches(const ComponentSettings& otherSettings, std::string_view otherMethod, bool otherHasBody,
                              const CaLocations* ca) const {
  return hasBody == otherHasBody && method == otherMethod && Fields(settings) == Fields(otherSettings) &&
         (ca == nullptr || (caFile == ca->file && caDir == ca->dir));
}

TransferProfile ProfileFor(const ComponentSettings& settings, std::string_view method, bool hasBody,
                           const CaLocations& ca) {
  TransferProfile profile;
  profile.settings = settings;
  profile.method = method;
  profile.hasBody = hasBody;
  profile.caFile = ca.file;
  profile.caDir = ca.dir;
  return profile;
}

}  // namespace OAuthClient::Http
