// ParseTokenJson: the small scanner that picks the members of a token endpoint's JSON reply out of its text.
#ifndef OAUTH_RESPONSES_TOKEN_JSON_H
#define OAUTH_RESPONSES_TOKEN_JSON_H

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace OAuthClient {

// Member name -> value text, names compared exactly (case-sensitive, code unit by code unit); the first occurrence
// of a name stays. Names and values are pieces of the scanned text, so the map is valid only as long as that text;
// look-ups take any string view without making a key. A reply has a handful of members, so they sit in one flat
// vector in reply order (one allocation, looked up by a linear scan) rather than in a node per member; past
// kLinearLimit members a hash index takes over the look-ups, so a hostile reply with very many members still
// scans in linear time. Two maps are equal when they hold the same names with the same values, in any order.
class TokenFieldMap {
 public:
  using Field = std::pair<std::u16string_view, std::u16string_view>;
  using const_iterator = std::vector<Field>::const_iterator;

  TokenFieldMap() = default;
  TokenFieldMap(std::initializer_list<Field> fields) {
    for (const Field& field : fields) emplace(field.first, field.second);
  }

  // Adds the member unless its name is already there (the first value stays).
  void emplace(std::u16string_view name, std::u16string_view value) {
    if (find(name) != end()) return;
    if (fields_.empty()) fields_.reserve(kTypicalMembers);
    fields_.emplace_back(name, value);
    if (!index_.empty()) {
      index_.emplace(name, fields_.size() - 1);
    } else if (fields_.size() == kLinearLimit) {
      for (std::size_t i = 0; i < fields_.size(); ++i) index_.emplace(fields_[i].first, i);
    }
  }
  const_iterator find(std::u16string_view name) const {
    if (index_.empty())
      return std::find_if(fields_.begin(), fields_.end(), [name](const Field& f) { return f.first == name; });
    const auto at = index_.find(name);
    return at == index_.end() ? end() : begin() + static_cast<std::ptrdiff_t>(at->second);
  }
  std::size_t count(std::u16string_view name) const { return find(name) != end() ? 1 : 0; }
  const_iterator begin() const { return fields_.begin(); }
  const_iterator end() const { return fields_.end(); }
  std::size_t size() const { return fields_.size(); }
  void clear() {
    fields_.clear();
    index_.clear();
  }

  friend bool operator==(const TokenFieldMap& a, const TokenFieldMap& b) {
    if (a.size() != b.size()) return false;
    for (const Field& field : a) {
      const auto other = b.find(field.first);
      if (other == b.end() || other->second != field.second) return false;
    }
    return true;
  }
  friend bool operator!=(const TokenFieldMap& a, const TokenFieldMap& b) { return !(a == b); }

 private:
  static constexpr std::size_t kTypicalMembers = 8;
  static constexpr std::size_t kLinearLimit = 32;
  std::vector<Field> fields_;
  std::unordered_map<std::u16string_view, std::size_t> index_;  // name -> position, once past kLinearLimit
};

// Result of ParseTokenJson.
enum TokenJsonResult : int {
  kTokenJsonScanned = 0,     // the scan reached the end of the object (or of the text between members)
  kTokenJsonNotScanned = 1,  // no "{", or the text ended inside a member
};

// Empties *fields, then reads the members of the first flat JSON object in `text` into it. This is no general JSON
// parser; its rules are fixed because they decide what hosts see, and hosts depend on them:
//  - Anything before the first "{" is skipped. Between members every character up to the next quotation mark is
//    skipped (commas, blanks, line breaks, anything); a "}" met there ends the scan with kTokenJsonScanned.
//  - A name runs from one quotation mark to the next; a backslash does not protect a quotation mark, and no escape
//    sequence is interpreted anywhere.
//  - After the name, everything up to the ":" is skipped; after the ":" only U+0020 blanks are skipped.
//  - A value that starts with a quotation mark runs to the next one. Any other value is "bare": it runs up to the
//    next "," or "}", trailing blanks and line breaks included (so a nested object is cut at its first "," or
//    "}"), and the "," or "}" that ends it is stepped over, so a "}" that ends a bare value does not end the scan.
// Returns kTokenJsonNotScanned when there is no "{" or the text ends inside a name, before a name's ":", right
// after a ":", inside a string value or inside a bare value; the members read before stay in *fields, but callers
// must not use them. `fields` must not be null.
TokenJsonResult ParseTokenJson(std::u16string_view text, TokenFieldMap* fields);

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_TOKEN_JSON_H
