// HttpClientBinding: asks the host runtime, loads the HTTP client component and finds its factory.
#include "oauth/http/http_client_binding.h"

#include "oauth/platform/module_loader.h"
#include "oauth/platform/preload_check.h"

namespace OAuthClient {

// The host runtime may veto the component (for instance when its own policy forbids network access); then the
// library is never loaded and every request through this binding ends with -1. A library that loads without the
// export stays loaded until destruction all the same: the handle is owned whatever the look-up found.
HttpClientBinding::HttpClientBinding() {
  if (!Platform::PreloadCheckAllows(kHttpClientFileName)) return;
  module_ = Platform::LoadedModule(Platform::LoadModule(kHttpClientFileName));
  if (!module_) return;
  factory_ = reinterpret_cast<CreateHttpClientFunction>(Platform::FindExport(module_.Get(), "CreateHttpClient"));
}

}  // namespace OAuthClient
