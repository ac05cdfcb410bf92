// CTokenResponse: what it reads from the HTTP client object and what its getters hand out.
#include "oauth/responses/token_response.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/grants/grant_test_support.h"

namespace OAuthClient {
namespace {

using Testing::TextOf;

const WideChar kSentinel[] = u"sentinel";

using TextGetter = std::int32_t (CTokenResponse::*)(const WideChar**);

// The result and text of one getter, "<unchanged>" when it left *out alone.
std::u16string Get(CTokenResponse& response, TextGetter getter) {
  const WideChar* out = kSentinel;
  const std::int32_t result = (response.*getter)(&out);
  const std::u16string text = TextOf(out, kSentinel);
  EXPECT_EQ(result == 1, text != u"<unchanged>") << "result " << result;
  return text;
}

class TokenResponseTest : public ::testing::Test {
 protected:
  void SetUp() override { HttpClientDouble::Reset(); }

  // A response read from a double object answering with `reply` (status 200 unless scripted otherwise).
  CTokenResponse* ResponseFor(const std::string& reply) {
    HttpClientDouble::ScriptText("GetResponseText", reply);
    return Read();
  }
  CTokenResponse* Read() {
    HttpClientHandle client = factory_.Make();
    EXPECT_NE(client, nullptr);
    auto* response = new CTokenResponse(*client);
    responses_.push_back(response);
    return response;
  }
  void TearDown() override {
    for (CTokenResponse* response : responses_) response->Release();
  }

