// ASCII helpers: case-insensitive comparison, HTTP whitespace trimming and the token check, on 8- and 16-bit text.
#include "common/ascii.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

struct Row {
  const char* name;
  std::string text;
  std::string other;
  bool equalIgnoringCase;
  std::string trimmed;
  bool isToken;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class AsciiTest : public testing::TestWithParam<Row> {};

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

TEST_P(AsciiTest, BehavesAsTheRowSays) {
  const Row& row = GetParam();
  EXPECT_EQ(EqualsIgnoringAsciiCase(row.text, row.other), row.equalIgnoringCase);
  EXPECT_EQ(EqualsIgnoringAsciiCase(Wide(row.text), Wide(row.other)), row.equalIgnoringCase);
  EXPECT_EQ(TrimHttpSpace(row.text), row.trimmed);
  EXPECT_EQ(TrimHttpSpace(std::u16string_view(Wide(row.text))), Wide(row.trimmed));
  EXPECT_EQ(IsHttpToken(row.text), row.isToken);
  EXPECT_EQ(IsHttpToken(Wide(row.text)), row.isToken);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AsciiTest,
    testing::Values(Row{"FieldNameCaseFolds", "Content-Type", "content-TYPE", true, "Content-Type", true},
                    Row{"AllTokenMarks", "!#$%&'*+-.^_`|~09azAZ", "!#$%&'*+-.^_`|~09AZaz", true,
                        "!#$%&'*+-.^_`|~09azAZ", true},
                    Row{"LengthsDiffer", "Accept", "Accepts", false, "Accept", true},
                    Row{"OnlyAsciiLettersFold", "\xC3\xA9", "\xC3\x89", false, "\xC3\xA9", false},
                    Row{"BracketIsNotAFoldedLetter", "[", "{", false, "[", false},
                    Row{"SpacesAndTabsTrimmed", " \t a b\t ", " \t a b\t ", true, "a b", false},
                    Row{"OtherWhitespaceStays", "\r\nv\v", "\r\nV\v", true, "\r\nv\v", false},
                    Row{"EmptyIsNoToken", "", "", true, "", false},
                    Row{"SeparatorsAreNoToken", "a:b", "A:B", true, "a:b", false},
                    Row{"NulIsNoToken", std::string("GET\0", 4), std::string("get\0", 4), true,
                        std::string("GET\0", 4), false}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// The word-wise scan against a byte-by-byte reading, at every position of a control byte in a longer text (so
// that both the eight-byte steps and the tail meet it), for DEL, NUL, a tab, a space and bytes from 0x80 up.
TEST(FindControlByte, FindsTheFirstByteBelowTheLimitOrDel) {
  for (const char planted : {'\x7F', '\0', '\t', ' ', '\x80', '\xFF'}) {
    for (const unsigned char limit : {0x20, 0x21}) {
      for (std::size_t at = 0; at < 20; ++at) {
        std::string text(20, 'a');
        text[at] = planted;
        const auto b = static_cast<unsigned char>(planted);
        const bool control = b < limit || b == 0x7F;
        EXPECT_EQ(FindControlByte(text, limit), control ? at : text.size()) << int{b} << " at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace OAuthClient
