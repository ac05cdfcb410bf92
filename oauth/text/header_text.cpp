// Header text: cutting it into lines, splitting a line into name and value, and filling header containers.
#include "oauth/text/header_text.h"

#include "oauth/text/ascii_case.h"

namespace OAuthClient {
namespace {

// Cuts `text` into the lines between its line breaks and hands each to `visit` (which returns false to stop).
// A break is CR LF; a lone CR or LF also ends a line, one character long, so that a bare-LF text neither loses the
// first character of its next line nor steps past its end. After the last break, a non-empty remainder is the
// last line; a text ending in a break therefore has no empty last line. Returns false when `visit` stopped.
template <typename Visit>
bool ForEachHeaderLine(std::u16string_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t brk = text.find_first_of(u"\r\n");
    if (brk == std::u16string_view::npos) return visit(text);
    const bool crlf = text[brk] == u'\r' && brk + 1 < text.size() && text[brk + 1] == u'\n';
    if (!visit(text.substr(0, brk))) return false;
    text.remove_prefix(brk + (crlf ? 2 : 1));
  }
  return true;
}

}  // namespace

bool ParseHeaderLine(std::u16string_view line, HeaderField* field) {
  if (line.empty()) return false;
  const std::size_t colon = line.find(u':');
  if (colon == std::u16string_view::npos) return false;
  const std::u16string_view name = line.substr(0, colon);
  const std::u16string_view value = line.substr(colon + 1);
  if (IsBlank(value) || IsBlank(name)) return false;
  if (field != nullptr) {
    field->name.assign(name);
    field->value.assign(value);
  }
  return true;
}

bool SplitHeaderText(std::u16string_view text, std::vector<std::u16string>* lines) {
  if (text.empty()) return false;
  std::vector<std::u16string> cut;
  const bool valid = ForEachHeaderLine(text, [&cut](std::u16string_view line) {
    if (!ParseHeaderLine(line, nullptr)) return false;
    cut.emplace_back(line);
    return true;
  });
  if (!valid) return false;
  if (lines != nullptr) {
    for (std::u16string& line : cut) lines->push_back(std::move(line));
  }
  return true;
}

std::int32_t AddHeadersFromText(std::u16string_view text, const AddHeaderOperation& add) {
  std::vector<std::u16string> lines;
  if (text.empty() || !SplitHeaderText(text, &lines)) return -1;
  for (const std::u16string& line : lines) {
    HeaderField field;
    ParseHeaderLine(line, &field);  // cannot fail: SplitHeaderText checked every line
    const std::int32_t result = add(field.name, field.value);
    if (result != 1) return result;
  }
  return 1;
}

void ParseHeaderBlock(std::u16string_view text, HeaderMap* map, bool foldNames) {
  if (text.empty() || map == nullptr) return;
  ForEachHeaderLine(text, [map, foldNames](std::u16string_view line) {
    const std::size_t colon = line.find(u':');
    if (colon == std::u16string_view::npos) return true;  // the status line, an empty line
    const std::u16string_view name = line.substr(0, colon);
    // emplace keeps the first value of a repeated name.
    map->emplace(foldNames ? FoldAsciiUpper(name) : std::u16string(name), std::u16string(line.substr(colon + 1)));
    return true;
  });
}

}  // namespace OAuthClient
