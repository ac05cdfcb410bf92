// UTF-8 <-> UTF-16 conversion: the one decoder and encoder of each form, step by step and for whole texts.
#ifndef OAUTHCLIENT_COMMON_UTF8_UTF16_H
#define OAUTHCLIENT_COMMON_UTF8_UTF16_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OAuthClient {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// How many U+FFFD a malformed UTF-8 sequence turns into.
enum class MalformedUtf8 {
  // One per maximal subpart (Unicode 15 section 3.9, "U+FFFD substitution of maximal subparts"; the WHATWG
  // decoder): a valid start followed by a wrong byte or by the end is one U+FFFD, and the wrong byte is read again.
  kOnePerMaximalSubpart,
  // One per byte of the broken sequence.
  kOnePerByte,
  // What Windows' MultiByteToWideChar gives: one per maximal subpart, except that a lead followed by a continuation
  // byte that rules the form out (an overlong form, a surrogate, a value above U+10FFFF: E0 80, ED A0, F0 8F,
  // F4 90) is one U+FFFD for the two bytes together, so E0 80 80 gives two where maximal subparts give three.
  kAsWindows,
};

// The policy every converter in this tree uses for malformed UTF-8: the code-page converters of the library, the
// component's decoding of received text, and the command-line host. It is kept in this one place so that the
// Windows build can match the system's own converters by changing it here.
// Windows is the reference: the POSIX build replaces malformed input as the Windows converters do.
inline constexpr MalformedUtf8 kMalformedUtf8Policy = MalformedUtf8::kAsWindows;

// One step of a decoder: the code point read and how many input units it took.
struct DecodedCodePoint {
  char32_t codePoint;  // kReplacementCharacter (UTF-8) or the lone surrogate itself (UTF-16) when !valid
  std::size_t length;  // at least 1
  bool valid;
};

// Decodes the UTF-8 sequence at the start of `bytes`, which must not be empty. Overlong forms, surrogates, values
// above U+10FFFF, stray continuation bytes and truncated sequences are malformed: the step then gives
// kReplacementCharacter and a length set by `policy`.
inline DecodedCodePoint DecodeUtf8(std::string_view bytes, MalformedUtf8 policy = kMalformedUtf8Policy);

// Decodes the UTF-16 code point at units[0] (`count` >= 1 units available): a surrogate pair gives one code point
// of length 2; a lone surrogate gives itself, length 1, valid false.
template <typename Unit>
DecodedCodePoint DecodeUtf16(const Unit* units, std::size_t count) {
  const char32_t first = static_cast<char16_t>(units[0]);
  if (first < 0xD800 || first > 0xDFFF) return {first, 1, true};
  if (first <= 0xDBFF && count > 1) {
    const char32_t second = static_cast<char16_t>(units[1]);
    if (second >= 0xDC00 && second <= 0xDFFF) return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 2, true};
  }
  return {first, 1, false};
}

// Writes the UTF-8 form of `codePoint` (at most U+10FFFF) to out[0..3] and returns its length (1 to 4).
inline std::size_t EncodeUtf8(char32_t codePoint, char out[4]);

// Writes the UTF-16 form of `codePoint` to out[0..1] and returns its length (1 or 2).
template <typename Unit>
std::size_t EncodeUtf16(char32_t codePoint, Unit out[2]) {
  if (codePoint < 0x10000) {
    out[0] = static_cast<Unit>(codePoint);
    return 1;
  }
  const char32_t offset = codePoint - 0x10000;
  out[0] = static_cast<Unit>(0xD800 | (offset >> 10));
  out[1] = static_cast<Unit>(0xDC00 | (offset & 0x3FF));
  return 2;
}

// Returns true when `bytes` is well-formed UTF-8 (RFC 3629).
inline bool IsValidUtf8(std::string_view bytes);

