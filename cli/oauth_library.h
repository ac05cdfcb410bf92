// OAuthLibrary: liboauthclient loaded at run time with its factories looked up by name, and RAII owners for the
// objects it hands out.
#ifndef OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H
#define OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H

#include <memory>
#include <string>

#include "oauthclient/oauthclient.h"
#include "shared_library.h"

namespace OAuthClient {
namespace Cli {

// Ends an interface object through its own Release (the interfaces have no virtual destructor).
struct ReleaseDeleter {
  template <typename Interface>
  void operator()(Interface* object) const {
    if (object != nullptr) object->Release();
  }
};
template <typename Interface>
using Owned = std::unique_ptr<Interface, ReleaseDeleter>;

// The loaded library. Objects made through it must end before it does: declare their owners after it.
class OAuthLibrary {
 public:
  // Loads the library by its file names (OAuthLibraryFileNames) and looks up the three factories. Returns false
  // and writes what went wrong to *error when the library cannot be loaded or lacks a factory.
  bool Load(std::string* error);

  Owned<IOAuthClient> CreateClient() const { return Owned<IOAuthClient>(createClient_()); }
  Owned<ITokenRequest> CreateTokenRequest() const { return Owned<ITokenRequest>(createTokenRequest_()); }
  Owned<IOAuthRequest> CreateResourceRequest() const { return Owned<IOAuthRequest>(createResourceRequest_()); }

 private:
  SharedLibrary library_;
  CreateOAuthClientFunction createClient_ = nullptr;
  CreateTokenRequestFunction createTokenRequest_ = nullptr;
  CreateOAuthRequestFunction createResourceRequest_ = nullptr;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H
