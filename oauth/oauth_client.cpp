// COAuthClient: the client facade behind IOAuthClient, which picks the grant flow of a token request and hands
// resource requests to its resource retriever.
#include "oauth/oauth_client.h"

#include <string_view>

#include "oauth/grants/client_credentials_grant.h"
#include "oauth/grants/extension_grants.h"
#include "oauth/grants/password_grant.h"
#include "oauth/resource/resource_retriever.h"
#include "oauth/text/boundary_text.h"
#include "oauth/text/same_text.h"

namespace OAuthClient {

namespace {

template <typename Grant>
GrantHandle MakeGrant(BasicAuthorizationCache* cache) {
  auto* grant = new Grant();
  grant->UseBasicAuthorizationCache(cache);
  return GrantHandle(grant);
}

}  // namespace

GrantHandle CreateGrantFor(const WideChar* grantType, BasicAuthorizationCache* cache) {
  // Whole-text, case-sensitive comparison: "Password" or "password " is an extension grant type of its own.
  const std::u16string_view type = ViewOf(grantType);
  if (SameText(type, u"password")) return MakeGrant<CPasswordGrant>(cache);
  if (SameText(type, u"client_credentials")) return MakeGrant<CClientCredentialsGrant>(cache);
  return MakeGrant<CExtensionGrants>(cache);
}

COAuthClient::COAuthClient() = default;

COAuthClient::~COAuthClient() {
  grant_.reset();
  retriever_.reset();
}

std::int32_t COAuthClient::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  if (request == nullptr || response == nullptr) return -1;
  // The previous grant, with its HTTP client object and its load of the component, ends before the next begins.
  grant_.reset();
  const WideChar* grantType = nullptr;
  request->GetGrantType(&grantType);
  grant_ = CreateGrantFor(grantType, &basicCache_);
  return grant_->RequestToken(request, response);
}

std::int32_t COAuthClient::RequestResource(IOAuthRequest* request, IResourceResponse** response) {
  if (request == nullptr || response == nullptr) return -1;
  if (!retriever_) retriever_ = std::make_unique<CResourceRetriever>();
  return retriever_->Retrieve(request, response);
}

void COAuthClient::Release() { delete this; }

}  // namespace OAuthClient
