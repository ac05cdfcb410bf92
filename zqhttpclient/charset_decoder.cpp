// Decoding a response body to UTF-16 by the charset its Content-Type names.
#include "zqhttpclient/charset_decoder.h"

#include <array>

#include "common/ascii.h"
#include "zqhttpclient/interface_text.h"

namespace OAuthClient::Http {
namespace {

enum class Charset { kUtf8, kUtf16Le, kUtf16Be, kLatin1, kWindows1252 };

// The characters that windows-1252 puts at 0x80-0x9F (WHATWG encoding index); 0 marks the five unassigned bytes,
// which map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

Charset CharsetFromLabel(std::string_view label) {
  if (label == "utf-16le" || label == "utf-16" || label == "ucs-2" || label == "unicode") return Charset::kUtf16Le;
  if (label == "utf-16be" || label == "unicodefffe") return Charset::kUtf16Be;
  if (label == "iso-8859-1" || label == "latin1" || label == "iso_8859-1" || label == "l1" || label == "us-ascii" ||
      label == "ascii" || label == "iso8859-1")
    return Charset::kLatin1;
  if (label == "windows-1252" || label == "cp1252" || label == "x-cp1252") return Charset::kWindows1252;
  return Charset::kUtf8;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0)));
  }
  if (i < bytes.size()) out.push_back(0xFFFD);
  return out;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? kWindows1252High[b - 0x80] : 0;
    out.push_back(mapped != 0 ? mapped : b);
  }
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string CharsetOfContentType(std::string_view contentType) {
  std::size_t pos = contentType.find(';');
  while (pos != std::string_view::npos) {
    std::string_view rest = contentType.substr(pos + 1);
    const std::size_t next = rest.find(';');
    std::string_view parameter = TrimHttpSpace(rest.substr(0, next));
    pos = next == std::string_view::npos ? next : pos + 1 + next;
    const std::size_t eq = parameter.find('=');
    if (eq == std::string_view::npos) continue;
    if (ToLowerAscii(TrimHttpSpace(parameter.substr(0, eq))) != "charset") continue;
    std::string_view value = TrimHttpSpace(parameter.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return ToLowerAscii(TrimHttpSpace(value));
  }
  return {};
}

void DecodeBody(std::string_view body, std::string_view charset, std::u16string* out) {
  // A byte-order mark decides over the label, and is not part of the text.
  Charset decided = Charset::kUtf8;
  if (StartsWith(body, "\xEF\xBB\xBF")) {
    body.remove_prefix(3);
  } else if (StartsWith(body, "\xFF\xFE")) {
    body.remove_prefix(2);
    decided = Charset::kUtf16Le;
  } else if (StartsWith(body, "\xFE\xFF")) {
    body.remove_prefix(2);
    decided = Charset::kUtf16Be;
  } else {
    decided = CharsetFromLabel(charset);
  }
  // UTF-8, by far the most common, is decoded into the storage `out` has; the others are rare enough to be made
  // apart and moved in.
  switch (decided) {
    case Charset::kUtf16Le:
      *out = DecodeUtf16(body, false);
      return;
    case Charset::kUtf16Be:
      *out = DecodeUtf16(body, true);
      return;
    case Charset::kLatin1:
      *out = Latin1ToUtf16(body);
      return;
    case Charset::kWindows1252:
      *out = DecodeWindows1252(body);
      return;
    case Charset::kUtf8:
      AssignUtf8AsUtf16(body, out);
      return;
  }
}

}  // namespace OAuthClient::Http
