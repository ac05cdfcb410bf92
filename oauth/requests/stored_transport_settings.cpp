// StoredTransportSettings: the HTTP transport settings that both request objects keep for the HTTP client component.
#include "oauth/requests/stored_transport_settings.h"

#include "oauth/requests/caller_copy.h"

namespace OAuthClient {

void StoredTransportSettings::SetAuthenticatedProxy(const WideChar* url, const WideChar* user,
                                                    const WideChar* password) {
  proxyUrl_.Set(url);
  proxyUser_.Set(user);
  proxyPassword_.Set(password);
}

void StoredTransportSettings::SetProxyWithBypassList(const WideChar* url, const WideChar* bypassList) {
  bypassProxyUrl_.Set(url);
  bypassList_.Set(bypassList);
}

void StoredTransportSettings::CopyAuthenticatedProxy(WideChar** url, WideChar** user, WideChar** password) const {
  CopyToCaller(proxyUrl_, url);
  CopyToCaller(proxyUser_, user);
  CopyToCaller(proxyPassword_, password);
}

void StoredTransportSettings::CopyProxyWithBypassList(WideChar** url, WideChar** bypassList) const {
  CopyToCaller(bypassProxyUrl_, url);
  CopyToCaller(bypassList_, bypassList);
}

}  // namespace OAuthClient
