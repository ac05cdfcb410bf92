// The host runtime's pre-load check on POSIX: ZqshrPreloadCheck of libzqshr.so, linked at load time.
#include "oauth/platform/preload_check.h"

#include "oauthclient/host_runtime.h"

namespace OAuthClient::Platform {

bool PreloadCheckAllows(const char16_t* fileName) { return ZqshrPreloadCheck(fileName) != 0; }

}  // namespace OAuthClient::Platform
