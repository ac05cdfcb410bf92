// RequestHeaderStore: the header operations that both request objects offer.
#include "oauth/requests/request_header_store.h"

#include <optional>
#include <string>
#include <string_view>

#include "oauth/text/boundary_text.h"
#include "oauth/text/header_text.h"

namespace OAuthClient {

void RequestHeaderStore::Clear() {
  headersText_.Clear();
  list_.Clear();
}

std::int32_t RequestHeaderStore::Add(const WideChar* name, const WideChar* value) {
  return list_.Add(ViewOf(name), ViewOf(value));
}

void RequestHeaderStore::Get(const WideChar* name, const WideChar** out) {
  // The name may be the very text this cache handed out last time, so it is looked up before the cache is dropped
  // (the value found is a copy of its own).
  const std::optional<std::u16string> value = list_.Find(ViewOf(name));
  headerValue_.Clear();
  if (!value) return;
  headerValue_.Set(*value);
  if (out != nullptr) *out = headerValue_.Get();
}

std::int32_t RequestHeaderStore::AddText(const WideChar* text) {
  return AddHeadersFromText(
      ViewOf(text), [this](std::u16string_view name, std::u16string_view value) { return list_.Add(name, value); });
}

void RequestHeaderStore::GetText(const WideChar** out) {
  headersText_.Clear();
  if (!list_.Lines().empty()) headersText_.Set(list_.ToText());  // most requests have no headers of their own
  if (out != nullptr) *out = headersText_.Get();
}

}  // namespace OAuthClient