  HttpClientDouble::Hold hold_;
  Testing::DoubleFactory factory_;
  std::vector<CTokenResponse*> responses_;
};

TEST_F(TokenResponseTest, ConstructionReadsTheAnswerInThisOrderAndNothingElse) {
  HttpClientDouble::ScriptText("GetResponseText", "{}");
  Read();
  const std::vector<std::string> expected = {
      "CreateHttpClient()",        "GetResponseText()",        "GetResponseValue()", "GetStatusCode()",
      "GetStatusText()",           "GetResponseHeadersText()", "GetResponseText()",  "Release()",
  };
  EXPECT_EQ(HttpClientDouble::Calls(), expected);
}

TEST_F(TokenResponseTest, TokenReplyGivesTokenMembersOnly) {
  CTokenResponse& r = *ResponseFor(
      "{\"access_token\":\"at\",\"token_type\":\"Bearer\",\"expires_in\":3600,\"refresh_token\":\"rt\","
      "\"state\":\"s\",\"scope\":\"read\"}");
  EXPECT_EQ(Get(r, &CTokenResponse::GetAccessToken), u"at");
  EXPECT_EQ(Get(r, &CTokenResponse::GetTokenType), u"Bearer");
  EXPECT_EQ(Get(r, &CTokenResponse::GetRefreshToken), u"rt");
  EXPECT_EQ(r.GetExpiresIn(), 3600);
  EXPECT_EQ(Get(r, &CTokenResponse::GetError), u"<unchanged>");
  EXPECT_EQ(Get(r, &CTokenResponse::GetState), u"<unchanged>");  // "state" belongs to error replies only
}

TEST_F(TokenResponseTest, ErrorMemberMakesAnErrorReplyWhateverElseIsThere) {
  CTokenResponse& r = *ResponseFor(
      "{\"error\":\"invalid_grant\",\"error_description\":\"bad code\",\"error_uri\":\"https://e/x\","
      "\"state\":\"xyz\",\"access_token\":\"at\",\"expires_in\":60}");
  EXPECT_EQ(Get(r, &CTokenResponse::GetError), u"invalid_grant");
  EXPECT_EQ(Get(r, &CTokenResponse::GetErrorDescription), u"bad code");
  EXPECT_EQ(Get(r, &CTokenResponse::GetErrorUri), u"https://e/x");
  EXPECT_EQ(Get(r, &CTokenResponse::GetState), u"xyz");
  EXPECT_EQ(Get(r, &CTokenResponse::GetAccessToken), u"<unchanged>");
  EXPECT_EQ(r.GetExpiresIn(), 0);
}

TEST_F(TokenResponseTest, EmptyErrorStillMakesAnErrorReplyButIsNotStored) {
  CTokenResponse& r = *ResponseFor("{\"error\":\"\",\"access_token\":\"at\"}");
  EXPECT_EQ(Get(r, &CTokenResponse::GetError), u"<unchanged>");
  EXPECT_EQ(Get(r, &CTokenResponse::GetAccessToken), u"<unchanged>");
  HttpClientDouble::ScriptResult("GetStatusCode", 400);  // the status plays no part in the choice
  CTokenResponse& badRequest = *ResponseFor("{\"access_token\":\"at\"}");
  EXPECT_EQ(badRequest.GetStatusCode(), 400u);
  EXPECT_EQ(Get(badRequest, &CTokenResponse::GetAccessToken), u"at");
}

TEST_F(TokenResponseTest, ExpiresInIsReadAsTheRuntimeReadsNumbers) {
  const struct {
    const char* reply;
    std::int32_t expiresIn;
  } cases[] = {
      {"{\"expires_in\":3600}", 3600},
      {"{\"expires_in\":\"3600\"}", 3600},
      {"{\"expires_in\": 3600 \r\n}", 3600},
      {"{\"expires_in\":-1}", -1},
      {"{\"expires_in\":12abc}", 12},
      {"{\"expires_in\":abc}", 0},
      {"{\"expires_in\":99999999999}", INT32_MAX},
      {"{\"access_token\":\"at\"}", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResponseFor(c.reply)->GetExpiresIn(), c.expiresIn) << c.reply;
  }
}

TEST_F(TokenResponseTest, UnscannedRepliesGiveNoMembersButKeepTheRawText) {
  const char* replies[] = {
      "access_token=at&token_type=bearer",
      "<html>Bad gateway</html>",
      "{\"token_type\":\"Bearer\",\"access_token\":\"at",
      "{\"expires_in\":3600",
  };
  for (const char* reply : replies) {
    CTokenResponse& r = *ResponseFor(reply);
    EXPECT_EQ(Get(r, &CTokenResponse::GetTokenType), u"<unchanged>") << reply;
    EXPECT_EQ(Get(r, &CTokenResponse::GetAccessToken), u"<unchanged>") << reply;
    EXPECT_EQ(r.GetExpiresIn(), 0) << reply;
    const std::string raw(reply);
    EXPECT_EQ(Get(r, &CTokenResponse::GetResponseText), std::u16string(raw.begin(), raw.end()));
  }
}

TEST_F(TokenResponseTest, SecondReadMustSucceedForTheReplyToBeScanned) {
  HttpClientDouble::ScriptResult("GetResponseText", 0);  // the double still hands out the text
  CTokenResponse& r = *ResponseFor("{\"access_token\":\"at\"}");
  EXPECT_EQ(Get(r, &CTokenResponse::GetResponseText), u"{\"access_token\":\"at\"}");
  EXPECT_EQ(Get(r, &CTokenResponse::GetAccessToken), u"<unchanged>");
}

TEST_F(TokenResponseTest, StatusTextIsKeptOnlyWhenItsGetterSucceeds) {
  HttpClientDouble::ScriptText("GetStatusText", "OK");
  EXPECT_EQ(Get(*Read(), &CTokenResponse::GetStatusText), u"OK");
  HttpClientDouble::ScriptResult("GetStatusText", 0);
  EXPECT_EQ(Get(*Read(), &CTokenResponse::GetStatusText), u"<unchanged>");
}

TEST_F(TokenResponseTest, HeaderLookUpIgnoresAsciiCaseAndKeepsValuesUntrimmed) {
  HttpClientDouble::ScriptText("GetResponseHeadersText",
                               "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nX-Empty:\r\n"
                               "Cache-Control: no-store\r\ncache-control: second\r\n\r\n");
  CTokenResponse& r = *Read();
  const WideChar* out = kSentinel;
  ASSERT_EQ(r.GetHeader(u"content-type", &out), 1);
  EXPECT_EQ(TextOf(out, kSentinel), u" application/json");
  ASSERT_EQ(r.GetHeader(u"CACHE-control", &out), 1);
  EXPECT_EQ(TextOf(out, kSentinel), u" no-store");
  ASSERT_EQ(r.GetHeader(u"x-empty", &out), 1);
  EXPECT_EQ(TextOf(out, kSentinel), u"");  // not the value of the earlier look-up

  out = kSentinel;
  EXPECT_EQ(r.GetHeader(u"Content-Length", &out), -1);
  EXPECT_EQ(r.GetHeader(nullptr, &out), -1);
  EXPECT_EQ(out, kSentinel);
  EXPECT_EQ(Get(r, &CTokenResponse::GetHeadersText).substr(0, 15), u"HTTP/1.1 200 OK");
}

TEST_F(TokenResponseTest, ResponseValueIsPassedOnAndNullOutsAreRefused) {
  HttpClientDouble::ScriptResponseValue(4242);
  CTokenResponse& r = *Read();
  std::uintptr_t value = 0;
  EXPECT_EQ(r.GetResponseValue(&value), 1);
  EXPECT_EQ(value, 4242u);
  EXPECT_EQ(r.GetResponseValue(nullptr), -1);
  EXPECT_EQ(r.GetAccessToken(nullptr), -1);
  EXPECT_EQ(r.GetHeader(u"x", nullptr), -1);
}

}  // namespace
}  // namespace OAuthClient
