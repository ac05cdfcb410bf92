// Caller-owned memory on POSIX: the C runtime's malloc, which every host on the system shares.
#include "oauth/platform/caller_memory.h"

#include <cstdlib>

namespace OAuthClient::Platform {

void* AllocateForCaller(std::size_t bytes) { return std::malloc(bytes); }

}  // namespace OAuthClient::Platform