// Definitions of the steps above; header-only, so that any target can use them by including this file.
namespace Utf8Detail {

// The shape of a well-formed sequence that starts with a given lead byte: how many continuation bytes follow, the
// payload bits of the lead, and the allowed range of the first continuation byte (narrower after E0, ED, F0 and
// F4, which rules out overlong forms, surrogates and values above U+10FFFF; Unicode table 3-7).
struct Utf8Lead {
  std::size_t continuationBytes;
  char32_t payload;
  unsigned char firstLow;
  unsigned char firstHigh;
};

inline std::optional<Utf8Lead> ReadUtf8Lead(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return Utf8Lead{1, static_cast<char32_t>(lead & 0x1F), 0x80, 0xBF};
  if (lead >= 0xE0 && lead <= 0xEF) {
    return Utf8Lead{2, static_cast<char32_t>(lead & 0x0F), static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                    static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    return Utf8Lead{3, static_cast<char32_t>(lead & 0x07), static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                    static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
  }
  return std::nullopt;
}

// Protocol text (methods, URLs, header fields, JSON replies) is nearly always ASCII, so its ASCII runs are handled
// a 64-bit word at a time: one mask test per word rather than a test per unit, and a few shifts to narrow or widen
// the word's units. The packing below reads the units of a word in memory order, which is the order of a
// little-endian word (x86-64 and ARM64, the platforms this builds for).
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the word-wise ASCII steps expect a little-endian target"
#endif

// Returns how many units at the start of units[0..count) are ASCII.
template <typename Unit>
std::size_t AsciiPrefixLength(const Unit* units, std::size_t count) {
  static_assert(sizeof(Unit) == 1 || sizeof(Unit) == 2, "bytes or UTF-16 units");
  constexpr std::size_t kPerWord = sizeof(std::uint64_t) / sizeof(Unit);
  constexpr std::uint64_t kNonAscii = sizeof(Unit) == 1 ? 0x8080808080808080u : 0xFF80FF80FF80FF80u;
  std::size_t i = 0;
  for (std::uint64_t word = 0; i + kPerWord <= count; i += kPerWord) {
    std::memcpy(&word, units + i, sizeof word);
    if ((word & kNonAscii) != 0) break;
  }
  while (i < count && static_cast<std::make_unsigned_t<Unit>>(units[i]) < 0x80) ++i;
  return i;
}

// Copies the ASCII units at the start of units[0..count) to out[], one byte each, and returns how many there were.
// `out` has room for `count` bytes.
template <typename Unit>
std::size_t NarrowAscii(const Unit* units, std::size_t count, char* out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 units");
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight units per step where SSE2 is there (every x86-64 target): checked for ASCII and packed to bytes.
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  for (; i + 8 <= count; i += 8) {
    const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(eight, nonAscii), _mm_setzero_si128())) != 0xFFFF) break;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(eight, eight));
  }
#endif
  for (std::uint64_t word = 0; i + 4 <= count; i += 4) {
    std::memcpy(&word, units + i, sizeof word);
    if ((word & 0xFF80FF80FF80FF80u) != 0) break;
    word = (word | (word >> 8)) & 0x0000FFFF0000FFFFu;  // units 0,1 and 2,3 side by side
    const auto bytes = static_cast<std::uint32_t>(word | (word >> 16));
    std::memcpy(out + i, &bytes, sizeof bytes);
  }
  for (; i < count && static_cast<char16_t>(units[i]) < 0x80; ++i) out[i] = static_cast<char>(units[i]);
  return i;
}

// Copies the ASCII bytes at the start of bytes[0..count) to out[], one unit each, and returns how many there were.
// `out` has room for `count` units.
template <typename Unit>
std::size_t WidenAscii(const char* bytes, std::size_t count, Unit* out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 units");
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes per step where SSE2 is there: checked for ASCII by their high bits and interleaved with zeros.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= count; i += 16) {
    const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    if (_mm_movemask_epi8(sixteen) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(sixteen, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(sixteen, zero));
  }
#endif
  for (; i < count && static_cast<unsigned char>(bytes[i]) < 0x80; ++i)
    out[i] = static_cast<Unit>(static_cast<unsigned char>(bytes[i]));
  return i;
}

