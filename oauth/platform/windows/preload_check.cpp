// The host runtime's pre-load check on Windows: ZQSHR.dll's function, imported by ordinal 108 through the import
// library that zqshr.def describes.
#include "oauth/platform/preload_check.h"

#include "oauthclient/host_runtime.h"

namespace OAuthClient::Platform {

bool PreloadCheckAllows(const char16_t* fileName) {
  return ZqshrPreloadCheck(reinterpret_cast<const wchar_t*>(fileName)) != 0;
}

}  // namespace OAuthClient::Platform
