// FormParameters: the name/value pairs of a token request, joined into application/x-www-form-urlencoded text.
#ifndef OAUTH_REQUESTS_FORM_PARAMETERS_H
#define OAUTH_REQUESTS_FORM_PARAMETERS_H

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace OAuthClient {

// A map from parameter name to value with unique names, ordered by plain comparison of UTF-16 code units (so "B"
// comes before "a", and "a" before "ab"). Names are compared exactly. The first value given for a name stays:
// later additions of the same name change nothing, which is how a parameter the host gave wins over the
// properties that complete the form (RFC 6749 section 3.2 forbids repeating a parameter).
class FormParameters {
 public:
  // Inserts (name, value) unless `name` is present. Empty names and values are stored like any other.
  void Add(std::u16string_view name, std::u16string_view value);
  // Adds the pieces of an "&"-joined text; each piece is split at its first "=" into name and value (further
  // "=" stay in the value). Pieces without "=" (an empty piece included) are skipped. Nothing is trimmed or
  // decoded: blanks, "+" and "%" escapes stay as they are.
  void AddText(std::u16string_view text);
  // Returns true when `name` is present.
  bool Contains(std::u16string_view name) const;
  // Returns true when there are no parameters.
  bool IsEmpty() const { return entries_.empty(); }
  // Removes every parameter.
  void Clear() { entries_.clear(); }
  // Returns "name=value" for every entry in name order, joined by "&". Names are never encoded. With
  // `urlEncode` each value is replaced by its FormUrlEncode text (UTF-8, then percent escapes, space as "+");
  // a value whose encoding is empty (an empty value, or one that does not convert) gives nothing. Without it
  // values are used unchanged.
  std::optional<std::u16string> ToText(bool urlEncode) const;

 private:
  std::map<std::u16string, std::u16string, std::less<>> entries_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_FORM_PARAMETERS_H
