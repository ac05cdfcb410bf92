// HttpClientBinding: the hold on the HTTP client component (zqhttpclient.dll) and its CreateHttpClient factory.
#ifndef OAUTH_HTTP_HTTP_CLIENT_BINDING_H
#define OAUTH_HTTP_HTTP_CLIENT_BINDING_H

#include <memory>

#include "oauth/platform/loaded_module.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

// Ends an HTTP client object through its own Release.
struct HttpClientReleaser {
  void operator()(IHttpClient* client) const {
    if (client != nullptr) client->Release();
  }
};
// The RAII owner of one HTTP client object.
using HttpClientHandle = std::unique_ptr<IHttpClient, HttpClientReleaser>;

// The component's file name, as the host runtime's pre-load check and the loader see it.
inline constexpr char16_t kHttpClientFileName[] = u"zqhttpclient.dll";

// Binds the component once, at construction: asks the host runtime's pre-load check about "zqhttpclient.dll"; when
// allowed, loads it and looks up "CreateHttpClient". The load is held until destruction. Not copyable.
class HttpClientBinding {
 public:
  HttpClientBinding();
  HttpClientBinding(const HttpClientBinding&) = delete;
  HttpClientBinding& operator=(const HttpClientBinding&) = delete;

  // Returns true when the factory was found.
  bool IsBound() const { return factory_ != nullptr; }
  // Returns true when the library is loaded (the pre-load check allowed it and the load succeeded).
  bool IsLoaded() const { return static_cast<bool>(module_); }
  // Returns a new HTTP client object, or null when unbound or when the factory made none.
  IHttpClient* CreateClient() const { return factory_ != nullptr ? factory_() : nullptr; }

 private:
  Platform::LoadedModule module_;
  CreateHttpClientFunction factory_ = nullptr;
};

}  // namespace OAuthClient

#endif  // OAUTH_HTTP_HTTP_CLIENT_BINDING_H
