// StringProperty: a text property under the set-string rule shared by every object of the library.
#ifndef OAUTH_TEXT_STRING_PROPERTY_H
#define OAUTH_TEXT_STRING_PROPERTY_H

#include <string>
#include <string_view>

#include "oauth/text/boundary_text.h"

namespace OAuthClient {

// Holds a private copy of a text that is never empty: storing a null or empty text changes nothing (result false),
// storing any other text replaces the copy. Get() hands out the property's own buffer, valid until the next
// successful Set, Clear or destruction; null when unset.
class StringProperty {
 public:
  // Stores a copy of `text` by the set-string rule. Returns false (and keeps the old text) for null or empty.
  bool Set(const WideChar* text) { return Set(ViewOf(text)); }
  bool Set(std::u16string_view text) {
    if (text.empty()) return false;
    value_.assign(text);
    return true;
  }
  // Returns the text, or null when unset.
  const WideChar* Get() const { return value_.empty() ? nullptr : AsWide(value_.c_str()); }
  // Returns the text as a view (empty when unset).
  std::u16string_view View() const { return value_; }
  // Returns true when a text is stored.
  bool IsSet() const { return !value_.empty(); }
  // Drops the text (used for caches, which the set-string rule lets the object itself reset).
  void Clear() {
    // An empty text was never stored or was dropped already, its buffer with it. Caches are cleared on every
    // request, most of them empty, and shrink_to_fit is a call into the string library even then.
    if (value_.empty()) return;
    value_.clear();
    value_.shrink_to_fit();
  }

 private:
  std::u16string value_;
};

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_STRING_PROPERTY_H
