// Conversions between UTF-16 text and bytes: code pages, whole bodies with byte-order marks, and recognition of a
// body's encoding from its first bytes.
#include "oauth/text/text_encodings.h"

#include <climits>
#include <cstring>
#include <new>

#include "common/utf8_utf16.h"
#include "oauth/platform/code_page.h"

namespace OAuthClient {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

enum class ByteOrder { kLittleEndian, kBigEndian };

bool IsHighSurrogate(char32_t unit) { return (unit & 0xFC00) == 0xD800; }
bool IsLowSurrogate(char32_t unit) { return (unit & 0xFC00) == 0xDC00; }

char16_t ReadUnit(const unsigned char* bytes, ByteOrder order) {
  return order == ByteOrder::kLittleEndian ? static_cast<char16_t>(bytes[0] | (bytes[1] << 8))
                                           : static_cast<char16_t>((bytes[0] << 8) | bytes[1]);
}

void WriteUnit(unsigned char* bytes, char16_t unit, ByteOrder order) {
  const auto low = static_cast<unsigned char>(unit & 0xFF);
  const auto high = static_cast<unsigned char>(unit >> 8);
  bytes[0] = order == ByteOrder::kLittleEndian ? low : high;
  bytes[1] = order == ByteOrder::kLittleEndian ? high : low;
}

// The shared body of Utf16LeToUtf8 and Utf16BeToUtf8. A trailing high surrogate is an error only for big-endian
// input; the little-endian converter stops before it (which is how both converters have always behaved).
int Utf16ToUtf8(ByteOrder order, unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  if (outLength == nullptr || inLength == nullptr || *outLength < 0 || *inLength < 0) return -1;
  if (in == nullptr || out == nullptr) {
    *outLength = 0;
    *inLength = 0;
    return 0;
  }
  if (*inLength % 2 != 0) --*inLength;
  const int units = *inLength / 2;
  const int capacity = *outLength;
  int written = 0;
  int unit = 0;
  int result = 0;
  while (unit < units) {
    char32_t codePoint = ReadUnit(in + 2 * unit, order);
    int consumedUnits = 1;
    if (IsHighSurrogate(codePoint)) {
      if (unit + 1 == units) {
        if (order == ByteOrder::kBigEndian) result = -2;
        break;
      }
      const char16_t next = ReadUnit(in + 2 * (unit + 1), order);
      if (!IsLowSurrogate(next)) {
        result = -2;
        break;
      }
      codePoint = (((codePoint & 0x3FF) << 10) | (next & 0x3FF)) + 0x10000;
      consumedUnits = 2;
    }
    char bytes[4];
    const int length = static_cast<int>(EncodeUtf8(codePoint, bytes));
    if (length > capacity - written) break;
    std::memcpy(out + written, bytes, static_cast<std::size_t>(length));
    written += length;
    unit += consumedUnits;
  }
  *outLength = written;
  *inLength = 2 * unit;
  return result < 0 ? result : written;
}

// The shared body of Utf8ToUtf16Le and Utf8ToUtf16Be. Its input is the system converter's UTF-8, so the checks
// here only keep a malformed input from reading or writing out of bounds.
int Utf8ToUtf16(ByteOrder order, unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  if (out == nullptr || outLength == nullptr || inLength == nullptr) return -1;
  if (in == nullptr || *outLength < 0 || *inLength < 0) {
    *outLength = 0;
    *inLength = 0;
    return 0;
  }
  const int length = *inLength;
  const int capacityUnits = *outLength / 2;
  int written = 0;
  int consumed = 0;
  int result = 0;
  while (consumed < length) {
    const unsigned char lead = in[consumed];
    int continuation = 0;
    char32_t codePoint = lead;
    if (lead < 0x80) {
      continuation = 0;
    } else if (lead < 0xC0 || lead >= 0xF8) {
      result = -2;
      break;
    } else if (lead < 0xE0) {
      continuation = 1;
      codePoint = lead & 0x1F;
    } else if (lead < 0xF0) {
      continuation = 2;
      codePoint = lead & 0x0F;
    } else {
      continuation = 3;
      codePoint = lead & 0x07;
    }
    if (length - consumed - 1 < continuation) break;  // a truncated last sequence stays unconsumed
    int next = consumed + 1;
    for (int i = 0; i < continuation && (in[next] & 0xC0) == 0x80; ++i, ++next) {
      codePoint = (codePoint << 6) | (in[next] & 0x3F);
    }
    if (codePoint >= 0x110000) break;
    const int unitsNeeded = codePoint < 0x10000 ? 1 : 2;
    if (unitsNeeded > capacityUnits - written) break;
    if (unitsNeeded == 1) {
      WriteUnit(out + 2 * written, static_cast<char16_t>(codePoint), order);
    } else {
      const char32_t offset = codePoint - 0x10000;
      WriteUnit(out + 2 * written, static_cast<char16_t>(0xD800 | (offset >> 10)), order);
      WriteUnit(out + 2 * written + 2, static_cast<char16_t>(0xDC00 | (offset & 0x3FF)), order);
    }
    written += unitsNeeded;
    consumed = next;
  }
  *outLength = 2 * written;
  *inLength = consumed;
  return result < 0 ? result : 2 * written;
}

// The byte-order-mark test of the ANSI body operations looks at the low byte of the first unit only, so U+00FE,
// U+00FF and any unit ending in FE or FF count as a mark as well.
bool LowByteLooksLikeMark(char16_t unit) { return (unit & 0xFF) >= 0xFE; }

int EncodeUtf8Body(ByteBuffer* out, std::u16string_view text) {
  ByteBuffer utf8;
  const int n = WideToMultiByte(&utf8, text, Platform::kCodePageUtf8);
  if (n <= 0) return -1;
  ByteBuffer body(static_cast<std::size_t>(n) + sizeof kUtf8Mark + 1, 0);
  std::memcpy(body.data(), kUtf8Mark, sizeof kUtf8Mark);
  std::memcpy(body.data() + sizeof kUtf8Mark, utf8.data(), static_cast<std::size_t>(n));
  *out = std::move(body);
  return n + static_cast<int>(sizeof kUtf8Mark);
}

// UTF-16 bodies go through UTF-8, so an unpaired surrogate comes out as the UTF-8 converter renders it (U+FFFD).
int EncodeUtf16Body(ByteBuffer* out, std::u16string_view text, ByteOrder order) {
  // Each unit comes back as at most one unit, so two bytes per unit hold the converted text.
  if (text.empty() || text.size() > static_cast<std::size_t>((INT_MAX - 4) / 2)) return -1;
  ByteBuffer utf8;
  int utf8Length = WideToMultiByte(&utf8, text, Platform::kCodePageUtf8);
  if (utf8Length < 0) return -1;
  const int capacity = static_cast<int>(2 * text.size());
  ByteBuffer body(static_cast<std::size_t>(capacity) + 4, 0);
  body[0] = order == ByteOrder::kLittleEndian ? 0xFF : 0xFE;
  body[1] = order == ByteOrder::kLittleEndian ? 0xFE : 0xFF;
  int written = capacity;
  const int result = Utf8ToUtf16(order, body.data() + 2, &written, utf8.data(), &utf8Length);
  if (result < 0) return -1;
  body.resize(static_cast<std::size_t>(result) + 4);  // the mark, the units, two zero bytes
  *out = std::move(body);
  return result + 2;
}

int DecodeUtf16Body(std::u16string* out, const unsigned char* bytes, std::uint32_t count, ByteOrder order) {
  // UTF-16 to UTF-8 needs at most three bytes per two-byte unit, so twice the input always holds the result.
  if (count > static_cast<std::uint32_t>(INT_MAX / 2)) return -1;
  ByteBuffer utf8(2 * static_cast<std::size_t>(count), 0);
  int written = static_cast<int>(utf8.size());
  int consumed = static_cast<int>(count);
  const int result = Utf16ToUtf8(order, utf8.data(), &written, bytes, &consumed);
  if (result < 0) return result;
  return MultiByteToWide(out, utf8.data(), written, Platform::kCodePageUtf8);
}

}  // namespace

