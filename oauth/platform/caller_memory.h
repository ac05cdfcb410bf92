// Memory for the text copies a host owns and frees with its own code (see oauthclient/caller_copy.h).
#ifndef OAUTH_PLATFORM_CALLER_MEMORY_H
#define OAUTH_PLATFORM_CALLER_MEMORY_H

#include <cstddef>

namespace OAuthClient::Platform {

// Returns `bytes` of memory that FreeCallerCopy frees, or null when memory is exhausted: CoTaskMemAlloc on Windows
// (so the host need not share the library's C runtime), malloc on POSIX.
void* AllocateForCaller(std::size_t bytes);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_CALLER_MEMORY_H
