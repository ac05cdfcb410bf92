// RequestHeaderStore: the header operations that both request objects offer, on a HeaderList and its two caches.
#ifndef OAUTH_REQUESTS_REQUEST_HEADER_STORE_H
#define OAUTH_REQUESTS_REQUEST_HEADER_STORE_H

#include <cstdint>

#include "oauth/text/header_list.h"
#include "oauth/text/string_property.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The request's header lines plus the texts last handed out by Get (one value) and GetText (all lines). A handed
// out text stays valid until the next call of the same getter (GetText's also until Clear) or destruction, so a
// text obtained before headers are added keeps showing the old state. Null out-pointers are never written.
class RequestHeaderStore {
 public:
  // Drops the GetText cache and removes every line.
  void Clear();
  // Adds a header by HeaderList::Add (merged into the line of the same name). 1, or -1 (nothing changed) for a
  // null, empty or blank name or value.
  std::int32_t Add(const WideChar* name, const WideChar* value);
  // Drops the Get cache, then looks `name` up (ASCII case-insensitive). On a match the cache takes a copy of the
  // value and *out receives it (null for an empty value); a null or empty name or no match leaves *out as it was.
  void Get(const WideChar* name, const WideChar** out);
  // Adds every line of a CR LF separated "Name: value" text in order. -1 and nothing added for a null or empty
  // text or when any line is malformed; otherwise the first failing Add's result (lines before it stay), or 1.
  std::int32_t AddText(const WideChar* text);
  // Rebuilds the GetText cache from the lines (joined, without a final CR LF) and writes it to *out; null when
  // there are no headers.
  void GetText(const WideChar** out);
  // Returns the lines, for the code that copies them into an HTTP client object.
  const HeaderList& List() const { return list_; }

 private:
  HeaderList list_;
  StringProperty headersText_;
  StringProperty headerValue_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_REQUEST_HEADER_STORE_H
