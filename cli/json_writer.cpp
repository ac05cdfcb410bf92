// JSON string escaping and the object writer of the token output.
#include "json_writer.h"

#include "wide_text.h"

namespace OAuthClient {
namespace Cli {

namespace {

void AppendUnicodeEscape(char32_t unit, std::string* out) {
  static const char kHex[] = "0123456789abcdef";
  *out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kHex[(unit >> shift) & 0x0F]);
}

}  // namespace

std::string JsonString(std::basic_string_view<WideChar> text) {
  std::string json = "\"";
  ForEachCodePoint(text, [&](char32_t codePoint, bool isLoneSurrogate) {
    switch (codePoint) {
      case U'"': json += "\\\""; return;
      case U'\\': json += "\\\\"; return;
      case U'\b': json += "\\b"; return;
      case U'\f': json += "\\f"; return;
      case U'\n': json += "\\n"; return;
      case U'\r': json += "\\r"; return;
      case U'\t': json += "\\t"; return;
      default: break;
    }
    if (codePoint < 0x20 || codePoint == 0x2028 || codePoint == 0x2029 || isLoneSurrogate) {
      AppendUnicodeEscape(codePoint, &json);
    } else {
      AppendUtf8(codePoint, &json);
    }
  });
  json += "\"";
  return json;
}

void JsonObjectWriter::AddName(std::string_view name) {
  if (!members_.empty()) members_ += ",";
  members_ += "\"";
  members_ += name;
  members_ += "\":";
}

void JsonObjectWriter::AddString(std::string_view name, std::basic_string_view<WideChar> value) {
  AddName(name);
  members_ += JsonString(value);
}

void JsonObjectWriter::AddNumber(std::string_view name, std::int64_t value) {
  AddName(name);
  members_ += std::to_string(value);
}

}  // namespace Cli
}  // namespace OAuthClient
