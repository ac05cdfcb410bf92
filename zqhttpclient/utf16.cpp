// Conversions between the UTF-16 text of the interface and the UTF-8 / Latin-1 bytes that go on the wire.
#include "zqhttpclient/utf16.h"

#include <algorithm>
#include <cstdint>

namespace OAuthClient::Http {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string* out, char32_t code) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUtf16(std::u16string* out, char32_t code) {
  if (code < 0x10000) {
    out->push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

// Reads one UTF-8 sequence at bytes[*pos]. Returns the code point and advances *pos past it, or returns
// U+FFFD and advances past the longest malformed prefix (at least one byte).
char32_t NextUtf8(std::string_view bytes, std::size_t* pos, bool* valid) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(*pos);
  *valid = true;
  if (lead < 0x80) {
    ++*pos;
    return lead;
  }
  std::size_t count = 0;
  char32_t code = 0;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte, per the Unicode table of well-formed UTF-8
  if (lead >= 0xC2 && lead <= 0xDF) {
    count = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    ++*pos;
    *valid = false;
    return kReplacement;
  }
  std::size_t i = *pos + 1;
  for (std::size_t k = 0; k < count; ++k, ++i) {
    const unsigned char lo = (k == 0) ? low : 0x80;
    const unsigned char hi = (k == 0) ? high : 0xBF;
    if (i >= bytes.size() || byte(i) < lo || byte(i) > hi) {
      *pos = i;
      *valid = false;
      return kReplacement;
    }
    code = (code << 6) | (byte(i) & 0x3F);
  }
  *pos = i;
  return code;
}

// Whole-text checks without an early exit, so that the compiler can test many units per step.
bool IsAscii(std::u16string_view text) {
  char16_t any = 0;
  for (char16_t unit : text) any |= unit;
  return any < 0x80;
}

bool IsAscii(std::string_view bytes) {
  unsigned char any = 0;
  for (char c : bytes) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

}  // namespace

std::size_t WideLength(const WideChar* text) {
  if (text == nullptr) return 0;
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

std::u16string_view WideView(const WideChar* text) {
  return {reinterpret_cast<const char16_t*>(text), WideLength(text)};
}

std::string Utf16ToUtf8(std::u16string_view text) {
  // Methods, URLs and header fields are nearly always ASCII: copy those without the per-unit work.
  if (IsAscii(text)) {
    std::string out(text.size(), '\0');
    std::transform(text.begin(), text.end(), out.begin(), [](char16_t unit) { return static_cast<char>(unit); });
    return out;
  }
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      unit = kReplacement;
    }
    AppendUtf8(&out, unit);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  // Bodies and headers are mostly ASCII: widen the ASCII prefix in one pass, decode sequences after it.
  const auto ascii = static_cast<std::size_t>(
      std::find_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
      bytes.begin());
  std::u16string out = Latin1ToUtf16(bytes.substr(0, ascii));
  if (ascii == bytes.size()) return out;
  out.reserve(bytes.size());
  std::size_t pos = ascii;
  bool valid = true;
  while (pos < bytes.size()) AppendUtf16(&out, NextUtf8(bytes, &pos, &valid));
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  bool valid = true;
  while (pos < bytes.size()) {
    NextUtf8(bytes, &pos, &valid);
    if (!valid) return false;
  }
  return true;
}

std::u16string Latin1ToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), out.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return out;
}

std::u16string HeaderBytesToUtf16(std::string_view bytes) {
  // Header blocks are nearly always ASCII, which both readings agree on: widen it in one pass.
  if (IsAscii(bytes) || !IsValidUtf8(bytes)) return Latin1ToUtf16(bytes);
  return Utf8ToUtf16(bytes);
}

}  // namespace OAuthClient::Http
