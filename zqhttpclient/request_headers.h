// RequestHeaders: the request header fields set on an HTTP client object, checked so that none can inject a line.
#ifndef ZQHTTPCLIENT_REQUEST_HEADERS_H
#define ZQHTTPCLIENT_REQUEST_HEADERS_H

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
class RequestHeaders {
 public:
  using Field = std::pair<std::string, std::string>;

  // Adds the field, or replaces the value (and name spelling) of the field of the same name in place.
  // Returns false and changes nothing when the name or value is not acceptable.
  bool Set(std::string_view name, std::string_view value);
  // The same, keeping the caller's strings instead of copying them.
  bool Set(std::string&& name, std::string&& value);

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
  std::vector<Field>::iterator FieldNamed(std::string_view name);
  std::vector<Field> fields_;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_REQUEST_HEADERS_H
