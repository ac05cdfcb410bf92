// UTF-8 and UTF-16 conversions of the command-line host.
#include "wide_text.h"

namespace OAuthClient {
namespace Cli {

namespace {

// Decodes one code point at `utf8[*i]` and advances *i past it; false for a malformed sequence (RFC 3629).
bool DecodeUtf8(std::string_view utf8, size_t* i, char32_t* codePoint) {
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(utf8[at]); };
  const unsigned char lead = byte(*i);
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    *codePoint = lead;
    ++*i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return false;
  }
  if (*i + length > utf8.size()) return false;
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = byte(*i + k);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *codePoint = value;
  *i += length;
  return true;
}

}  // namespace

bool Utf8ToWide(std::string_view utf8, WideString* out) {
  WideString wide;
  wide.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    if (!DecodeUtf8(utf8, &i, &codePoint)) return false;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      wide.push_back(static_cast<WideChar>(0xD800 + (codePoint >> 10)));
      wide.push_back(static_cast<WideChar>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      wide.push_back(static_cast<WideChar>(codePoint));
    }
  }
  *out = std::move(wide);
  return true;
}

WideString Widen(std::string_view utf8) {
  WideString wide;
  Utf8ToWide(utf8, &wide);
  return wide;
}

bool IsValidUtf8(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    if (!DecodeUtf8(utf8, &i, &codePoint)) return false;
  }
  return true;
}

void AppendUtf8(char32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    out->push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

std::string WideToUtf8(std::basic_string_view<WideChar> text) {
  std::string utf8;
  utf8.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t codePoint, bool isLoneSurrogate) {
    AppendUtf8(isLoneSurrogate ? U'\uFFFD' : codePoint, &utf8);
  });
  return utf8;
}

std::string WideToUtf8(const WideChar* text) {
  if (text == nullptr) return std::string();
  return WideToUtf8(std::basic_string_view<WideChar>(text));
}

}  // namespace Cli
}  // namespace OAuthClient
