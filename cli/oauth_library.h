// OAuthLibrary: liboauthclient loaded at run time with its factories looked up by name, and RAII owners for the
// objects it hands out.
#ifndef OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H
#define OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H

#include <memory>
#include <string>

#include "common/shared_library.h"
#include "oauthclient/oauthclient.h"
#include "oauthclient/release_ptr.h"

namespace OAuthClient {
namespace Cli {

// The loaded library. Objects made through it must end before it does: declare their owners after it.
class OAuthLibrary {
 public:
  // Loads the library by its file names and looks up the three factories. Returns false
  // and writes what went wrong to *error when the library cannot be loaded or lacks a factory.
  bool Load(std::string* error);

  // Returns the folder the library was loaded from (empty when unknown): the HTTP component lies beside it.
  std::string Folder() const;

  ReleasePtr<IOAuthClient> CreateClient() const { return ReleasePtr<IOAuthClient>(createClient_()); }
  ReleasePtr<ITokenRequest> CreateTokenRequest() const { return ReleasePtr<ITokenRequest>(createTokenRequest_()); }
  ReleasePtr<IOAuthRequest> CreateResourceRequest() const {
    return ReleasePtr<IOAuthRequest>(createResourceRequest_());
  }

 private:
  SharedLibrary library_;
  CreateOAuthClientFunction createClient_ = nullptr;
  CreateTokenRequestFunction createTokenRequest_ = nullptr;
  CreateOAuthRequestFunction createResourceRequest_ = nullptr;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_OAUTH_LIBRARY_H
