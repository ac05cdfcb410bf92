// Code-page conversion on POSIX: UTF-8 and Windows-1252 converters that reproduce what the Windows converters
// give when called with flags 0.
#include "oauth/platform/code_page.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/utf8_utf16.h"

#include "oauth/platform/posix/windows_1252_best_fit.h"

namespace OAuthClient::Platform {
namespace {

constexpr std::uint32_t kCodePageWindows1252 = 1252;

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map
// to the C1 controls of the same value, as the Windows table does; every other byte is its own code point.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

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

// Puts the UTF-8 form of each code point; a lone surrogate becomes U+FFFD.
bool Utf16ToUtf8(const char16_t* text, std::size_t length, OutputSink<char>& sink) {
  char bytes[4];
  for (std::size_t i = 0; i < length;) {
    const DecodedCodePoint step = DecodeUtf16(text + i, length - i);
    const std::size_t count = EncodeUtf8(step.valid ? step.codePoint : kReplacementCharacter, bytes);
    for (std::size_t k = 0; k < count; ++k) {
      if (!sink.Put(bytes[k])) return false;
    }
    i += step.length;
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

// Decodes UTF-8; malformed sequences become U+FFFD as kMalformedUtf8Policy says.
bool Utf8ToUtf16(const unsigned char* bytes, std::size_t length, OutputSink<char16_t>& sink) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), length);
  char16_t units[2];
  for (std::size_t i = 0; i < length;) {
    const DecodedCodePoint step = DecodeUtf8(input.substr(i));
    const std::size_t count = EncodeUtf16(step.codePoint, units);
    for (std::size_t k = 0; k < count; ++k) {
      if (!sink.Put(units[k])) return false;
    }
    i += step.length;
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
