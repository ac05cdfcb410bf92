// Code-page conversion on POSIX: UTF-8 and Windows-1252 converters that reproduce what the Windows converters
// give when called with flags 0.
#include "oauth/platform/code_page.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "oauth/platform/posix/windows_1252_best_fit.h"

namespace OAuthClient::Platform {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr std::uint32_t kCodePageWindows1252 = 1252;

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map
// to the C1 controls of the same value, as the Windows table does; every other byte is its own code point.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool IsHighSurrogate(char32_t unit) { return (unit & 0xFC00) == 0xD800; }
bool IsLowSurrogate(char32_t unit) { return (unit & 0xFC00) == 0xDC00; }

// Collects converted units. Without a buffer (the sizing call) it only counts; with one it fails as soon as a
// unit does not fit. The count is kept wide so that a sizing call over a huge input cannot overflow int.
template <typename Unit>
class OutputSink {
 public:
  OutputSink(Unit* out, int capacity) : out_(out), capacity_(capacity) {}

  bool Put(Unit unit) {
    if (out_ != nullptr) {
      if (count_ >= capacity_) return false;
      out_[count_] = unit;
    }
    ++count_;
    return count_ <= INT_MAX;
  }

  // Puts a run of ASCII units, which every supported code page maps to themselves, in one step; the same
  // result as putting them one by one.
  template <typename Source>
  bool PutAsciiRun(const Source* units, std::size_t n) {
    const auto run = static_cast<std::int64_t>(n);
    if (out_ != nullptr) {
      const std::int64_t fits = run < capacity_ - count_ ? run : capacity_ - count_;
      for (std::int64_t i = 0; i < fits; ++i) out_[count_ + i] = static_cast<Unit>(units[i]);
      if (fits < run) return false;
    }
    count_ += run;
    return count_ <= INT_MAX;
  }

  int Count() const { return static_cast<int>(count_); }

 private:
  Unit* out_;
  std::int64_t capacity_;
  std::int64_t count_ = 0;
};

// Resolves the Windows input length convention: a negative count (-1 is the documented one) means "up to and
// including the terminator". Returns false for a count of 0, which Windows rejects.
template <typename Unit>
bool ResolveInputLength(const Unit* input, int count, std::size_t* length) {
  if (input == nullptr || count == 0) return false;
  if (count > 0) {
    *length = static_cast<std::size_t>(count);
    return true;
  }
  std::size_t n = 0;
  while (input[n] != 0) ++n;
  *length = n + 1;
  return true;
}

// Windows rejects a negative capacity and a buffer-less call that claims a capacity.
template <typename Unit>
bool IsValidOutput(const Unit* out, int outSize) {
  return outSize == 0 || (outSize > 0 && out != nullptr);
}

bool IsKnownCodePage(std::uint32_t codePage) {
  return codePage == kCodePageUtf8 || codePage == kCodePageAnsi || codePage == kCodePageWindows1252;
}

bool PutUtf8(OutputSink<char>& sink, char32_t codePoint) {
  auto put = [&sink](unsigned value) { return sink.Put(static_cast<char>(static_cast<unsigned char>(value))); };
  if (codePoint < 0x80) return put(codePoint);
  if (codePoint < 0x800) return put(0xC0 | (codePoint >> 6)) && put(0x80 | (codePoint & 0x3F));
  if (codePoint < 0x10000) {
    return put(0xE0 | (codePoint >> 12)) && put(0x80 | ((codePoint >> 6) & 0x3F)) && put(0x80 | (codePoint & 0x3F));
  }
  return put(0xF0 | (codePoint >> 18)) && put(0x80 | ((codePoint >> 12) & 0x3F)) &&
         put(0x80 | ((codePoint >> 6) & 0x3F)) && put(0x80 | (codePoint & 0x3F));
}

bool PutUtf16(OutputSink<char16_t>& sink, char32_t codePoint) {
  if (codePoint < 0x10000) return sink.Put(static_cast<char16_t>(codePoint));
  const char32_t offset = codePoint - 0x10000;
  return sink.Put(static_cast<char16_t>(0xD800 | (offset >> 10))) &&
         sink.Put(static_cast<char16_t>(0xDC00 | (offset & 0x3FF)));
}

// A surrogate pair becomes one code point; a lone surrogate becomes U+FFFD.
bool Utf16ToUtf8(const char16_t* text, std::size_t length, OutputSink<char>& sink) {
  for (std::size_t i = 0; i < length; ++i) {
    char32_t codePoint = text[i];
    if (IsHighSurrogate(codePoint) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
      codePoint = 0x10000 + (((codePoint & 0x3FF) << 10) | (text[i + 1] & 0x3FF));
      ++i;
    } else if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)) {
      codePoint = kReplacementCharacter;
    }
    if (!PutUtf8(sink, codePoint)) return false;
  }
  return true;
}

// Returns the Windows-1252 byte Windows gives `unit` with flags 0: its own byte, or Windows' best-fit substitute
// (U+0100 -> 'A'), or "?" when it has neither. Each unit of a surrogate pair becomes its own "?".
unsigned char ToWindows1252(char16_t unit) {
  if (unit < 0x80) return static_cast<unsigned char>(unit);
  const BestFitEntry* end = kWindows1252BestFit + kWindows1252BestFitSize;
  const BestFitEntry* found = std::lower_bound(kWindows1252BestFit, end, unit,
                                               [](const BestFitEntry& entry, char16_t u) { return entry.unit < u; });
  return found != end && found->unit == unit ? found->byte : static_cast<unsigned char>('?');
}

