// The functions that liboauthclient.so / oauthclient.dll exports by plain name: the object factories and the
// message look-up. Each one only translates between the boundary and the objects behind it.
#include "oauthclient/exports.h"

#include "oauth/messages/message_table.h"
#include "oauth/oauth_client.h"
#include "oauth/requests/oauth_request.h"
#include "oauth/requests/token_request.h"
#include "oauth/text/boundary_text.h"

extern "C" {

OAUTHCLIENT_API OAuthClient::IOAuthClient* CreateOAuthClient() { return new OAuthClient::COAuthClient(); }

OAUTHCLIENT_API OAuthClient::IOAuthRequest* CreateOAuthRequest() { return new OAuthClient::COAuthRequest(); }

OAUTHCLIENT_API OAuthClient::ITokenRequest* CreateTokenRequest() { return new OAuthClient::CTokenRequest(); }

OAUTHCLIENT_API const OAuthClient::WideChar* LoadIDString(std::int32_t id) {
  return OAuthClient::AsWide(OAuthClient::MessageTable::Instance().Find(id));
}

OAUTHCLIENT_API void SetMessageLanguage(std::uint32_t languageCode) {
  OAuthClient::MessageTable::ChooseLanguage(languageCode);
}

}  // extern "C"
