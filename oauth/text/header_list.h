// HeaderList: the request-side list of header lines ("Name:value" CR LF), merged by name.
#ifndef OAUTH_TEXT_HEADER_LIST_H
#define OAUTH_TEXT_HEADER_LIST_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace OAuthClient {

// An ordered sequence of header lines, each stored as name, ":", value, CR LF with nothing trimmed or inserted.
// Filled through Add it holds at most one line per name (names compared under ASCII upper-case folding).
class HeaderList {
 public:
  // Adds "name:value" CR LF as a new last line, or, when a line's name part matches `name` under ASCII folding,
  // rewrites that line in place as name (this call's case), ":", old value part, ",", value, CR LF.
  // Returns 1, or -1 (list unchanged) for an empty or blank name or value.
  std::int32_t Add(std::u16string_view name, std::u16string_view value);

  // Returns the value part of the first line whose name part matches `name` under ASCII folding; nothing for an
  // empty name or no match.
  std::optional<std::u16string> Find(std::u16string_view name) const;

  // Returns the lines joined, with trailing CR / LF removed two characters at a time (so the last line has no
  // CR LF). An empty list gives the empty text.
  std::u16string ToText() const;

  // Removes every line.
  void Clear() { lines_.clear(); }

  // Returns the stored lines, each with its CR LF.
  const std::vector<std::u16string>& Lines() const { return lines_; }

 private:
  std::vector<std::u16string> lines_;
};

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_HEADER_LIST_H