bool Utf16ToWindows1252(const char16_t* text, std::size_t length, OutputSink<char>& sink) {
  for (std::size_t i = 0; i < length; ++i) {
    if (!sink.Put(static_cast<char>(ToWindows1252(text[i])))) return false;
  }
  return true;
}

// The shape of a UTF-8 sequence that starts with a given lead byte: how many continuation bytes follow, the
// payload bits of the lead, and the allowed range of the first continuation byte (narrower after E0, ED, F0 and
// F4, which rules out overlong forms, surrogates and values above U+10FFFF).
struct Utf8Lead {
  int continuationBytes;
  char32_t payload;
  unsigned char firstLow;
  unsigned char firstHigh;
};

bool IsContinuationByte(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

bool ReadUtf8Lead(unsigned char lead, Utf8Lead* shape) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    *shape = {1, static_cast<char32_t>(lead & 0x1F), 0x80, 0xBF};
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    *shape = {2, static_cast<char32_t>(lead & 0x0F), static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
              static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    *shape = {3, static_cast<char32_t>(lead & 0x07), static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
              static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
  } else {
    return false;
  }
  return true;
}

// Decodes UTF-8 as Windows does. A byte that cannot start a sequence becomes one U+FFFD. A lead followed by a
// continuation byte that rules out the form (an overlong form, a surrogate, a value above U+10FFFF: E0 80, ED A0,
// F4 90) becomes one U+FFFD for the two bytes together. Otherwise a valid start followed by a byte that is no
// continuation, or by the end of the input, becomes one U+FFFD, and the byte that broke it is read again as the
// start of the next sequence.
bool Utf8ToUtf16(const unsigned char* bytes, std::size_t length, OutputSink<char16_t>& sink) {
  std::size_t i = 0;
  while (i < length) {
    const unsigned char lead = bytes[i++];
    if (lead < 0x80) {
      if (!sink.Put(lead)) return false;
      continue;
    }
    Utf8Lead shape{};
    if (!ReadUtf8Lead(lead, &shape)) {
      if (!PutUtf16(sink, kReplacementCharacter)) return false;
      continue;
    }
    if (i < length && IsContinuationByte(bytes[i]) && (bytes[i] < shape.firstLow || bytes[i] > shape.firstHigh)) {
      ++i;
      if (!PutUtf16(sink, kReplacementCharacter)) return false;
      continue;
    }
    char32_t codePoint = shape.payload;
    unsigned char low = shape.firstLow;
    unsigned char high = shape.firstHigh;
    int read = 0;
    while (read < shape.continuationBytes && i < length && bytes[i] >= low && bytes[i] <= high) {
      codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++i;
      ++read;
    }
    if (read < shape.continuationBytes) codePoint = kReplacementCharacter;
    if (!PutUtf16(sink, codePoint)) return false;
  }
  return true;
}

bool Windows1252ToUtf16(const unsigned char* bytes, std::size_t length, OutputSink<char16_t>& sink) {
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char byte = bytes[i];
    const char16_t unit = (byte >= 0x80 && byte <= 0x9F) ? kWindows1252High[byte - 0x80] : char16_t{byte};
    if (!sink.Put(unit)) return false;
  }
  return true;
}

// The number of leading units below 0x80. Texts that cross the boundary are nearly always ASCII.
template <typename Unit>
std::size_t AsciiPrefixLength(const Unit* units, std::size_t length) {
  std::size_t n = 0;
  while (n < length && static_cast<std::uint32_t>(units[n]) < 0x80) ++n;
  return n;
}

}  // namespace

int WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int count, char* out, int outSize) {
  std::size_t length = 0;
  if (!IsKnownCodePage(codePage) || !ResolveInputLength(text, count, &length) || !IsValidOutput(out, outSize)) {
    return 0;
  }
  OutputSink<char> sink(outSize == 0 ? nullptr : out, outSize);
  const std::size_t ascii = AsciiPrefixLength(text, length);
  if (!sink.PutAsciiRun(text, ascii)) return 0;
  text += ascii;
  length -= ascii;
  const bool converted =
      codePage == kCodePageUtf8 ? Utf16ToUtf8(text, length, sink) : Utf16ToWindows1252(text, length, sink);
  return converted ? sink.Count() : 0;
}

int MultiByteToWideChar(std::uint32_t codePage, const char* bytes, int count, char16_t* out, int outSize) {
  std::size_t length = 0;
  if (!IsKnownCodePage(codePage) || !ResolveInputLength(bytes, count, &length) || !IsValidOutput(out, outSize)) {
    return 0;
  }
  const auto* input = reinterpret_cast<const unsigned char*>(bytes);
  OutputSink<char16_t> sink(outSize == 0 ? nullptr : out, outSize);
  const std::size_t ascii = AsciiPrefixLength(input, length);
  if (!sink.PutAsciiRun(input, ascii)) return 0;
  input += ascii;
  length -= ascii;
  const bool converted =
      codePage == kCodePageUtf8 ? Utf8ToUtf16(input, length, sink) : Windows1252ToUtf16(input, length, sink);
  return converted ? sink.Count() : 0;
}

}  // namespace OAuthClient::Platform
