// Cutting header text into lines, splitting a line into name and value, and filling request and response
// header containers from text.
#ifndef OAUTH_TEXT_HEADER_TEXT_H
#define OAUTH_TEXT_HEADER_TEXT_H

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace OAuthClient {

// Response headers: name -> first value, keys ordered by plain code-unit comparison, looked up exactly.
using HeaderMap = std::map<std::u16string, std::u16string>;

// A name and value exactly as they stand in a header line (untrimmed).
struct HeaderField {
  std::u16string name;
  std::u16string value;
};

// Splits `line` at its first colon. Returns false for an empty line, a line without a colon, or a blank name or
// value (blank: nothing left after removing U+0020 and U+3000); `field` is then left as it was.
bool ParseHeaderLine(std::u16string_view line, HeaderField* field);

// Cuts a CR LF separated header text into lines (each line break is the first CR or LF; the two characters of the
// CR LF are skipped) and checks each with ParseHeaderLine; the lines are appended to `lines` in order. A text
// ending in CR LF has no empty last line; an empty line anywhere else fails. A CR or LF that is not part of a
// CR LF pair (LF CR included) is taken as a one-character break, so a bare-LF text loses no character of its next
// line. Returns false for an empty text or when any line fails the check; `lines` then holds nothing new.
bool SplitHeaderText(std::u16string_view text, std::vector<std::u16string>* lines);

// The add operation a request offers to AddHeadersFromText: returns 1 or a failure code.
using AddHeaderOperation = std::function<std::int32_t(std::u16string_view name, std::u16string_view value)>;

// Adds every line of `text` through `add`, in order. Returns -1 (nothing added) for an empty text or a text that
// SplitHeaderText rejects; otherwise stops at and returns the first result of `add` other than 1 (lines added
// before stay), or returns 1.
std::int32_t AddHeadersFromText(std::u16string_view text, const AddHeaderOperation& add);

// Fills `map` from a response header text cut into lines exactly as SplitHeaderText does (lone breaks included),
// without checking the lines: a line without
// a colon (the status line, an empty line) is ignored; the name is the text before the first colon, the value all
// of the text after it, both untrimmed; with `foldNames` the name is ASCII upper-cased first. The first value of a
// name stays. An empty text leaves the map unchanged.
void ParseHeaderBlock(std::u16string_view text, HeaderMap* map, bool foldNames);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_HEADER_TEXT_H
