// BasicAuthorizationCache: the "Basic ..." header value of the last client identifier and secret.
#include "oauth/grants/basic_authorization_cache.h"

#include <optional>
#include <utility>

#include "oauth/grants/basic_authorization.h"

namespace OAuthClient {

namespace {

// Overwrites the text with zeros before it is reused or freed; volatile so the stores are not dropped as dead.
void Wipe(std::u16string& text) {
  volatile char16_t* unit = text.data();
  for (std::size_t i = 0; i < text.size(); ++i) unit[i] = 0;
  text.clear();
}

}  // namespace

BasicAuthorizationCache& BasicAuthorizationCache::Instance() {
  static BasicAuthorizationCache cache;
  return cache;
}

BasicAuthorizationCache::~BasicAuthorizationCache() { Clear(); }

void BasicAuthorizationCache::Clear() {
  valid_ = false;
  Wipe(clientId_);
  Wipe(clientSecret_);
  Wipe(headerValue_);
}

bool BasicAuthorizationCache::Store(std::u16string clientId, std::u16string_view clientSecret) {
  Clear();
  const std::optional<std::u16string> credentials = EncodeBasicCredentials(clientId, clientSecret);
  if (!credentials) return false;
  clientId_ = std::move(clientId);
  clientSecret_.assign(clientSecret);
  headerValue_.assign(u"Basic ").append(*credentials);
  valid_ = true;
  return true;
}

}  // namespace OAuthClient
