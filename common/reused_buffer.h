// EmptyForReuse: empties a string whose storage is kept for the next text written into it.
#ifndef OAUTHCLIENT_COMMON_REUSED_BUFFER_H
#define OAUTHCLIENT_COMMON_REUSED_BUFFER_H

#include <algorithm>
#include <cstddef>
#include <string>

namespace OAuthClient {

// Empties `text`. Storage larger than `keepBytes` is freed, as freeing always did; smaller storage is kept, and
// with `wipe` its units are overwritten with zeros first, for storage that outlives the object it served (a
// recycled one, where a header value or an answer could be a secret). The write cannot be left out by the
// compiler, as the storage stays in use.
template <typename Unit>
void EmptyForReuse(std::basic_string<Unit>& text, bool wipe, std::size_t keepBytes) {
  if (text.capacity() * sizeof(Unit) > keepBytes) {
    std::basic_string<Unit>().swap(text);
    return;
  }
  if (wipe) std::fill(text.begin(), text.end(), Unit(0));
  text.clear();
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_REUSED_BUFFER_H
