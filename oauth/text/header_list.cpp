// HeaderList: the request-side list of header lines, merged by name under ASCII case folding.
#include "oauth/text/header_list.h"

#include "common/ascii.h"
#include "oauth/text/ascii_case.h"

namespace OAuthClient {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

bool IsLineBreakUnit(char16_t unit) { return unit == u'\r' || unit == u'\n'; }

// The name part of a stored line: everything before its first colon, the whole line if it has none.
std::u16string_view NamePart(std::u16string_view line) { return line.substr(0, line.find(u':')); }

// The value part of a stored line: everything after its first colon, without the line's last two characters
// (its CR LF). A line without a colon has no value part.
std::u16string_view ValuePart(std::u16string_view line) {
  const std::size_t colon = line.find(u':');
  if (colon == std::u16string_view::npos) return {};
  const std::size_t start = colon + 1;
  const std::size_t end = line.size() >= 2 ? line.size() - 2 : 0;
  return end > start ? line.substr(start, end - start) : std::u16string_view();
}

std::u16string BuildLine(std::u16string_view name, std::u16string_view value) {
  std::u16string line;
  line.reserve(name.size() + 1 + value.size() + kLineBreak.size());
  line.append(name).append(1, u':').append(value).append(kLineBreak);
  return line;
}

}  // namespace

std::int32_t HeaderList::Add(std::u16string_view name, std::u16string_view value) {
  if (name.empty() || value.empty() || IsBlank(name) || IsBlank(value)) return -1;
  for (std::u16string& line : lines_) {
    if (!EqualsIgnoringAsciiCase(NamePart(line), name)) continue;
    // A repeated header is merged into one comma-separated line (RFC 9110 section 5.3), in this call's letter case.
    std::u16string merged(ValuePart(line));
    merged.append(1, u',').append(value);
    line = BuildLine(name, merged);
    return 1;
  }
  lines_.push_back(BuildLine(name, value));
  return 1;
}

std::optional<std::u16string> HeaderList::Find(std::u16string_view name) const {
  if (name.empty()) return std::nullopt;
  for (const std::u16string& line : lines_) {
    if (EqualsIgnoringAsciiCase(NamePart(line), name)) return std::u16string(ValuePart(line));
  }
  return std::nullopt;
}

std::u16string HeaderList::ToText() const {
  std::size_t size = 0;
  for (const std::u16string& line : lines_) size += line.size();
  std::u16string text;
  text.reserve(size);
  for (const std::u16string& line : lines_) text.append(line);
  // Two characters at a time, for the CR LF of the last line; a lone break left over (only possible when a name is
  // itself a line break) goes with its pair or alone, so the trimming always ends.
  while (!text.empty() && IsLineBreakUnit(text.back())) text.resize(text.size() >= 2 ? text.size() - 2 : 0);
  return text;
}

}  // namespace OAuthClient
