// BasicAuthorizationCache: the "Basic ..." header value of the last client identifier and secret of one client
// object, kept so that a host that asks for tokens again and again with the same credentials does not encode them
// each time.
#ifndef OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H
#define OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H

#include <string>
#include <string_view>

#include "oauth/text/same_text.h"

namespace OAuthClient {

// One entry: the pair it was made from and the header value EncodeBasicCredentials gives for it, "Basic "
// included. The value is the function's own output, so the bytes sent are exactly those of a fresh encoding; the
// entry changes only when another pair is asked for. Each client object owns one (the library shares nothing
// between client objects and takes no locks; a client serves one call at a time), so the secret outlives the
// request it came from only until another pair is used or the client is released. Every text of the entry, and
// every buffer the encoding made, is overwritten with zeros before it is freed or reused: a dropped secret does
// not linger in freed memory.
class BasicAuthorizationCache {
 public:
  BasicAuthorizationCache() = default;
  BasicAuthorizationCache(const BasicAuthorizationCache&) = delete;
  BasicAuthorizationCache& operator=(const BasicAuthorizationCache&) = delete;

  // Whether the entry was made from this identifier / this secret.
  bool HoldsClientId(std::u16string_view clientId) const { return valid_ && SameText(clientId_, clientId); }
  bool HoldsSecret(std::u16string_view clientSecret) const { return valid_ && SameText(clientSecret_, clientSecret); }

  // Encodes the pair and keeps it; false (the entry emptied) when it does not encode.
  bool Store(std::u16string clientId, std::u16string_view clientSecret);

  // The identifier the entry was made from.
  const std::u16string& ClientId() const { return clientId_; }

  // After HoldsClientId and HoldsSecret or Store: the zero-terminated header value.
  const char16_t* HeaderValue() const { return headerValue_.c_str(); }

  ~BasicAuthorizationCache();

 private:
  void Clear();

  bool valid_ = false;
  std::u16string clientId_;
  std::u16string clientSecret_;
  std::u16string headerValue_;
};

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_BASIC_AUTHORIZATION_CACHE_H
