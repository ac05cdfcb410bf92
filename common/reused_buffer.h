// EmptyForReuse: empties a string whose storage is kept for the next text written into it.
#ifndef OAUTHCLIENT_COMMON_REUSED_BUFFER_H
#define OAUTHCLIENT_COMMON_REUSED_BUFFER_H

#include <algorithm>
#include <cstddef>
#include <string>

namespace OAuthClient {

// Empties `text`, overwriting the units it holds with zeros first: its storage is kept for the next text (up to
// `keepBytes`; larger storage is freed, as freeing always did) and may outlive the object it served, as a recycled
// object's does, where a header value, a URL or an answer could be a secret. The write cannot be left out by the
// compiler, as the storage stays in use. Only the units up to the end are overwritten, not the whole storage (a
// pass that would cost more than the rest of the reuse): a text kept this way is emptied only through here, and
// where it is shortened otherwise the dropped units are overwritten too (ShortenWiping), so beyond its end its
// storage holds zeros or the rest of its own current text's earlier, longer form.
template <typename Unit>
void EmptyForReuse(std::basic_string<Unit>& text, std::size_t keepBytes) {
  if (text.capacity() * sizeof(Unit) > keepBytes) {
    std::basic_string<Unit>().swap(text);
    return;
  }
  std::fill(text.begin(), text.end(), Unit(0));
  text.clear();
}

// Shortens `text` to `size` units, overwriting the units it drops with zeros (see EmptyForReuse).
template <typename Unit>
void ShortenWiping(std::basic_string<Unit>& text, std::size_t size) {
  if (size >= text.size()) return;
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(size), text.end(), Unit(0));
  text.resize(size);
}

// Overwrites with zeros the units a change that shortened `text` from `before` units left beyond its end.
template <typename Unit>
void WipeBeyondEnd(std::basic_string<Unit>& text, std::size_t before) {
  const std::size_t size = text.size();
  if (before <= size) return;
  text.resize(before);  // the added units are zeros, written over what was there
  text.resize(size);
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_REUSED_BUFFER_H
