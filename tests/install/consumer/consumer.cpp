// A host built against the installed package: creates both request objects through the exports, stores a
// URL and reads it back, and fetches a message. Exits non-zero on any mismatch.
#include <oauthclient/oauthclient.h>

#include <string_view>

int main() {
  using Text = std::basic_string_view<OAuthClient::WideChar>;
  static const OAuthClient::WideChar kUrl[] = {'h', 't', 't', 'p', 's', ':', '/', '/', 'a', '/', 0};
  OAuthClient::ITokenRequest* token = CreateTokenRequest();
  OAuthClient::IOAuthRequest* resource = CreateOAuthRequest();
  if (token == nullptr || resource == nullptr || token->SetUrl(kUrl) != 1 || resource->SetUrl(kUrl) != 1) return 2;
  const OAuthClient::WideChar* tokenUrl = nullptr;
  const OAuthClient::WideChar* resourceUrl = nullptr;
  token->GetUrl(&tokenUrl);
  resource->GetUrl(&resourceUrl);
  if (tokenUrl == nullptr || resourceUrl == nullptr || Text(tokenUrl) != kUrl || Text(resourceUrl) != kUrl) return 3;
  const OAuthClient::WideChar* message = LoadIDString(0);
  if (message == nullptr || message[0] != 'T') return 4;
  token->Release();
  resource->Release();
  return 0;
}
