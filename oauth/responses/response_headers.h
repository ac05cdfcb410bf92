// ResponseHeaders: the name -> value index of a response's header text, built on the first look-up.
#ifndef OAUTH_RESPONSES_RESPONSE_HEADERS_H
#define OAUTH_RESPONSES_RESPONSE_HEADERS_H

#include <optional>
#include <string>
#include <string_view>

#include "oauth/text/header_text.h"

namespace OAuthClient {

// Most hosts read a token or a resource and never ask for a single header, so the index (one map node and two
// strings per header) is only built when the first name is looked up. The result is the same as indexing at
// once: the text never changes after Set.
class ResponseHeaders {
 public:
  // `foldNames`: names are indexed, and looked up, with ASCII letters upper-cased.
  explicit ResponseHeaders(bool foldNames) : foldNames_(foldNames) {}

  // Indexes `text`, a copy that the response keeps unchanged for as long as this object lives (the response holds
  // the text it hands out; the index only points into it). Called once, before any Find.
  void Set(std::u16string_view text) { text_ = text; }

  // The first value stored under `name` (untrimmed, possibly empty), or nothing.
  std::optional<std::u16string_view> Find(std::u16string_view name);

 private:
  // The whole index (built now if it was not yet).
  const HeaderMap& Map();

  bool foldNames_;
  std::u16string_view text_;
  std::optional<HeaderMap> map_;
};

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_RESPONSE_HEADERS_H