// Appends the UTF-16 form of bytes[from..) to `out`, each malformed sequence replaced as kMalformedUtf8Policy says.
template <typename Unit>
void AppendUtf8AsUtf16(std::string_view bytes, std::size_t from, std::basic_string<Unit>* out) {
  Unit units[2];
  for (std::size_t i = from; i < bytes.size();) {
    const std::size_t ascii = AsciiPrefixLength(bytes.data() + i, bytes.size() - i);
    out->append(reinterpret_cast<const unsigned char*>(bytes.data()) + i,
                reinterpret_cast<const unsigned char*>(bytes.data()) + i + ascii);
    i += ascii;
    if (i == bytes.size()) break;
    const DecodedCodePoint step = DecodeUtf8(bytes.substr(i));
    out->append(units, EncodeUtf16(step.codePoint, units));
    i += step.length;
  }
}

}  // namespace Utf8Detail

inline DecodedCodePoint DecodeUtf8(std::string_view bytes, MalformedUtf8 policy) {
  const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};
  const std::optional<Utf8Detail::Utf8Lead> shape = Utf8Detail::ReadUtf8Lead(lead);
  if (!shape) return {kReplacementCharacter, 1, false};
  if (policy == MalformedUtf8::kAsWindows && bytes.size() > 1 && byte(1) >= 0x80 && byte(1) <= 0xBF &&
      (byte(1) < shape->firstLow || byte(1) > shape->firstHigh)) {
    return {kReplacementCharacter, 2, false};
  }
  char32_t codePoint = shape->payload;
  unsigned char low = shape->firstLow;
  unsigned char high = shape->firstHigh;
  std::size_t next = 1;
  while (next <= shape->continuationBytes && next < bytes.size() && byte(next) >= low && byte(next) <= high) {
    codePoint = (codePoint << 6) | (byte(next) & 0x3F);
    low = 0x80;
    high = 0xBF;
    ++next;
  }
  if (next > shape->continuationBytes) return {codePoint, next, true};
  return {kReplacementCharacter, policy == MalformedUtf8::kOnePerByte ? 1 : next, false};
}

inline std::size_t EncodeUtf8(char32_t codePoint, char out[4]) {
  const auto put = [out](std::size_t at, char32_t value) {
    out[at] = static_cast<char>(static_cast<unsigned char>(value));
  };
  if (codePoint < 0x80) {
    put(0, codePoint);
    return 1;
  }
  if (codePoint < 0x800) {
    put(0, 0xC0 | (codePoint >> 6));
    put(1, 0x80 | (codePoint & 0x3F));
    return 2;
  }
  if (codePoint < 0x10000) {
    put(0, 0xE0 | (codePoint >> 12));
    put(1, 0x80 | ((codePoint >> 6) & 0x3F));
    put(2, 0x80 | (codePoint & 0x3F));
    return 3;
  }
  put(0, 0xF0 | (codePoint >> 18));
  put(1, 0x80 | ((codePoint >> 12) & 0x3F));
  put(2, 0x80 | ((codePoint >> 6) & 0x3F));
  put(3, 0x80 | (codePoint & 0x3F));
  return 4;
}

inline bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    i += Utf8Detail::AsciiPrefixLength(bytes.data() + i, bytes.size() - i);
    if (i == bytes.size()) break;
    const DecodedCodePoint step = DecodeUtf8(bytes.substr(i));
    if (!step.valid) return false;
    i += step.length;
  }
  return true;
}

namespace Utf8Detail {

// Appends the UTF-8 form of text[from..) to `out`, one code point at a time; a lone surrogate becomes U+FFFD.
template <typename Unit>
void AppendEncodedUtf8(std::basic_string_view<Unit> text, std::size_t from, std::string* out) {
  out->reserve(out->size() + (text.size() - from) * 3);
  char bytes[4];
  for (std::size_t i = from; i < text.size();) {
    const DecodedCodePoint step = DecodeUtf16(text.data() + i, text.size() - i);
    out->append(bytes, EncodeUtf8(step.valid ? step.codePoint : kReplacementCharacter, bytes));
    i += step.length;
  }
}

}  // namespace Utf8Detail

