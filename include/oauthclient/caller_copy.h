// FreeCallerCopy: how a host frees the text copies that GetStringTriple / GetStringPair hand out.
#ifndef OAUTHCLIENT_CALLER_COPY_H
#define OAUTHCLIENT_CALLER_COPY_H

#if defined(_WIN32)
// Declared here as <objbase.h> declares it, so that this header does not bring in <windows.h>, whose macros
// (GetUserName -> GetUserNameA) would rename the interfaces' operations in the code that includes it.
extern "C" __declspec(dllimport) void __stdcall CoTaskMemFree(void* memory);
#else
#include <cstdlib>
#endif

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Frees a copy handed out by GetStringTriple / GetStringPair; null is ignored. On Windows the copies come from
// CoTaskMemAlloc, so a host frees them with CoTaskMemFree (ole32.dll) whatever C runtime it uses itself; on POSIX
// they come from malloc and are freed with free.
inline void FreeCallerCopy(WideChar* copy) {
#if defined(_WIN32)
  ::CoTaskMemFree(copy);
#else
  std::free(copy);
#endif
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_CALLER_COPY_H
