// Code-page conversions against the results the Windows converters give with flags 0.
#include "oauth/platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace OAuthClient::Platform {
namespace {

// Converts with a sizing call, then a converting call into a buffer of exactly that size.
std::u16string ToWide(std::uint32_t codePage, const std::string& bytes) {
  const int size = MultiByteToWideChar(codePage, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string text(static_cast<std::size_t>(size), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, bytes.data(), static_cast<int>(bytes.size()), text.data(), size), size);
  return text;
}

std::string ToBytes(std::uint32_t codePage, const std::u16string& text) {
  const int size = WideCharToMultiByte(codePage, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, text.data(), static_cast<int>(text.size()), bytes.data(), size), size);
  return bytes;
}

struct Case {
  const char* name;
  std::string bytes;
  std::u16string text;
};

TEST(CodePageTest, Utf8DecodingReplacesMalformedSequencesAsWindowsDoes) {
  const Case cases[] = {
      {"two-byte", "\xC3\xA9", u"\u00E9"},          {"four-byte becomes a pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"mark", "\xEF\xBB\xBF" "A", u"\uFEFFA"},     {"stray continuation", "\x80" "A", u"\uFFFDA"},
      {"overlong C0 80", "\xC0\x80", u"\uFFFD\uFFFD"}, {"overlong E0 80 80", "\xE0\x80\x80", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD"}, {"overlong then ascii", "\xE0\x80" "A", u"\uFFFDA"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"}, {"overlong four-byte", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
      {"truncated at end", "A\xE2\x82", u"A\uFFFD"}, {"broken by ascii", "\xE2\x82" "A", u"\uFFFDA"},
      {"invalid leads", "\xF5\xFF", u"\uFFFD\uFFFD"}, {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToWide(kCodePageUtf8, c.bytes), c.text) << c.name;
}

// Unicode forbids an ill-formed sequence to swallow the well-formed character after it, and Windows' converter keeps
// to Unicode since Vista. Wine 8's drops the ASCII when the lead promises more bytes than the input has left.
TEST(CodePageTest, Utf8SequenceCutShortByTheEndKeepsTheAsciiAfterIt) {
#if defined(_WIN32)
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
    GTEST_SKIP() << "Wine 8 decodes E2 41 and F0 9F 41 (ending the input) as a lone U+FFFD, which Windows does not";
#endif
  EXPECT_EQ(ToWide(kCodePageUtf8, "\xE2" "A"), u"\uFFFDA");
  EXPECT_EQ(ToWide(kCodePageUtf8, "\xF0\x9F" "A"), u"\uFFFDA");
}

TEST(CodePageTest, Utf8EncodingReplacesLoneSurrogates) {
  const Case cases[] = {
      {"three-byte", "\xE2\x82\xAC", u"\u20AC"},         {"pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"lone high", "\xEF\xBF\xBD", u"\xD800"},
      {"high then ascii", "\xEF\xBF\xBD" "A", u"\xD800" u"A"},
      {"reversed pair", "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDC00\xD800"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToBytes(kCodePageUtf8, c.text), c.bytes) << c.name;
}

TEST(CodePageTest, AnsiIsWindows1252WithBestFitAndTheUndefinedBytesAsC1Controls) {
  const Case roundTrips[] = {
      {"euro", "\x80", u"\u20AC"},
      {"undefined bytes", "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},
      {"quotes", "\x91\x92\x93\x94", u"\u2018\u2019\u201C\u201D"},
      {"last of the table", "\x9F", u"\u0178"},
      {"ascii and latin-1", "Az\xA0\xE9\xFF", u"Az\u00A0\u00E9\u00FF"},
  };
  for (const Case& c : roundTrips) {
    EXPECT_EQ(ToWide(kCodePageAnsi, c.bytes), c.text) << c.name;
    EXPECT_EQ(ToBytes(kCodePageAnsi, c.text), c.bytes) << c.name << " (back)";
  }
  // Windows replaces what the code page lacks with a look-alike where it has one, else with "?".
  const Case oneWay[] = {
      {"best fit: A with macron", "A", u"\u0100"}, {"best fit: infinity", "8", u"\u221E"},
      {"best fit: prime", "'", u"\u2032"},         {"best fit: full-width A", "A", u"\uFF21"},
      {"no byte: CJK", "?", u"\u4E00"},            {"C1 control the table maps elsewhere", "?", u"\u0080"},
      {"each unit of a pair", "??", u"\U0001F600"}, {"mark", "?A", u"\uFEFFA"},
  };
  for (const Case& c : oneWay) EXPECT_EQ(ToBytes(kCodePageAnsi, c.text), c.bytes) << c.name;
}

TEST(CodePageTest, NegativeCountsTheTerminator) {
  char bytes[3] = {1, 1, 1};
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"\u00E9", -1, bytes, 3), 3);
  EXPECT_EQ(bytes[2], '\0');
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "ab", -1, nullptr, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", -2, nullptr, 0), 4) << "any negative count works as -1";
  EXPECT_EQ(MultiByteToWideChar(kCodePageUtf8, "abc", -7, nullptr, 0), 4);
}

TEST(CodePageTest, TooSmallBufferOrInvalidArgumentsGiveZero) {
  char bytes[2];
  char16_t unit[1];
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"\u20AC", 1, bytes, 2), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageAnsi, u"abc", 3, bytes, 2), 0);
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "a", 1, unit, 1), 1);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, nullptr, 3, nullptr, 0), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", 0, nullptr, 0), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", 3, bytes, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "abc", 3, nullptr, 8), 0);
}

// Cases only the POSIX layer decides; on Windows the system converter answers them its own way.
TEST(CodePageTest, PosixLayerOnly) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows converts every installed code page, and Wine writes the first unit of a pair into a "
                  "one-unit buffer; the library asks neither";
#else
  char16_t unit[1];
  EXPECT_EQ(MultiByteToWideChar(kCodePageUtf8, "\xF0\x9F\x98\x80", 4, unit, 1), 0) << "a pair needs two units";
  EXPECT_EQ(WideCharToMultiByte(1250, u"abc", 3, nullptr, 0), 0) << "only UTF-8 and the ANSI code page";
#endif
}

}  // namespace
}  // namespace OAuthClient::Platform
