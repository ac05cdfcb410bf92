// JsonObjectWriter: builds the one-line JSON object the program prints for a token response.
#ifndef OAUTH_CLIENT_CLI_JSON_WRITER_H
#define OAUTH_CLIENT_CLI_JSON_WRITER_H

#include <cstdint>
#include <string>
#include <string_view>

#include "oauthclient/wide_char.h"

namespace OAuthClient {
namespace Cli {

// Returns `text` as a JSON string literal, quotes included (RFC 8259 section 7): quotation mark, backslash and
// the controls U+0000 to U+001F are escaped (\" \\ \b \f \n \r \t or \u00XX), U+2028 and U+2029 as \u2028 and
// \u2029 so the output is safe in JavaScript too, and a lone surrogate as its \uXXXX escape; everything else
// is written as UTF-8.
std::string JsonString(std::basic_string_view<WideChar> text);

// Appends members in the order they are added; members are written only once, by the caller's choice.
class JsonObjectWriter {
 public:
  // Adds a string member.
  void AddString(std::string_view name, std::basic_string_view<WideChar> value);
  // Adds a number member.
  void AddNumber(std::string_view name, std::int64_t value);
  // Returns the object's text: "{" members joined by "," "}".
  std::string Text() const { return "{" + members_ + "}"; }

 private:
  void AddName(std::string_view name);

  std::string members_;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_JSON_WRITER_H
