// UTF-8 <-> UTF-16: well-formed text both ways, and how much U+FFFD malformed input becomes under each policy.
#include "common/utf8_utf16.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

enum class Direction { kBoth, kDecodeOnly, kEncodeOnly };

struct Row {
  const char* name;
  std::string utf8;
  std::u16string utf16;
  Direction direction;
  MalformedUtf8 policy = kMalformedUtf8Policy;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Utf8Utf16Test : public testing::TestWithParam<Row> {};

std::u16string DecodeUnder(std::string_view bytes, MalformedUtf8 policy) {
  std::u16string out;
  char16_t units[2];
  for (std::size_t i = 0; i < bytes.size();) {
    const DecodedCodePoint step = DecodeUtf8(bytes.substr(i), policy);
    out.append(units, EncodeUtf16(step.codePoint, units));
    i += step.length;
  }
  return out;
}

TEST_P(Utf8Utf16Test, ConvertsAsTheRowSays) {
  const Row& row = GetParam();
  if (row.direction != Direction::kEncodeOnly) {
    EXPECT_EQ(DecodeUnder(row.utf8, row.policy), row.utf16);
    if (row.policy == kMalformedUtf8Policy) {
      EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16);
    }
    const bool wellFormed = row.direction == Direction::kBoth;
    EXPECT_EQ(IsValidUtf8(row.utf8), wellFormed);
    std::u16string assigned = u"earlier text";
    EXPECT_EQ(AssignUtf8AsUtf16IfValid(row.utf8, &assigned), wellFormed);
  }
  if (row.direction != Direction::kDecodeOnly) {
    EXPECT_EQ(Utf16ToUtf8(row.utf16), row.utf8);
  }
}

constexpr auto kPerByte = MalformedUtf8::kOnePerByte;
constexpr auto kSubparts = MalformedUtf8::kOnePerMaximalSubpart;

INSTANTIATE_TEST_SUITE_P(
    Rows, Utf8Utf16Test,
    testing::Values(
        Row{"Ascii", "token=abc", u"token=abc", Direction::kBoth},
        Row{"Empty", "", u"", Direction::kBoth},
        Row{"TwoThreeAndFourBytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u00E9\u20AC\U0001F600", Direction::kBoth},
        Row{"LargestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", Direction::kBoth},
        Row{"LoneHighSurrogateEncodesAsReplacement", "a\xEF\xBF\xBD" "b", u"a\xD800" u"b", Direction::kEncodeOnly},
        Row{"LoneLowSurrogateAtEndEncodesAsReplacement", "\xEF\xBF\xBD", u"\xDC00", Direction::kEncodeOnly},
        Row{"TruncatedThreeBytePerByte", "\xE2\x82" "a", u"\uFFFD\uFFFD" u"a", Direction::kDecodeOnly, kPerByte},
        Row{"EncodedSurrogateMaximalSubparts", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", Direction::kDecodeOnly, kSubparts},
        Row{"AboveU10FFFFMaximalSubparts", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", Direction::kDecodeOnly,
            kSubparts},
        Row{"BrokenFourByteRereadsTheBreakingByte", "\xF0\x9F\x98" "A", u"\uFFFD" u"A", Direction::kDecodeOnly},
        Row{"TruncatedAtEndPerByte", "ok\xF0\x9F", u"ok\uFFFD\uFFFD", Direction::kDecodeOnly, kPerByte}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// The ASCII fast paths (eight, then four units per step, then one) against a unit-by-unit encoding, with a
// non-ASCII unit at every position of a longer text: U+0080 and U+0100 would pass for bytes if a step checked
// only the low byte or saturated.
TEST(Utf16ToUtf8, NonAsciiUnitAtAnyPositionOfALongText) {
  for (const char16_t planted : {u'\u0080', u'\u0100', u'\u20AC'}) {
    for (std::size_t at = 0; at < 24; ++at) {
      std::u16string text(24, u'a');
      text[at] = planted;
      char bytes[4];
      const std::string expected = std::string(at, 'a') + std::string(bytes, EncodeUtf8(planted, bytes)) +
                                   std::string(23 - at, 'a');
      EXPECT_EQ(Utf16ToUtf8(text), expected) << int{planted} << " at " << at;
    }
  }
}

}  // namespace
}  // namespace OAuthClient
