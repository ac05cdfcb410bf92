// Header text: line cutting and checking, adding a text to a request's list, and response header blocks.
#include "oauth/text/header_text.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

using Lines = std::vector<std::u16string>;

TEST(HeaderTextTest, ParseHeaderLineSplitsAtTheFirstColonUntrimmed) {
  HeaderField field;
  ASSERT_TRUE(ParseHeaderLine(u"Content-Type: text/plain; a=b:c", &field));
  EXPECT_EQ(field.name, u"Content-Type");
  EXPECT_EQ(field.value, u" text/plain; a=b:c");
  for (std::u16string_view line : {u"", u"NoColon", u":value", u"  :value", u"Name:", u"Name: \u3000"}) {
    HeaderField untouched{u"keep", u"keep"};
    EXPECT_FALSE(ParseHeaderLine(line, &untouched)) << line.size();
    EXPECT_EQ(untouched.name, u"keep");
  }
}

// Lines are cut at CR LF, a lone CR and a lone LF (the rule itself is tested with HeaderLines in tests/common).
TEST(HeaderTextTest, SplitHeaderTextCutsAtEachBreak) {
  Lines lines;
  ASSERT_TRUE(SplitHeaderText(u"A: 1\nB: 2\rC: 3\r\n", &lines));
  EXPECT_EQ(lines, (Lines{u"A: 1", u"B: 2", u"C: 3"}));
}

TEST(HeaderTextTest, SplitHeaderTextRejectsEmptyLinesAndLinesWithoutColon) {
  for (std::u16string_view text : {u"", u"A: 1\r\n\r\nB: 2", u"\r\nA: 1", u"A: 1\r\nbroken\r\nB: 2", u"A: 1\r\n: 2",
                                   u"A: 1\n\rB: 2"}) {
    Lines lines{u"before"};
    EXPECT_FALSE(SplitHeaderText(text, &lines)) << text.size();
    EXPECT_EQ(lines, (Lines{u"before"})) << "a failed split adds nothing";
  }
}

// (Adding a text to a request's headers is checked in tests/requests.)
TEST(HeaderTextTest, AddingFromTextStopsAtTheFirstFailedAdd) {
  int calls = 0;
  EXPECT_EQ(AddHeadersFromText(u"A: 1\r\nB: 2\r\nC: 3", [&calls](auto, auto) { return ++calls == 2 ? -7 : 1; }), -7);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(AddHeadersFromText(u"A: 1\r\nbroken", [&calls](auto, auto) { return ++calls; }), -1);
  EXPECT_EQ(calls, 2) << "a text that does not split adds nothing";
}

TEST(HeaderTextTest, ParseHeaderBlockKeepsTheFirstValueOfEachNameAndTakesWhatSplittingWouldReject) {
  const std::u16string text = u"HTTP/1.1 200 OK\r\nSet-Cookie: a\r\nset-cookie: b\r\nSet-Cookie: c\r\n\r\n";
  HeaderMap exact;
  ParseHeaderBlock(text, &exact, false);
  EXPECT_EQ(exact, (HeaderMap{{u"Set-Cookie", u" a"}, {u"set-cookie", u" b"}}));
  HeaderMap folded{{u"Existing", u"stays"}};
  ParseHeaderBlock(text + u":empty name\r\nBlank: \r\nNoValue:\r\nLast:x", &folded, true);
  EXPECT_EQ(folded, (HeaderMap{{u"", u"empty name"}, {u"BLANK", u" "}, {u"Existing", u"stays"}, {u"LAST", u"x"},
                               {u"NOVALUE", u""}, {u"SET-COOKIE", u" a"}}));
}

}  // namespace
}  // namespace OAuthClient
