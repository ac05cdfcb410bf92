// BasicAuthorizationCache: the "Basic ..." header value of the last client identifier and secret, kept so that a
// host that asks for tokens again and again with the same credentials does not encode them each time.
#ifndef OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H
#define OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H

#include <mutex>
#include <string>
#include <string_view>

#include "oauth/text/same_text.h"

namespace OAuthClient {

// One entry: the pair it was made from and the header value EncodeBasicCredentials gives for it, "Basic "
// included. The value is the function's own output, so the bytes sent are exactly those of a fresh encoding; the
// entry changes only when another pair is asked for. The secret thus outlives the request it came from (until
// another pair is used, or the library is unloaded), so every text of the entry, and every buffer the encoding
// made, is overwritten with zeros before it is freed or reused: a dropped secret does not linger in freed memory.
// Thread-safe: callers hold Lock() while they compare and use the entry.
class BasicAuthorizationCache {
 public:
  static BasicAuthorizationCache& Instance();

  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

  // With the lock held: whether the entry was made from this identifier / this secret.
  bool HoldsClientId(std::u16string_view clientId) const { return valid_ && SameText(clientId_, clientId); }
  bool HoldsSecret(std::u16string_view clientSecret) const { return valid_ && SameText(clientSecret_, clientSecret); }

  // With the lock held: encodes the pair and keeps it; false (the entry emptied) when it does not encode.
  bool Store(std::u16string clientId, std::u16string_view clientSecret);

  // With the lock held: the identifier the entry was made from.
  const std::u16string& ClientId() const { return clientId_; }

  // With the lock held, after HoldsClientId and HoldsSecret or Store: the zero-terminated header value.
  const char16_t* HeaderValue() const { return headerValue_.c_str(); }

  ~BasicAuthorizationCache();

 private:
  BasicAuthorizationCache() = default;
  void Clear();

  std::mutex mutex_;
  bool valid_ = false;
  std::u16string clientId_;
  std::u16string clientSecret_;
  std::u16string headerValue_;
};

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H
