// BasicAuthorizationCache: the "Basic ..." header value of the last client identifier and secret of one client.
#include "oauth/grants/basic_authorization_cache.h"

#include <optional>
#include <string_view>
#include <utility>

#include "oauth/grants/basic_authorization.h"
#include "oauth/text/secret_wipe.h"

namespace OAuthClient {

BasicAuthorizationCache::~BasicAuthorizationCache() { Clear(); }

void BasicAuthorizationCache::Clear() {
  valid_ = false;
  WipeSecret(clientId_);
  WipeSecret(clientSecret_);
  WipeSecret(headerValue_);
}

bool BasicAuthorizationCache::Store(std::u16string clientId, std::u16string_view clientSecret) {
  Clear();
  std::optional<std::u16string> credentials = EncodeBasicCredentials(clientId, clientSecret);
  if (!credentials) return false;
  clientId_ = std::move(clientId);
  clientSecret_.assign(clientSecret);
  constexpr std::u16string_view kScheme = u"Basic ";
  headerValue_.reserve(kScheme.size() + credentials->size());  // one buffer: no reallocation leaves a copy behind
  headerValue_.assign(kScheme).append(*credentials);
  WipeSecret(*credentials);
  valid_ = true;
  return true;
}

}  // namespace OAuthClient
