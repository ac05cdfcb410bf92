// TransportSettings: the HTTP transport options that both request objects store.
#include "oauth/requests/transport_settings.h"

#include "oauth/requests/caller_copy.h"

namespace OAuthClient {

void TransportSettings::SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) {
  stringTriple_[0].Set(a);
  stringTriple_[1].Set(b);
  stringTriple_[2].Set(c);
}

void TransportSettings::SetStringPair(const WideChar* a, const WideChar* b) {
  stringPair_[0].Set(a);
  stringPair_[1].Set(b);
}

void TransportSettings::GetStringTriple(WideChar** a, WideChar** b, WideChar** c) const {
  CopyToCaller(stringTriple_[0], a);
  CopyToCaller(stringTriple_[1], b);
  CopyToCaller(stringTriple_[2], c);
}

void TransportSettings::GetStringPair(WideChar** a, WideChar** b) const {
  CopyToCaller(stringPair_[0], a);
  CopyToCaller(stringPair_[1], b);
}

}  // namespace OAuthClient
