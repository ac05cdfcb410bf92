// CompactText: a large text property kept in one byte per unit while every unit fits in a byte, widened to UTF-16
// only when it is asked for.
#ifndef OAUTH_RESPONSES_COMPACT_TEXT_H
#define OAUTH_RESPONSES_COMPACT_TEXT_H

#include <mutex>
#include <string>
#include <string_view>

#include "oauth/text/boundary_text.h"

namespace OAuthClient {

// Follows StringProperty's set-string rule (a null or empty text is never stored) and hands out the same UTF-16
// text, but a large text (64 Ki units or more) whose units are all below U+0100 (ASCII and Latin-1 answers) is
// copied at one byte per unit: a response copies the component's text while the component still holds the body and its
// own UTF-16 form, and halving this copy lowers the peak of a large answer by its size. Get() widens the bytes on its
// first call, once even when threads race (the bytes are freed then), and hands out that buffer from then on.
class CompactText {
 public:
  // Stores a copy of `text` by the set-string rule. Returns false (and keeps the old text) for null or empty.
  // Not for use once Get() has been called.
  bool Set(std::u16string_view text);
  // Returns the text, or null when unset.
  const WideChar* Get() const;
  // Returns true when a text is stored.
  bool IsSet() const { return set_; }
  // Returns to the unset state, overwriting the text and keeping its storage when it is below the compact size
  // (see EmptyForReuse). Not for use while another thread may call Get().
  void Clear();

 private:
  bool set_ = false;
  mutable std::string narrow_;  // one byte per unit, while not widened
  mutable std::u16string wide_;
  mutable std::once_flag widened_;
};

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_COMPACT_TEXT_H
