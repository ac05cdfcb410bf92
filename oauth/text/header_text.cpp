// Header text: cutting it into lines, splitting a line into name and value, and filling header containers.
#include "oauth/text/header_text.h"

#include "common/ascii.h"
#include "common/header_lines.h"
#include "oauth/text/ascii_case.h"

namespace OAuthClient {
namespace {

// Hosts hand in header text with CR LF, bare LF or bare CR breaks, so each of them ends a line.
HeaderLines<char16_t> LinesOf(std::u16string_view text) { return HeaderLines(text, LineBreak::kCrLfOrLone); }

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
  for (const std::u16string_view line : LinesOf(text)) {
    if (!ParseHeaderLine(line, nullptr)) return false;
    cut.emplace_back(line);
  }
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
  for (const std::u16string_view line : LinesOf(text)) {
    const std::size_t colon = line.find(u':');
    if (colon == std::u16string_view::npos) continue;  // the status line, an empty line
    const std::u16string_view name = line.substr(0, colon);
    // emplace keeps the first value of a repeated name.
    map->emplace(foldNames ? FoldAsciiUpper(name) : std::u16string(name), std::u16string(line.substr(colon + 1)));
  }
}

}  // namespace OAuthClient
