// OAuthLibrary: binding of the library's exported factories.
#include "oauth_library.h"

namespace OAuthClient {
namespace Cli {

namespace {

template <typename Function>
Function FindFunction(const SharedLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.FindSymbol(name));
}

}  // namespace

bool OAuthLibrary::Load(std::string* error) {
  std::string messages;
  for (const char* const* name = OAuthLibraryFileNames(); *name != nullptr; ++name) {
    std::string message;
    if (library_.Open(*name, &message)) break;
    if (!messages.empty()) messages += "; ";
    messages += message;
  }
  if (!library_.IsOpen()) {
    *error = "cannot load the OAuth library: " + messages;
    return false;
  }
  createClient_ = FindFunction<CreateOAuthClientFunction>(library_, "CreateOAuthClient");
  createTokenRequest_ = FindFunction<CreateTokenRequestFunction>(library_, "CreateTokenRequest");
  createResourceRequest_ = FindFunction<CreateOAuthRequestFunction>(library_, "CreateOAuthRequest");
  if (createClient_ == nullptr || createTokenRequest_ == nullptr || createResourceRequest_ == nullptr) {
    *error = "the OAuth library lacks CreateOAuthClient, CreateTokenRequest or CreateOAuthRequest";
    return false;
  }
  return true;
}

}  // namespace Cli
}  // namespace OAuthClient
