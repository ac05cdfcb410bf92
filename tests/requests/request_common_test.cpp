// What both request objects share: the set-string rule of every text property, the header operations, and the
// caller-owned copies of the string pair and triple. (That every property and transport setting is stored unchanged
// and read back through its own slot is checked in tests/host.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "oauth/requests/oauth_request.h"
#include "oauthclient/caller_copy.h"
#include "oauth/requests/token_request.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

template <typename I>
struct TextProperty {
  std::int32_t (I::*set)(const WideChar*);
  void (I::*get)(const WideChar**);
};

struct ResourceRequestKind {
  using I = IOAuthRequest;
  static I* Make() { return new COAuthRequest(); }
  static std::vector<TextProperty<I>> Properties() {
    return {{&I::SetUrl, &I::GetUrl}, {&I::SetMethod, &I::GetMethod}, {&I::SetAccessToken, &I::GetAccessToken}};
  }
};

struct TokenRequestKind {
  using I = ITokenRequest;
  static I* Make() { return new CTokenRequest(); }
  static std::vector<TextProperty<I>> Properties() {
    return {{&I::SetUrl, &I::GetUrl},           {&I::SetMethod, &I::GetMethod},
            {&I::SetGrantType, &I::GetGrantType}, {&I::SetClientId, &I::GetClientId},
            {&I::SetClientSecret, &I::GetClientSecret}, {&I::SetScope, &I::GetScope},
            {&I::SetUserName, &I::GetUserName}, {&I::SetPassword, &I::GetPassword}};
  }
};

template <typename Kind>
class RequestCommonTest : public ::testing::Test {
 protected:
  using I = typename Kind::I;
  ~RequestCommonTest() override { r->Release(); }
  std::u16string Read(void (I::*get)(const WideChar**)) {
    const WideChar* out = nullptr;
    (r->*get)(&out);
    return Text(out);
  }
  I* r = Kind::Make();
};

using RequestKinds = ::testing::Types<ResourceRequestKind, TokenRequestKind>;
TYPED_TEST_SUITE(RequestCommonTest, RequestKinds);

TYPED_TEST(RequestCommonTest, EveryTextPropertyCanBeReplacedButNeverCleared) {
  const auto properties = TypeParam::Properties();
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const auto& [set, get] = properties[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(this->Read(get), u"(null)");
    const std::u16string value = u"v\u00E9\U0001F600" + std::u16string(i + 1, u'x');
    EXPECT_EQ((this->r->*set)(W(value.c_str())), 1);
    EXPECT_EQ((this->r->*set)(W(u"")), -1);
    EXPECT_EQ((this->r->*set)(nullptr), -1);
    const WideChar* own = nullptr;
    (this->r->*get)(&own);
    EXPECT_EQ((this->r->*set)(own), 1) << "storing the property's own text again";
    EXPECT_EQ(this->Read(get), value);
  }
  for (std::size_t i = 0; i < properties.size(); ++i) {
    EXPECT_EQ(this->Read(properties[i].get).size(), 5 + i) << "properties are independent";
  }
}

TYPED_TEST(RequestCommonTest, HeadersMergeByNameAndHandOutSnapshots) {
  auto* r = this->r;
  EXPECT_EQ(r->AddHeader(W(u"Accept"), W(u"text/plain")), 1);
  const WideChar* snapshot = nullptr;
  r->GetHeadersText(&snapshot);
  EXPECT_EQ(r->AddHeadersText(W(u"X-One: 1\r\naccept:application/json")), 1);
  EXPECT_EQ(Text(snapshot), u"Accept:text/plain") << "the handed-out text stays until the next call";
  EXPECT_EQ(r->AddHeadersText(W(u"A: 1\r\nno colon")), -1);
  EXPECT_EQ(r->AddHeadersText(nullptr), -1);
  EXPECT_EQ(r->AddHeader(nullptr, W(u"v")), -1);
  EXPECT_EQ(r->AddHeader(W(u"N"), nullptr), -1);
  EXPECT_EQ(this->Read(&TestFixture::I::GetHeadersText), u"accept:text/plain,application/json\r\nX-One: 1");

  const WideChar kept[] = {'k', 0};
  for (const char16_t* missing : {static_cast<const char16_t*>(nullptr), u"", u"X-On", u"X-One2"}) {
    const WideChar* out = kept;
    r->GetHeader(W(missing), &out);
    EXPECT_EQ(out, kept);
  }
  const WideChar* out = nullptr;
  r->GetHeader(W(u"x-ONE"), &out);
  EXPECT_EQ(Text(out), u" 1") << "ASCII case-insensitive, value untrimmed";
  r->AddHeader(W(u" 1"), W(u"self"));
  r->GetHeader(out, &out);  // the cached value as the name: it must be read before the cache is dropped
  EXPECT_EQ(Text(out), u"self");
  r->ClearHeaders();
  EXPECT_EQ(this->Read(&TestFixture::I::GetHeadersText), u"(null)");
}

TYPED_TEST(RequestCommonTest, StringPairAndTripleAreHandedOutAsCallerOwnedCopies) {
  auto* r = this->r;
  WideChar kept[] = {'k', 0};
  WideChar *a = kept, *b = kept, *c = kept;
  r->GetStringTriple(&a, &b, &c);
  r->GetStringPair(&a, &b);
  EXPECT_TRUE(a == kept && b == kept && c == kept) << "unset elements leave the outs as they were";

  r->SetStringTriple(W(u"http://proxy:3128"), W(u"user"), W(u"secret"));
  r->SetStringTriple(nullptr, W(u""), W(u"changed"));
  a = b = c = nullptr;
  r->GetStringTriple(&a, &b, &c);
  EXPECT_EQ(Text(a) + u"|" + Text(b) + u"|" + Text(c), u"http://proxy:3128|user|changed");
  r->GetStringTriple(&a, &b, &c);  // frees the earlier copies before handing out new ones
  r->SetStringPair(W(u"http://other:8080"), nullptr);
  WideChar* e = kept;
  r->GetStringPair(&a, &e);
  EXPECT_EQ(Text(a), u"http://other:8080");
  EXPECT_EQ(e, kept);
  for (WideChar* copy : {a, b, c}) FreeCallerCopy(copy);
}

}  // namespace
}  // namespace OAuthClient
