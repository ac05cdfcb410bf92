// The host runtime's pre-load check, asked before the HTTP client component is loaded.
#ifndef OAUTH_PLATFORM_PRELOAD_CHECK_H
#define OAUTH_PLATFORM_PRELOAD_CHECK_H

namespace OAuthClient::Platform {

// Returns false when the host runtime refuses the load of `fileName`. Calls ZQSHR.dll's function at ordinal 108
// on Windows and ZqshrPreloadCheck of libzqshr.so (linked at load time) on POSIX.
bool PreloadCheckAllows(const char16_t* fileName);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_PRELOAD_CHECK_H
