// CopyToCaller: hands a text property out as a copy that the caller owns.
#include "oauth/requests/caller_copy.h"

#include <cstring>
#include <new>
#include <string_view>

#include "oauth/platform/caller_memory.h"
#include "oauthclient/caller_copy.h"

namespace OAuthClient {

void CopyToCaller(const StringProperty& property, WideChar** out) {
  if (out == nullptr || !property.IsSet()) return;
  const std::u16string_view text = property.View();
  const std::size_t bytes = (text.size() + 1) * sizeof(WideChar);
  // Allocate before freeing, so a failed allocation leaves the caller's pointer valid.
  auto* copy = static_cast<WideChar*>(Platform::AllocateForCaller(bytes));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.data(), text.size() * sizeof(WideChar));
  copy[text.size()] = 0;
  FreeCallerCopy(*out);
  *out = copy;
}

}  // namespace OAuthClient
