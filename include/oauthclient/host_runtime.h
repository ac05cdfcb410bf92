// The host runtime's pre-load check (libzqshr.so / ZQSHR.dll), which the library asks before it loads the HTTP
// client component.
#ifndef OAUTHCLIENT_HOST_RUNTIME_H
#define OAUTHCLIENT_HOST_RUNTIME_H

#include "oauthclient/wide_char.h"

#if defined(_WIN32)
#if defined(ZQSHR_BUILDING)
// ZQSHR.dll's exports are listed in zqshr.def, which places the pre-load check at ordinal 108.
#define ZQSHR_API
#else
#define ZQSHR_API __declspec(dllimport)
#endif
#else
#define ZQSHR_API __attribute__((visibility("default")))
#endif

extern "C" {

// Returns 0 to refuse loading the library named `fileName`, anything else to allow it. On Windows this function
// is ZQSHR.dll's export at ordinal 108. A null name is allowed (no refusal can name it).
ZQSHR_API int ZqshrPreloadCheck(const OAuthClient::WideChar* fileName);

// Test hook of the stand-in, thread-safe: makes ZqshrPreloadCheck refuse `fileName` (ASCII letter case ignored,
// as for Windows file names) when `refuse` is non-zero, or allow it again. A null name clears every refusal.
ZQSHR_API void ZqshrSetRefused(const OAuthClient::WideChar* fileName, int refuse);

}  // extern "C"

#endif  // OAUTHCLIENT_HOST_RUNTIME_H
