// A Windows host as scripting hosts are written: it loads oauthclient.dll with LoadLibraryW, finds the factories
// with GetProcAddress and uses only the public headers. It obtains a token from the loopback authorization server
// (client_credentials), calls the protected resource with it and exits 0 only when both succeeded.
// Usage: host_program PORT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "oauthclient/oauthclient.h"

using namespace OAuthClient;

namespace {

// GetProcAddress gives a FARPROC; going through void* keeps -Wcast-function-type quiet.
template <typename Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

std::string Narrow(const WideChar* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

int Fail(const char* what) {
  std::fprintf(stderr, "host_program: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Fail("usage: host_program PORT");
  const std::wstring base = L"http://127.0.0.1:" + std::to_wstring(std::atoi(argv[1]));

  HMODULE library = ::LoadLibraryW(L"oauthclient.dll");
  if (library == nullptr) return Fail("LoadLibraryW(oauthclient.dll) failed");
  auto createClient = Export<CreateOAuthClientFunction>(library, "CreateOAuthClient");
  auto createToken = Export<CreateTokenRequestFunction>(library, "CreateTokenRequest");
  auto createResource = Export<CreateOAuthRequestFunction>(library, "CreateOAuthRequest");
  if (createClient == nullptr || createToken == nullptr || createResource == nullptr) {
    return Fail("a factory is not exported by name");
  }

  IOAuthClient* client = createClient();
  ITokenRequest* tokenRequest = createToken();
  tokenRequest->SetUrl((base + L"/oauth/token").c_str());
  tokenRequest->SetMethod(L"POST");
  tokenRequest->SetGrantType(L"client_credentials");
  tokenRequest->SetClientId(L"demo-client");
  tokenRequest->SetClientSecret(L"demo-secret");

  int exitCode = 0;
  ITokenResponse* token = nullptr;
  const std::int32_t tokenResult = client->RequestToken(tokenRequest, &token);
  const WideChar* accessToken = nullptr;
  const WideChar* tokenType = nullptr;
  if (tokenResult != 1 || token == nullptr) {
    std::fprintf(stderr, "host_program: RequestToken gave %d\n", tokenResult);
    exitCode = 1;
  } else if (token->GetStatusCode() != 200 || token->GetAccessToken(&accessToken) != 1 ||
             token->GetTokenType(&tokenType) != 1 || Narrow(tokenType) != "Bearer" || token->GetExpiresIn() <= 0) {
    std::fprintf(stderr, "host_program: token reply status %u, type '%s', expires_in %d\n", token->GetStatusCode(),
                 Narrow(tokenType).c_str(), token->GetExpiresIn());
    exitCode = 1;
  } else {
    IOAuthRequest* resourceRequest = createResource();
    resourceRequest->SetUrl((base + L"/api/resource").c_str());
    resourceRequest->SetMethod(L"GET");
    resourceRequest->SetAccessToken(accessToken);
    IResourceResponse* resource = nullptr;
    const std::int32_t resourceResult = client->RequestResource(resourceRequest, &resource);
    if (resourceResult != 1 || resource == nullptr || resource->GetStatusCode() != 200) {
      std::fprintf(stderr, "host_program: resource call gave %d, status %u\n", resourceResult,
                   resource != nullptr ? resource->GetStatusCode() : 0u);
      exitCode = 1;
    } else {
      std::printf("host_program: token of %zu characters; the resource answered 200 to it\n",
                  Narrow(accessToken).size());
    }
    if (resource != nullptr) resource->Release();
    resourceRequest->Release();
  }
  if (token != nullptr) token->Release();
  tokenRequest->Release();
  client->Release();
  ::FreeLibrary(library);
  return exitCode;
}
