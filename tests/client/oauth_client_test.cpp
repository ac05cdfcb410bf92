// COAuthClient: the dispatch of token requests by grant type, the lifetime of grant objects and of the resource
// retriever, and what the facade does with null arguments.
#include "oauth/oauth_client.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "oauth/grants/client_credentials_grant.h"
#include "oauth/grants/extension_grants.h"
#include "oauth/grants/password_grant.h"
#include "oauth/requests/oauth_request.h"
#include "tests/grants/grant_test_support.h"

namespace OAuthClient {
namespace {

using ClientHandle = Testing::Handle<COAuthClient>;

ITokenResponse* const kPresetToken = reinterpret_cast<ITokenResponse*>(static_cast<std::uintptr_t>(0x7070));
IResourceResponse* const kPresetResource = reinterpret_cast<IResourceResponse*>(static_cast<std::uintptr_t>(0x7070));

// Runs a token request of `grantType` and returns its result; the response is released.
std::int32_t RequestToken(COAuthClient& client, const char16_t* grantType) {
  return Testing::RunTokenRequest(client, *Testing::MakeTokenRequest(grantType)).result;
}

TEST(TokenDispatch, GrantTypeSelectsTheFlowByExactMatch) {
  HttpClientDouble::Hold hold;
  const struct {
    const char16_t* grantType;  // null: not set
    const std::type_info& flow;
  } cases[] = {
      {u"password", typeid(CPasswordGrant)},
      {u"Password", typeid(CExtensionGrants)},
      {u"password ", typeid(CExtensionGrants)},
      {u"client_credentials", typeid(CClientCredentialsGrant)},
      {u"client_credential", typeid(CExtensionGrants)},
      {u"CLIENT_CREDENTIALS", typeid(CExtensionGrants)},
      {u"urn:ietf:params:oauth:grant-type:jwt-bearer", typeid(CExtensionGrants)},
      {nullptr, typeid(CExtensionGrants)},
  };
  for (const auto& c : cases) {
    ClientHandle client(new COAuthClient());
    RequestToken(*client, c.grantType);
    ASSERT_NE(client->CurrentGrant(), nullptr);
    IGrantDelegate& grant = *client->CurrentGrant();
    EXPECT_EQ(typeid(grant), c.flow) << "case " << (&c - cases);
  }
}

class OAuthClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HttpClientDouble::Reset();
    HttpClientDouble::ScriptText("GetResponseText", "{\"access_token\":\"at\"}");
  }
  HttpClientDouble::Hold hold_;
  ClientHandle client_{new COAuthClient()};
};

TEST_F(OAuthClientTest, PreviousGrantEndsWhenTheNextTokenRequestBegins) {
  auto failing = Testing::MakeTokenRequest(u"client_credentials");
  failing->SetSecureProtocol(5);
  ASSERT_EQ(Testing::RunTokenRequest(*client_, *failing).result, -1);
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 1);  // the grant keeps the object of its early end

  HttpClientDouble::ScriptResult("Send", -13);  // the flow's result is returned unchanged
  const std::size_t before = HttpClientDouble::Calls().size();
  EXPECT_EQ(RequestToken(*client_, u"urn:x:grant"), -13);
  const std::vector<std::string> calls = HttpClientDouble::Calls();
  ASSERT_GT(calls.size(), before + 1);
  EXPECT_EQ(calls[before], "Release()");  // the first grant's object, before anything of the second
  EXPECT_EQ(calls[before + 1], "CreateHttpClient()");
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 0);
}

TEST_F(OAuthClientTest, NullArgumentsGiveMinusOneAndKeepTheCurrentGrant) {
  ASSERT_EQ(RequestToken(*client_, u"client_credentials"), 1);
  IGrantDelegate* grant = client_->CurrentGrant();
  HttpClientDouble::Reset();
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  ITokenResponse* response = kPresetToken;
  EXPECT_EQ(client_->RequestToken(nullptr, &response), -1);
  EXPECT_EQ(client_->RequestToken(request.get(), nullptr), -1);
  EXPECT_EQ(response, kPresetToken);
  IResourceResponse* resource = kPresetResource;
  EXPECT_EQ(client_->RequestResource(nullptr, &resource), -1);
  EXPECT_EQ(resource, kPresetResource);
  EXPECT_EQ(client_->CurrentGrant(), grant);
  EXPECT_EQ(client_->Retriever(), nullptr);
  EXPECT_TRUE(HttpClientDouble::Calls().empty());
}

TEST(ClientLifetime, GrantHoldsTheComponentUntilReleaseAndLetsItsObjectGoFirst) {
  (new COAuthClient())->Release();  // an unused client loads nothing
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  // No hold of the test's own: the grant's load is the only one, so releasing the HTTP client object that the
  // early end kept after the unload would call into an unmapped library.
  auto* client = new COAuthClient();
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  request->SetSecureProtocol(5);
  EXPECT_EQ(Testing::RunTokenRequest(*client, *request).result, -1);
  ASSERT_EQ(HttpClientDouble::LiveObjects(), 1);
  client->Release();
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
}

TEST(ClientLifetime, RetrieverBindsOnceAndARefusalLastsForTheClient) {
  Testing::Handle<IOAuthRequest> request(new COAuthRequest());
  request->SetMethod(W(u"GET"));
  request->SetUrl(W(u"https://rs.example/api"));
  request->SetAccessToken(W(u"at"));
  ClientHandle refused(new COAuthClient());
  IResourceResponse* response = kPresetResource;
  {
    Testing::RefuseComponent refuse;
    EXPECT_EQ(refused->RequestResource(request.get(), &response), -1);
  }
  CResourceRetriever* retriever = refused->Retriever();
  EXPECT_NE(retriever, nullptr);
  EXPECT_EQ(refused->RequestResource(request.get(), &response), -1);  // allowed now, but not tried again
  EXPECT_EQ(response, kPresetResource);
  EXPECT_EQ(refused->Retriever(), retriever);
  EXPECT_FALSE(HttpClientDouble::IsLoaded());

  ClientHandle fresh(new COAuthClient());  // a new client tries again
  EXPECT_EQ(fresh->RequestResource(request.get(), &response), 1);
  ASSERT_NE(response, kPresetResource);
  response->Release();
  EXPECT_TRUE(HttpClientDouble::IsLoaded());
  fresh.reset();
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
}

}  // namespace
}  // namespace OAuthClient