int WideToMultiByte(ByteBuffer* out, std::u16string_view text, std::uint32_t codePage) {
  if (out == nullptr || text.size() > static_cast<std::size_t>(INT_MAX)) return -1;
  const int count = static_cast<int>(text.size());
  const int n = Platform::WideCharToMultiByte(codePage, text.data(), count, nullptr, 0);
  if (n < 1) return n;
  try {
    ByteBuffer bytes(static_cast<std::size_t>(n), 0);
    const int converted =
        Platform::WideCharToMultiByte(codePage, text.data(), count, reinterpret_cast<char*>(bytes.data()), n);
    if (converted == 0) {
      out->clear();
      return -1;
    }
    *out = std::move(bytes);
    return converted;
  } catch (const std::bad_alloc&) {
    out->clear();
    return -1;
  }
}

int MultiByteToWide(std::u16string* out, const unsigned char* bytes, int count, std::uint32_t codePage) {
  if (out == nullptr) return -1;
  const char* input = reinterpret_cast<const char*>(bytes);
  const int n = Platform::MultiByteToWideChar(codePage, input, count, nullptr, 0);
  if (n == 0) {
    out->clear();
    return -1;
  }
  std::u16string text(static_cast<std::size_t>(n), u'\0');
  const int converted = Platform::MultiByteToWideChar(codePage, input, count, text.data(), n);
  if (converted == 0) {
    out->clear();
    return -1;
  }
  text.resize(static_cast<std::size_t>(converted));
  *out = std::move(text);
  return converted;
}

