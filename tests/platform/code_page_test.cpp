// Code-page conversions against the results the Windows converters give with flags 0.
#include "oauth/platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

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

// The UTF-8 code page is the shared converter (tested in tests/common); these rows check that it is wired in both
// directions, with its replacement policy.
TEST(CodePageTest, Utf8IsTheSharedConverter) {
  EXPECT_EQ(ToWide(kCodePageUtf8, "\xF0\x9F\x98\x80\xC0\x80\xE2\x82" "A"), u"\U0001F600\uFFFD\uFFFD\uFFFDA");
  EXPECT_EQ(ToBytes(kCodePageUtf8, u"\u20AC\xDC00\xD800"), "\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(CodePageTest, AnsiIsWindows1252WithTheUndefinedBytesAsC1Controls) {
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
  const Case unmappable[] = {
      {"outside the code page", "?", u"\u0100"}, {"C1 control the table maps elsewhere", "?", u"\u0080"},
      {"each unit of a pair", "??", u"\U0001F600"}, {"mark", "?A", u"\uFEFFA"},
  };
  for (const Case& c : unmappable) EXPECT_EQ(ToBytes(kCodePageAnsi, c.text), c.bytes) << c.name;
}

TEST(CodePageTest, MinusOneCountsTheTerminator) {
  char bytes[3] = {1, 1, 1};
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"\u00E9", -1, bytes, 3), 3);
  EXPECT_EQ(bytes[2], '\0');
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "ab", -1, nullptr, 0), 3);
}

TEST(CodePageTest, TooSmallBufferOrInvalidArgumentsGiveZero) {
  char bytes[2];
  char16_t unit[1];
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"\u20AC", 1, bytes, 2), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageAnsi, u"abc", 3, bytes, 2), 0);
  EXPECT_EQ(MultiByteToWideChar(kCodePageUtf8, "\xF0\x9F\x98\x80", 4, unit, 1), 0) << "a pair needs two units";
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "a", 1, unit, 1), 1);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, nullptr, 3, nullptr, 0), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", 0, nullptr, 0), 0);
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", -2, nullptr, 0), 0);
  EXPECT_EQ(WideCharToMultiByte(1250, u"abc", 3, nullptr, 0), 0) << "only UTF-8 and the ANSI code page";
  EXPECT_EQ(WideCharToMultiByte(kCodePageUtf8, u"abc", 3, bytes, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(kCodePageAnsi, "abc", 3, nullptr, 8), 0);
}

}  // namespace
}  // namespace OAuthClient::Platform
