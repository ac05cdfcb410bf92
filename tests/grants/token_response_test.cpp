// CTokenResponse: what its getters hand out from the answer it read off the HTTP client object. (The calls that
// read it are checked in the grant flows' logs.)
#include "oauth/responses/token_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oauth/http/http_client_binding.h"
#include "tests/grants/grant_test_support.h"

namespace OAuthClient {
namespace {

const WideChar kSentinel[] = OAUTHCLIENT_TEXT("sentinel");
const std::u16string kNone = u"<unchanged>";

// Returns what `read` handed out, kNone when it left *out alone; checks that only result 1 writes *out.
template <typename Read>
std::u16string Text(Read read) {
  const WideChar* out = kSentinel;
  const std::int32_t result = read(&out);
  EXPECT_EQ(result, out != kSentinel ? 1 : -1);
  return out == kSentinel ? kNone : std::u16string(AsUtf16(out));
}
std::u16string Get(CTokenResponse& response, std::int32_t (CTokenResponse::*getter)(const WideChar**)) {
  return Text([&](const WideChar** out) { return (response.*getter)(out); });
}

using Texts = std::vector<std::u16string>;
const Texts kNoMembers(7, kNone);

// The token type, access token, refresh token, error, error description, error URI and state.
Texts Members(CTokenResponse& r) {
  Texts texts;
  for (auto getter : {&CTokenResponse::GetTokenType, &CTokenResponse::GetAccessToken, &CTokenResponse::GetRefreshToken,
                      &CTokenResponse::GetError, &CTokenResponse::GetErrorDescription, &CTokenResponse::GetErrorUri,
                      &CTokenResponse::GetState}) {
    texts.push_back(Get(r, getter));
  }
  return texts;
}

class TokenResponseTest : public ::testing::Test {
 protected:
  void SetUp() override { HttpClientDouble::Reset(); }
  // A response read from a double object answering as scripted.
  CTokenResponse& Read() {
    HttpClientHandle client(binding_.CreateClient());
    EXPECT_NE(client, nullptr);
    responses_.emplace_back(CTokenResponse::Create(*client));
    return *responses_.back();
  }