int EncodeText(ByteBuffer* out, std::u16string_view text, std::uint32_t encoding) {
  if (out == nullptr) return -1;
  switch (encoding) {
    case TextEncoding::Ansi:
      if (!text.empty() && LowByteLooksLikeMark(text.front())) text.remove_prefix(1);
      return WideToMultiByte(out, text, Platform::kCodePageAnsi);
    case TextEncoding::Utf8:
      return EncodeUtf8Body(out, text);
    case TextEncoding::Utf16Le:
      return EncodeUtf16Body(out, text, ByteOrder::kLittleEndian);
    case TextEncoding::Utf16Be:
      return EncodeUtf16Body(out, text, ByteOrder::kBigEndian);
    default:
      return -1;
  }
}

int DecodeText(std::u16string* out, const unsigned char* bytes, std::uint32_t count, std::uint32_t encoding) {
  if (out == nullptr || bytes == nullptr || count == 0) return -1;
  switch (encoding) {
    case TextEncoding::Ansi:
      return DecodeAnsiText(out, bytes, count);
    case TextEncoding::Utf8:
      if (count > static_cast<std::uint32_t>(INT_MAX)) return -1;
      return MultiByteToWide(out, bytes, static_cast<int>(count), Platform::kCodePageUtf8);
    case TextEncoding::Utf16Le:
      return DecodeUtf16Body(out, bytes, count, ByteOrder::kLittleEndian);
    case TextEncoding::Utf16Be:
      return DecodeUtf16Body(out, bytes, count, ByteOrder::kBigEndian);
    default:
      return -1;
  }
}

int DecodeAnsiText(std::u16string* out, const unsigned char* bytes, std::uint32_t count) {
  if (out == nullptr || bytes == nullptr || count == 0 || count > static_cast<std::uint32_t>(INT_MAX)) return -1;
  // A leading "?" is what an ANSI encoder leaves of a byte-order mark, so it is dropped.
  if (bytes[0] == '?') {
    ++bytes;
    --count;
  }
  const int r = MultiByteToWide(out, bytes, static_cast<int>(count), Platform::kCodePageAnsi);
  if (r >= 1 && !LowByteLooksLikeMark((*out)[0])) out->insert(out->begin(), kByteOrderMark);
  return r;
}

int Utf16LeToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  return Utf16ToUtf8(ByteOrder::kLittleEndian, out, outLength, in, inLength);
}

int Utf16BeToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  return Utf16ToUtf8(ByteOrder::kBigEndian, out, outLength, in, inLength);
}

int Utf8ToUtf16Le(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  return Utf8ToUtf16(ByteOrder::kLittleEndian, out, outLength, in, inLength);
}

int Utf8ToUtf16Be(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  return Utf8ToUtf16(ByteOrder::kBigEndian, out, outLength, in, inLength);
}

DetectedEncoding DetectEncoding(const unsigned char* bytes, std::uint32_t count) {
  if (bytes == nullptr || count < 2) return kDetectedNone;
  struct Pattern {
    unsigned char bytes[4];
    DetectedEncoding encoding;
  };
  static constexpr Pattern kFourBytePatterns[] = {
      {{0x00, 0x00, 0x00, 0x3C}, kDetectedUcs4BigEndian},
      {{0x3C, 0x00, 0x00, 0x00}, kDetectedUcs4LittleEndian},
      {{0x00, 0x00, 0x3C, 0x00}, kDetectedUcs4Order2143},
      {{0x00, 0x3C, 0x00, 0x00}, kDetectedUcs4Order3412},
      {{0x4C, 0x6F, 0xA7, 0x94}, kDetectedEbcdic},
      {{0x3C, 0x3F, 0x78, 0x6D}, kDetectedUtf8},
      {{0x3C, 0x00, 0x3F, 0x00}, kDetectedUtf16LittleEndian},
      {{0x00, 0x3C, 0x00, 0x3F}, kDetectedUtf16BigEndian},
  };
  if (count >= 4) {
    for (const Pattern& pattern : kFourBytePatterns) {
      if (std::memcmp(bytes, pattern.bytes, 4) == 0) return pattern.encoding;
    }
  }
  if (count >= 3 && std::memcmp(bytes, kUtf8Mark, 3) == 0) return kDetectedUtf8;
  if (bytes[0] == 0xFE && bytes[1] == 0xFF) return kDetectedUtf16BigEndian;
  if (bytes[0] == 0xFF && bytes[1] == 0xFE) return kDetectedUtf16LittleEndian;
  return kDetectedNone;
}

}  // namespace OAuthClient