// Appends the UTF-8 form of UTF-16 text to `out`; a lone surrogate becomes U+FFFD, so what is appended is always
// well-formed.
template <typename Unit>
void AppendUtf16AsUtf8(std::basic_string_view<Unit> text, std::string* out) {
  // Room for an ASCII text, which methods, URLs and header fields nearly always are; grown when it is not.
  const std::size_t start = out->size();
  out->resize(start + text.size());
  const std::size_t ascii = Utf8Detail::NarrowAscii(text.data(), text.size(), out->data() + start);
  if (ascii == text.size()) return;
  out->resize(start + ascii);
  Utf8Detail::AppendEncodedUtf8(text, ascii, out);
}

// Returns the UTF-8 form of UTF-16 text, as AppendUtf16AsUtf8 writes it.
template <typename Unit>
std::string Utf16ToUtf8(std::basic_string_view<Unit> text) {
  // A short ASCII text (a method, a scheme) is narrowed on the stack and copied once into the string's own
  // storage; a longer one is narrowed into a string made at its size.
  constexpr std::size_t kShort = 15;
  if (text.size() <= kShort) {
    char bytes[kShort];
    std::size_t ascii = 0;
    for (; ascii < text.size() && static_cast<char16_t>(text[ascii]) < 0x80; ++ascii)
      bytes[ascii] = static_cast<char>(text[ascii]);
    if (ascii == text.size()) return std::string(bytes, ascii);
  }
  std::string out(text.size(), '\0');
  const std::size_t ascii = Utf8Detail::NarrowAscii(text.data(), text.size(), out.data());
  if (ascii == text.size()) return out;
  out.resize(ascii);
  Utf8Detail::AppendEncodedUtf8(text, ascii, &out);
  return out;
}
inline std::string Utf16ToUtf8(std::u16string_view text) { return Utf16ToUtf8<char16_t>(text); }
#if defined(_WIN32)
inline std::string Utf16ToUtf8(std::wstring_view text) { return Utf16ToUtf8<wchar_t>(text); }
#endif

// Writes the UTF-16 form of UTF-8 bytes into `out`, replacing what it held but reusing its storage, each
// malformed sequence replaced as kMalformedUtf8Policy says. `Unit` is char16_t, or wchar_t on Windows.
template <typename Unit>
void AssignUtf8AsUtf16(std::string_view bytes, std::basic_string<Unit>* out) {
  // Bodies and headers are mostly ASCII, as a rule all of it: sized for that (at most one unit per byte) and
  // widened in one pass; cut back and decoded from the first other byte on when there is one.
  out->resize(bytes.size());
  const std::size_t ascii = Utf8Detail::WidenAscii(bytes.data(), bytes.size(), out->data());
  if (ascii == bytes.size()) return;
  out->resize(ascii);
  Utf8Detail::AppendUtf8AsUtf16(bytes, ascii, out);
}

// Returns the UTF-16 form of UTF-8 bytes, as AssignUtf8AsUtf16 writes it.
template <typename Unit = char16_t>
std::basic_string<Unit> Utf8ToUtf16(std::string_view bytes) {
  std::basic_string<Unit> out;
  AssignUtf8AsUtf16(bytes, &out);
  return out;
}

// Writes the UTF-16 form of UTF-8 bytes into `out` as AssignUtf8AsUtf16 does and returns true when they are
// well-formed UTF-8. Otherwise returns false, with nothing replaced: `out` then holds the bytes' ASCII start.
template <typename Unit>
bool AssignUtf8AsUtf16IfValid(std::string_view bytes, std::basic_string<Unit>* out) {
  out->resize(bytes.size());
  const std::size_t ascii = Utf8Detail::WidenAscii(bytes.data(), bytes.size(), out->data());
  if (ascii == bytes.size()) return true;
  out->resize(ascii);
  if (!IsValidUtf8(bytes.substr(ascii))) return false;
  Utf8Detail::AppendUtf8AsUtf16(bytes, ascii, out);
  return true;
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_UTF8_UTF16_H