  HttpClientDouble::Hold hold_;
  HttpClientBinding binding_;
  std::vector<Testing::Handle<CTokenResponse>> responses_;
};

TEST_F(TokenResponseTest, RepliesGiveTheseMembersAndKeepTheirRawText) {
  const struct {
    std::string reply;
    std::uint32_t status;  // plays no part in what is taken
    bool secondReadFails;  // the reply is scanned only when the second GetResponseText succeeds
    std::int32_t expiresIn;
    Texts members;
  } cases[] = {
      // "state" belongs to error replies only.
      {"{\"access_token\":\"at\",\"token_type\":\"Bearer\",\"expires_in\":3600,\"refresh_token\":\"rt\","
       "\"state\":\"s\"}", 400, false, 3600, {u"Bearer", u"at", u"rt", kNone, kNone, kNone, kNone}},
      // An "error" member makes an error reply whatever else is there, even when empty (then it is not stored).
      {"{\"error\":\"invalid_grant\",\"error_description\":\"bad code\",\"error_uri\":\"https://e/x\","
       "\"state\":\"xyz\",\"access_token\":\"at\",\"expires_in\":60}",
       200, false, 0, {kNone, kNone, kNone, u"invalid_grant", u"bad code", u"https://e/x", u"xyz"}},
      {"{\"error\":\"\",\"access_token\":\"at\"}", 200, false, 0, kNoMembers},
      {"{\"access_token\":\"at\",\"access_token\":\"2nd\"}", 200, false, 0,  // a repeated member keeps its first value
       {kNone, u"at", kNone, kNone, kNone, kNone, kNone}},
      // An unscanned reply gives no members, not even those read before a truncation.
      {"{\"token_type\":\"Bearer\",\"access_token\":\"at", 200, false, 0, kNoMembers},
      {"{\"access_token\":\"at\"}", 200, true, 0, kNoMembers},
      {"{\"expires_in\":\"3600\"}", 200, false, 3600, kNoMembers},  // a quoted number is read too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    responses_.clear();  // released responses are recycled: each case reads into the last one's object
    HttpClientDouble::Reset();
    HttpClientDouble::ScriptText("GetResponseText", c.reply);
    HttpClientDouble::ScriptResult("GetStatusCode", c.status);
    if (c.secondReadFails) HttpClientDouble::ScriptResult("GetResponseText", 0);  // the text is still handed out
    CTokenResponse& r = Read();
    EXPECT_EQ(Members(r), c.members);
    EXPECT_EQ(r.GetExpiresIn(), c.expiresIn);
    EXPECT_EQ(r.GetStatusCode(), c.status);
    EXPECT_EQ(Get(r, &CTokenResponse::GetResponseText), std::u16string(c.reply.begin(), c.reply.end()));
  }
}

// A large reply is kept compact until it is asked for; a recycled response widens its own reply again.
TEST_F(TokenResponseTest, LargeRepliesReadWholeAlsoInARecycledResponse) {
  for (const char fill : {'a', 'b'}) {
    responses_.clear();
    const std::string reply = "{\"pad\":\"" + std::string(70 * 1024, fill) + "\"}";
    HttpClientDouble::ScriptText("GetResponseText", reply);
    EXPECT_EQ(Get(Read(), &CTokenResponse::GetResponseText), std::u16string(reply.begin(), reply.end()));
  }
}

TEST_F(TokenResponseTest, StatusHeadersAndValueAreHandedOutAndNullOutsRefused) {
  HttpClientDouble::ScriptText("GetStatusText", "OK");
  HttpClientDouble::ScriptResponseValue(4242);
  HttpClientDouble::ScriptText("GetResponseHeadersText",
                               "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nX-Empty:\r\n\r\n");
  CTokenResponse& r = Read();
  EXPECT_EQ(Get(r, &CTokenResponse::GetStatusText), u"OK");
  auto header = [&r](const char16_t* name) {
    return Text([&](const WideChar** out) { return r.GetHeader(W(name), out); });
  };
  // The look-up ignores ASCII case and keeps values untrimmed.
  EXPECT_EQ(header(u"content-TYPE"), u" application/json");
  EXPECT_EQ(header(u"x-empty"), u"");  // not the value of the earlier look-up
  EXPECT_EQ(header(u"Content-Length"), kNone);
  EXPECT_EQ(header(nullptr), kNone);
  EXPECT_EQ(Get(r, &CTokenResponse::GetHeadersText).substr(0, 15), u"HTTP/1.1 200 OK");
  std::uintptr_t value = 0;
  EXPECT_EQ(r.GetResponseValue(&value), 1);
  EXPECT_EQ(value, 4242u);
  EXPECT_EQ(r.GetResponseValue(nullptr), -1);
  EXPECT_EQ(r.GetAccessToken(nullptr), -1);
  EXPECT_EQ(r.GetHeader(W(u"x"), nullptr), -1);

  // The text is kept only when its getter succeeds. The next response is read into the recycled object of the
  // last one, and finds only its own headers.
  responses_.clear();
  HttpClientDouble::ScriptResult("GetStatusText", 0);
  HttpClientDouble::ScriptText("GetResponseHeadersText", "HTTP/1.1 200 OK\r\nX-Other: 1\r\n\r\n");
  CTokenResponse& next = Read();
  EXPECT_EQ(Get(next, &CTokenResponse::GetStatusText), kNone);
  EXPECT_EQ(Text([&](const WideChar** out) { return next.GetHeader(W(u"content-type"), out); }), kNone);
  EXPECT_EQ(Text([&](const WideChar** out) { return next.GetHeader(W(u"x-other"), out); }), u" 1");
}

}  // namespace
}  // namespace OAuthClient
