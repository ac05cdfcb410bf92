// The token request's form parameters: added one by one or from text, completed from the properties, and joined
// into form text with and without URL encoding.
#include <gtest/gtest.h>

#include <string>

#include "oauth/requests/token_request.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

class TokenRequestTest : public ::testing::Test {
 protected:
  ~TokenRequestTest() override { r->Release(); }
  // Returns the form text, u"(null)" when none was written, or u"(failed)" for a result of -1.
  std::u16string Form(Bool8 urlEncode) {
    const WideChar* out = nullptr;
    return r->GetParametersText(&out, urlEncode) == 1 ? Text(out) : u"(failed)";
  }
  ITokenRequest* r = new CTokenRequest();
};

TEST_F(TokenRequestTest, ParametersTextAddsWellFormedPiecesUndecoded) {
  const char16_t* cases[][2] = {
      {u"a=1&&b=2&c&d=x=y", u"a=1&b=2&d=x=y"}, {u"=v", u"=v"}, {u"k=", u"k="},        {u"a=1&a=2", u"a=1"},
      {u"x=a+b%20c &", u"x=a+b%20c "},        {u"&&&", u"(null)"}, {u"", u"(null)"}, {nullptr, u"(null)"},
  };
  for (const auto& c : cases) {
    r->ClearParameters();
    r->AddParametersText(W(c[0]));
    EXPECT_EQ(Form(0), c[1]);
  }
}

TEST_F(TokenRequestTest, NamesAreOrderedByCodeUnitAndTheFirstValueStays) {
  for (const char16_t* name : {u"b", u"a", u"B", u"ab"}) r->AddParameter(W(name), W(u"1"));
  r->AddParameter(W(u"a"), W(u"ignored"));
  r->AddParameter(nullptr, W(u"ignored"));
  r->AddParameter(W(u"z"), nullptr);
  EXPECT_EQ(Form(0), u"B=1&a=1&ab=1&b=1");
}

// (The forms the grant flows send from completed parameters are checked in tests/grants.)
TEST_F(TokenRequestTest, PropertiesCompleteTheParametersUnlessTheHostGaveThem) {
  r->SetGrantType(W(u"client_credentials"));
  r->SetScope(W(u"b"));
  EXPECT_EQ(Form(1), u"(null)") << "no parameters: nothing is completed";
  r->AddParameter(W(u"x"), W(u"1"));
  EXPECT_EQ(Form(1), u"grant_type=client_credentials&scope=b&x=1");
  r->ClearParameters();
  r->AddParameter(W(u"scope"), W(u"a"));
  EXPECT_EQ(Form(0), u"grant_type=client_credentials&scope=a") << "completed entries go with ClearParameters";
}

TEST_F(TokenRequestTest, CredentialsAreCompletedForGrantTypesContainingPassword) {
  r->SetUserName(W(u"me"));
  r->SetPassword(W(u"p&w \u00F6"));
  const char16_t* cases[][2] = {
      {u"password", u"grant_type=password&password=p%26w+%c3%b6&r=1&username=me"},
      {u"urn:example:password-ish", u"grant_type=urn%3aexample%3apassword-ish&password=p%26w+%c3%b6&r=1&username=me"},
      {u"Password", u"grant_type=Password&r=1"},
  };
  for (const auto& c : cases) {
    r->ClearParameters();
    r->SetGrantType(W(c[0]));
    r->AddParameter(W(u"r"), W(u"1"));
    EXPECT_EQ(Form(2), c[1]) << "any non-zero byte asks for encoding";
  }
}

TEST_F(TokenRequestTest, AValueThatEncodesToNothingFailsOnlyWhenEncoding) {
  r->AddParameter(W(u"k"), W(u""));
  const WideChar kept[] = {'k', 0};
  const WideChar* out = kept;
  EXPECT_EQ(r->GetParametersText(&out, 1), -1);
  EXPECT_EQ(out, kept);
  EXPECT_EQ(Form(0), u"k=");
  EXPECT_EQ(r->GetParametersText(nullptr, 0), 1) << "a null out is not written";
}

}  // namespace
}  // namespace OAuthClient
