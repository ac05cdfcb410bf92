// ParseTokenJson: the small scanner that picks the members of a token endpoint's JSON reply out of its text.
#include "oauth/responses/token_json.h"

#include <algorithm>
#include <cstddef>

#include "common/utf16_find.h"

namespace OAuthClient {

namespace {

constexpr char16_t kQuote = u'"';

// One position walking through the reply text. Callers check AtEnd() before every Current(), so a truncated reply
// is never read past its end.
class JsonCursor {
 public:
  explicit JsonCursor(std::u16string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char16_t Current() const { return text_[pos_]; }
  void Advance() { ++pos_; }

  // Moves to the next `wanted` unit at or after the current position; false when the text ends first.
  bool SkipTo(char16_t wanted) {
    pos_ = std::min(FindUtf16Unit(text_, wanted, pos_), text_.size());
    return !AtEnd();
  }

  // Collects the units from the current position up to (not including) the next `stop`; stays on that unit.
  // False when the text ends first.
  bool CollectUntil(char16_t stop, std::u16string_view* out) {
    std::size_t start = pos_;
    if (!SkipTo(stop)) return false;
    *out = text_.substr(start, pos_ - start);
    return true;
  }

  // Collects a bare value up to the next "," or "}"; stays on that unit. False when the text ends first.
  bool CollectBareValue(std::u16string_view* out) {
    std::size_t start = pos_;
    while (!AtEnd() && Current() != u',' && Current() != u'}') Advance();
    if (AtEnd()) return false;
    *out = text_.substr(start, pos_ - start);
    return true;
  }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

enum class SeekResult { kFoundQuote, kEndOfObject };

// Skips whatever stands between two members up to the quotation mark that opens the next name. A "}" or the end
// of the text there means the object is over.
SeekResult SeekNextName(JsonCursor& cursor) {
  if (cursor.AtEnd() || cursor.Current() == u'}') return SeekResult::kEndOfObject;
  while (cursor.Current() != kQuote) {
    if (cursor.Current() == u'}') return SeekResult::kEndOfObject;
    cursor.Advance();
    if (cursor.AtEnd()) return SeekResult::kEndOfObject;
  }
  return SeekResult::kFoundQuote;
}

// Reads `"name"`, the ":" after it and the blanks after that; the cursor ends on the value's first unit.
bool ReadNameAndColon(JsonCursor& cursor, std::u16string_view* name) {
  cursor.Advance();  // over the opening quotation mark
  if (!cursor.CollectUntil(kQuote, name)) return false;
  cursor.Advance();  // over the closing quotation mark, at least once before the colon
  if (!cursor.SkipTo(u':')) return false;
  // Only U+0020 is skipped after the colon: a tab or a line break there becomes part of a bare value.
  do {
    cursor.Advance();
    if (cursor.AtEnd()) return false;
  } while (cursor.Current() == u' ');
  return true;
}

// Reads a string value (cursor left on its closing quotation mark) or a bare value (cursor left on the "," or
// "}" that ends it).
bool ReadValue(JsonCursor& cursor, std::u16string_view* value) {
  if (cursor.Current() == kQuote) {
    cursor.Advance();
    return cursor.CollectUntil(kQuote, value);
  }
  return cursor.CollectBareValue(value);
}

}  // namespace

TokenJsonResult ParseTokenJson(std::u16string_view text, const TokenJsonMember& onMember) {
  JsonCursor cursor(text);
  if (!cursor.SkipTo(u'{')) return kTokenJsonNotScanned;

  std::u16string_view name;
  std::u16string_view value;
  for (;;) {
    if (SeekNextName(cursor) == SeekResult::kEndOfObject) return kTokenJsonScanned;
    if (!ReadNameAndColon(cursor, &name)) return kTokenJsonNotScanned;
    if (!ReadValue(cursor, &value)) return kTokenJsonNotScanned;
    onMember(name, value);
    cursor.Advance();
  }
}

}  // namespace OAuthClient
