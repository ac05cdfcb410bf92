// Caller-owned memory on Windows: the COM task allocator, which a host reaches through CoTaskMemFree whatever C
// runtime it was built with (the library's msvcrt heap may not be the host's).
#include "oauth/platform/caller_memory.h"

#include <objbase.h>

namespace OAuthClient::Platform {

void* AllocateForCaller(std::size_t bytes) { return ::CoTaskMemAlloc(bytes); }

}  // namespace OAuthClient::Platform
