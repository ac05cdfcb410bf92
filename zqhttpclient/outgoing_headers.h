// OutgoingHeaders: the request header fields set on an HTTP client object, checked so that none can inject a line.
#ifndef ZQHTTPCLIENT_OUTGOING_HEADERS_H
#define ZQHTTPCLIENT_OUTGOING_HEADERS_H

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OAuthClient::Http {

// An ordered list of header fields, one per name (names compared ASCII case-insensitively). Names and values are
// UTF-8. A name must be an HTTP token (RFC 9110 section 5.6.2); a value may be empty but must hold no control
// character other than tab (no CR, LF or NUL), so a header can never end the header block early or add a line of
// its own. Leading and trailing spaces
// and tabs of a name and of a value are dropped (a receiver drops them from a value and refuses them around a
// name).
// Returns true when `text` may stand as a header field value (or user agent) on a line of its own (RFC 9110
// section 5.5): no control character but tab, so no CR, LF or NUL can end or split the line. Bytes from 0x80 up
// (UTF-8) pass.
bool IsFieldValueText(std::string_view text);

class OutgoingHeaders {
 public:
  using Field = std::pair<std::string, std::string>;

  // Adds the field, or replaces the value (and name spelling) of the field of the same name in place.
  // Returns false and changes nothing when the name or value is not acceptable.
  bool Set(std::string_view name, std::string_view value);
  // The same, keeping the caller's strings instead of copying them.
  bool Set(std::string&& name, std::string&& value);
  // The same for the UTF-16 texts of the component's interface: the name, which must be a token and so ASCII, is
  // checked before anything is converted, and only the value goes through UTF-8 conversion.
  bool Set(std::u16string_view name, std::u16string_view value);

  // Removes the field of that name. Returns false when there was none.
  bool Remove(std::string_view name);

  // Adds every "Name: value" line of a text whose lines end in CR LF (a lone LF also ends a line; empty lines
  // are skipped), as Set does. Returns false and adds nothing when any line lacks a colon or fails Set's checks.
  bool SetFromText(std::string_view text);

  // Returns the value of the field of that name, if set.
  std::optional<std::string_view> Find(std::string_view name) const;

  void Clear() { fields_.clear(); }
  const std::vector<Field>& Fields() const { return fields_; }

 private:
  static bool Acceptable(std::string_view name, std::string_view value);
  // Adds or replaces the field; the name and value were trimmed and checked.
  void Store(std::string&& name, std::string&& value);
  std::vector<Field>::iterator FieldNamed(std::string_view name);
  std::vector<Field> fields_;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_OUTGOING_HEADERS_H
