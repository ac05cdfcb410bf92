// CopyToCaller: hands a text property out as a copy that the caller owns (GetStringTriple / GetStringPair).
#ifndef OAUTH_REQUESTS_CALLER_COPY_H
#define OAUTH_REQUESTS_CALLER_COPY_H

#include "oauth/text/string_property.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Copies `property` into `*out` for the caller to own. When the property is unset, `*out` is left as it was.
// Otherwise what `*out` held is freed first (it must be null or a copy this function handed out) and `*out`
// receives a new zero-terminated copy from Platform::AllocateForCaller, which the caller frees with FreeCallerCopy
// (CoTaskMemFree on Windows, free on POSIX): the host frees it with its own code, not through the library's heap.
// A null `out` is ignored. Exhausted memory throws std::bad_alloc with `*out` unchanged.
void CopyToCaller(const StringProperty& property, WideChar** out);

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_CALLER_COPY_H
