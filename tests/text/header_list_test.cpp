// HeaderList: adding, merging by name, finding and writing back as text.
#include "oauth/text/header_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace OAuthClient {
namespace {

using Lines = std::vector<std::u16string>;

// (Merging a repeated name in place, with the latest case, is checked through the requests in tests/requests.)
TEST(HeaderListTest, RejectsEmptyOrBlankNamesAndValuesButKeepsOtherBlanks) {
  HeaderList list;
  ASSERT_EQ(list.Add(u" X ", u" v "), 1);
  for (auto [name, value] : {std::pair{u"", u"v"}, {u"X", u""}, {u"X", u"  "}, {u"  ", u"v"}, {u"\u3000", u"v"},
                             {u" X ", u" \u3000"}}) {
    EXPECT_EQ(list.Add(name, value), -1) << std::u16string_view(name).size();
  }
  EXPECT_EQ(list.Lines(), (Lines{u" X : v \r\n"}));
  EXPECT_EQ(list.Add(u"T", u"\t"), 1) << "a tab is content";
  EXPECT_FALSE(list.Find(u"X").has_value());
  EXPECT_EQ(list.Find(u" x "), u" v ");
}

// (Which letters fold is tested with EqualsIgnoringAsciiCase in tests/common.)
TEST(HeaderListTest, FindComparesTheNamePartBeforeTheFirstColon) {
  HeaderList list;
  ASSERT_EQ(list.Add(u"a:b", u"c"), 1);
  EXPECT_EQ(list.Find(u"A"), u"b:c");
  EXPECT_FALSE(list.Find(u"a:b").has_value());
  EXPECT_FALSE(list.Find(u"").has_value());
}

TEST(HeaderListTest, ToTextTrimsTwoCharactersAtATimeUntilNoBreakEnds) {
  HeaderList list;
  EXPECT_EQ(list.ToText(), u"");
  ASSERT_EQ(list.Add(u"A", u"1"), 1);
  ASSERT_EQ(list.Add(u"B", u"\r"), 1);  // B:CR CR LF; after CR LF goes, the CR takes the colon with it
  EXPECT_EQ(list.ToText(), u"A:1\r\nB");
  list.Clear();
  ASSERT_EQ(list.Add(u"\n", u"\r"), 1);  // LF : CR CR LF, down to a lone LF, which goes too
  EXPECT_EQ(list.ToText(), u"");
}

}  // namespace
}  // namespace OAuthClient
