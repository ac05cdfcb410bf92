// A host built against the installed package: creates both request objects through the exports, stores a
// URL and reads it back, and fetches a message. Exits non-zero on any mismatch.
#include <oauthclient/oauthclient.h>

#include <cstdio>

namespace {

bool SameText(const OAuthClient::WideChar* a, const OAuthClient::WideChar* b) {
  if (a == nullptr || b == nullptr) return false;
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

}  // namespace

int main() {
  static const OAuthClient::WideChar kUrl[] = {'h', 't', 't', 'p', 's', ':', '/', '/', 'a', '/', 0};
  OAuthClient::ITokenRequest* token = CreateTokenRequest();
  OAuthClient::IOAuthRequest* resource = CreateOAuthRequest();
  if (token == nullptr || resource == nullptr) return 1;
  const OAuthClient::WideChar* url = nullptr;
  if (token->SetUrl(kUrl) != 1) return 2;
  token->GetUrl(&url);
  if (!SameText(url, kUrl)) return 2;
  url = nullptr;
  if (resource->SetUrl(kUrl) != 1) return 3;
  resource->GetUrl(&url);
  if (!SameText(url, kUrl)) return 3;
  const OAuthClient::WideChar* message = LoadIDString(0);
  if (message == nullptr || message[0] != 'T') return 4;
  token->Release();
  resource->Release();
  return 0;
}
