// WipeSecret: overwrites a buffer that held a secret (client credentials, a token) before it is freed or reused.
#ifndef OAUTH_TEXT_SECRET_WIPE_H
#define OAUTH_TEXT_SECRET_WIPE_H

#include <cstddef>

namespace OAuthClient {

// Sets every element of `buffer` (a string or a vector) to zero, then empties it; the capacity stays. The stores go
// through a volatile pointer so that they are not dropped as dead stores to memory about to be freed.
template <typename Buffer>
void WipeSecret(Buffer& buffer) {
  volatile auto* element = buffer.data();
  for (std::size_t i = 0; i < buffer.size(); ++i) element[i] = 0;
  buffer.clear();
}

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_SECRET_WIPE_H
