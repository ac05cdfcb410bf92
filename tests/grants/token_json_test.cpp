// ParseTokenJson: what the scanner reads out of token endpoint replies, quirks included.
#include "oauth/responses/token_json.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace OAuthClient {
namespace {

using namespace std::literals;
using Members = std::vector<std::pair<std::u16string_view, std::u16string_view>>;  // as reported, in reply order

TEST(TokenJsonScan, ReadsExactlyTheseMembers) {
  constexpr TokenJsonResult kYes = kTokenJsonScanned;
  constexpr TokenJsonResult kNo = kTokenJsonNotScanned;
  const struct {
    const char* name;
    std::u16string text;
    TokenJsonResult result;
    Members members;
  } cases[] = {
      {"PrettyPrintedReplyKeepsLineBreakInLastBareValue", u"{\r\n  \"token_type\": \"Bearer\",\r\n  \"n\": 3600 \r\n}",
       kYes, {{u"token_type", u"Bearer"}, {u"n", u"3600 \r\n"}}},
      {"BareWordsAreKeptAsText", u"{\"r\": null, \"e\": \"\"}", kYes, {{u"r", u"null"}, {u"e", u""}}},
      {"RepeatedNameIsReportedEachTime", u"{\"a\": \"first\", \"a\": \"second\"}", kYes,
       {{u"a", u"first"}, {u"a", u"second"}}},
      {"OnlyBlanksAreSkippedAfterTheColon", u"{\"a\":\t1,\"b\":\n\"2\"}", kYes, {{u"a", u"\t1"}, {u"b", u"\n\"2\""}}},
      {"TextBeforeTheObjectAndBetweenNameAndColonIsSkipped", u"junk {\"a\" junk : \"1\"}", kYes, {{u"a", u"1"}}},
      {"BackslashDoesNotProtectAQuote", u"{\"a\": \"x\\\"y\", \"b\": \"2\"}", kYes, {{u"a", u"x\\"}, {u", ", u"2"}}},
      {"NestedObjectIsCutAtItsFirstComma", u"{\"x\": {\"y\": \"1\", \"z\": \"2\"}, \"t\": \"t\"}", kYes,
       {{u"x", u"{\"y\": \"1\""}, {u"z", u"2"}}},
      {"BraceAfterBareValueDoesNotEndTheScan", u"{\"a\": 1}{\"b\": \"2\"}", kYes, {{u"a", u"1"}, {u"b", u"2"}}},
      {"BraceAfterStringValueEndsTheScan", u"{\"a\": \"1\"}, \"b\": \"2\"", kYes, {{u"a", u"1"}}},
      {"NonAsciiAndNulUnitsAreOrdinary", u"{\"n\u00e4me\": \"v\0\U0001F600\"}"s, kYes,
       {{u"n\u00e4me", u"v\0\U0001F600"sv}}},
      {"EmptyObject", u"{}", kYes, {}},
      {"OpenBraceAlone", u"{", kYes, {}},
      {"FormEncodedReply", u"access_token=abc&token_type=bearer", kNo, {}},
      {"EndsInsideName", u"{\"acc", kNo, {}},
      {"EndsBeforeColon", u"{\"a\" ", kNo, {}},
      {"EndsInBlanksAfterColon", u"{\"a\":   ", kNo, {}},
      {"EndsInsideBareValue", u"{\"a\": 12", kNo, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Members reported;
    EXPECT_EQ(ParseTokenJson(c.text, [&](auto name, auto value) { reported.emplace_back(name, value); }), c.result);
    EXPECT_EQ(reported, c.members);
  }
}

}  // namespace
}  // namespace OAuthClient
