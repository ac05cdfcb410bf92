// ResponseHeaders: the name -> value index of a response's header text, built on the first look-up.
#include "oauth/responses/response_headers.h"

#include "oauth/text/ascii_case.h"

namespace OAuthClient {

const HeaderMap& ResponseHeaders::Map() {
  if (!map_) {
    map_.emplace();
    ParseHeaderBlock(text_, &*map_, foldNames_);
  }
  return *map_;
}

std::optional<std::u16string_view> ResponseHeaders::Find(std::u16string_view name) {
  const HeaderMap& map = Map();
  const auto found = foldNames_ ? map.find(FoldAsciiUpper(name)) : map.find(std::u16string(name));
  if (found == map.end()) return std::nullopt;
  return std::u16string_view(found->second);
}

}  // namespace OAuthClient
