// ParseTokenJson: what the scanner reads out of token endpoint replies, quirks included.
#include "oauth/responses/token_json.h"

#include <gtest/gtest.h>

#include <string>

namespace OAuthClient {
namespace {

struct ScanCase {
  const char* name;
  std::u16string text;
  TokenJsonResult result;
  TokenFieldMap fields;
};

class TokenJsonScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(TokenJsonScan, ReadsExactlyTheseMembers) {
  const ScanCase& c = GetParam();
  TokenFieldMap fields{{u"stale", u"entry"}};
  EXPECT_EQ(ParseTokenJson(c.text, &fields), c.result);
  EXPECT_EQ(fields, c.fields);
}

const ScanCase kScanCases[] = {
    {"TokenReply",
     u"{\"access_token\":\"2YotnFZFEjr1zCsicMWpAA\",\"token_type\":\"example\",\"expires_in\":3600,"
     u"\"refresh_token\":\"tGzv3JOkF0XG5Qx2TlKWIA\"}",
     kTokenJsonScanned,
     {{u"access_token", u"2YotnFZFEjr1zCsicMWpAA"},
      {u"token_type", u"example"},
      {u"expires_in", u"3600"},
      {u"refresh_token", u"tGzv3JOkF0XG5Qx2TlKWIA"}}},
    {"PrettyPrintedReplyKeepsLineBreakInLastBareValue",
     u"{\r\n  \"token_type\": \"Bearer\",\r\n  \"expires_in\": 3600 \r\n}",
     kTokenJsonScanned,
     {{u"token_type", u"Bearer"}, {u"expires_in", u"3600 \r\n"}}},
    {"TextBeforeTheObjectIsSkipped", u"junk {\"a\": \"1\"}", kTokenJsonScanned, {{u"a", u"1"}}},
    {"BareWordsAreKeptAsText", u"{\"refresh_token\": null, \"ok\": true, \"n\": -1}", kTokenJsonScanned,
     {{u"refresh_token", u"null"}, {u"ok", u"true"}, {u"n", u"-1"}}},
    {"EmptyStringValueIsAMember", u"{\"error\": \"\"}", kTokenJsonScanned, {{u"error", u""}}},
    {"FirstOccurrenceOfANameStays", u"{\"a\": \"first\", \"a\": \"second\"}", kTokenJsonScanned,
     {{u"a", u"first"}}},
    {"NamesKeepTheirCase", u"{\"Access_Token\": \"x\"}", kTokenJsonScanned, {{u"Access_Token", u"x"}}},
    {"OnlyBlanksAreSkippedAfterTheColon", u"{\"a\":\t1,\"b\":\n\"2\"}", kTokenJsonScanned,
     {{u"a", u"\t1"}, {u"b", u"\n\"2\""}}},
    {"AnythingBetweenNameAndColonIsSkipped", u"{\"a\" junk : \"1\"}", kTokenJsonScanned, {{u"a", u"1"}}},
    {"BackslashDoesNotProtectAQuote", u"{\"a\": \"x\\\"y\", \"b\": \"2\"}", kTokenJsonScanned,
     {{u"a", u"x\\"}, {u", ", u"2"}}},
    {"NestedObjectIsCutAtItsFirstComma",
     u"{\"x\": {\"y\": \"1\", \"z\": \"2\"}, \"access_token\": \"t\"}", kTokenJsonScanned,
     {{u"x", u"{\"y\": \"1\""}, {u"z", u"2"}}},
    {"BraceAfterBareValueDoesNotEndTheScan", u"{\"a\": 1}{\"b\": \"2\"}", kTokenJsonScanned,
     {{u"a", u"1"}, {u"b", u"2"}}},
    {"BraceAfterStringValueEndsTheScan", u"{\"a\": \"1\"}, \"b\": \"2\"", kTokenJsonScanned, {{u"a", u"1"}}},
    {"EmptyObject", u"{}", kTokenJsonScanned, {}},
    {"OpenBraceAlone", u"{", kTokenJsonScanned, {}},
    {"TextEndsBetweenMembers", u"{\"a\": \"1\", ", kTokenJsonScanned, {{u"a", u"1"}}},
    {"EmptyText", u"", kTokenJsonNotScanned, {}},
    {"FormEncodedReply", u"access_token=abc&token_type=bearer", kTokenJsonNotScanned, {}},
    {"HtmlPage", u"<html><body>Service unavailable</body></html>", kTokenJsonNotScanned, {}},
    {"EndsInsideName", u"{\"acc", kTokenJsonNotScanned, {}},
    {"EndsBeforeColon", u"{\"a\" ", kTokenJsonNotScanned, {}},
    {"EndsRightAfterColon", u"{\"a\":", kTokenJsonNotScanned, {}},
    {"EndsInBlanksAfterColon", u"{\"a\":   ", kTokenJsonNotScanned, {}},
    {"EndsInsideBareValue", u"{\"a\": 12", kTokenJsonNotScanned, {}},
    // Members read before the end stay in the map; CTokenResponse then takes none of them.
    {"EndsInsideStringValue", u"{\"token_type\": \"bearer\", \"access_token\": \"abc", kTokenJsonNotScanned,
     {{u"token_type", u"bearer"}}},
};

INSTANTIATE_TEST_SUITE_P(Replies, TokenJsonScan, ::testing::ValuesIn(kScanCases),
                         [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

TEST(TokenJsonScanText, NonAsciiAndNulUnitsAreOrdinaryCharacters) {
  TokenFieldMap fields;
  static const char16_t kText[] = u"{\"n\u00e4me\": \"v\0\U0001F600\"}";
  const std::u16string text(kText, sizeof(kText) / sizeof(kText[0]) - 1);
  ASSERT_EQ(ParseTokenJson(text, &fields), kTokenJsonScanned);
  EXPECT_EQ(fields, (TokenFieldMap{{u"n\u00e4me", std::u16string(u"v\0\U0001F600", 4)}}));
}

}  // namespace
}  // namespace OAuthClient
