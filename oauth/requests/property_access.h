// SetProperty / GetProperty: the boundary form of a text property's setter and getter.
#ifndef OAUTH_REQUESTS_PROPERTY_ACCESS_H
#define OAUTH_REQUESTS_PROPERTY_ACCESS_H

#include <cstdint>

#include "oauth/text/string_property.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Stores `text` in `property` by the set-string rule. Returns 1 when it was replaced, -1 for a null or empty text
// (the old text stays).
inline std::int32_t SetProperty(StringProperty& property, const WideChar* text) { return property.Set(text) ? 1 : -1; }

// Writes the property's own text (null when unset) to *out; a null `out` is ignored.
inline void GetProperty(const StringProperty& property, const WideChar** out) {
  if (out != nullptr) *out = property.Get();
}

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_PROPERTY_ACCESS_H
