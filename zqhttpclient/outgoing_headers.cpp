// OutgoingHeaders: the request header fields set on an HTTP client object, checked so that none can inject a line.
#include "zqhttpclient/outgoing_headers.h"

#include <algorithm>

#include "common/ascii.h"
#include "common/header_lines.h"
#include "common/utf8_utf16.h"

namespace OAuthClient::Http {
namespace {

constexpr std::size_t kTypicalFieldCount = 4;

// Splits "Name: value" at its first colon; false when there is none.
bool SplitField(std::string_view line, std::string_view* name, std::string_view* value) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  *name = TrimHttpSpace(line.substr(0, colon));
  *value = TrimHttpSpace(line.substr(colon + 1));
  return true;
}

// Drops leading and trailing spaces and tabs as TrimHttpSpace does, without a copy when there are none.
void TrimHttpSpaceInPlace(std::string* text) {
  const std::string_view trimmed = TrimHttpSpace(*text);
  if (trimmed.size() == text->size()) return;
  const auto start = static_cast<std::size_t>(trimmed.data() - text->data());
  text->erase(start + trimmed.size());
  text->erase(0, start);
}

}  // namespace

bool IsFieldValueText(std::string_view text) {
  // Control characters are rare; a tab among them passes.
  for (std::size_t at = FindControlByte(text, 0x20); at < text.size();
       at += 1 + FindControlByte(text.substr(at + 1), 0x20))
    if (text[at] != '\t') return false;
  return true;
}

bool OutgoingHeaders::Acceptable(std::string_view name, std::string_view value) {
  return IsHttpToken(name) && IsFieldValueText(value);
}

std::vector<OutgoingHeaders::Field>::iterator OutgoingHeaders::FieldNamed(std::string_view name) {
  return std::find_if(fields_.begin(), fields_.end(),
                      [&](const Field& f) { return EqualsIgnoringAsciiCase(f.first, name); });
}

bool OutgoingHeaders::Set(std::string_view name, std::string_view value) {
  return Set(std::string(TrimHttpSpace(name)), std::string(TrimHttpSpace(value)));
}

bool OutgoingHeaders::Set(std::string&& name, std::string&& value) {
  TrimHttpSpaceInPlace(&name);
  TrimHttpSpaceInPlace(&value);
  if (!Acceptable(name, value)) return false;
  Store(std::move(name), std::move(value));
  return true;
}

bool OutgoingHeaders::Set(std::u16string_view name, std::u16string_view value) {
  name = TrimHttpSpace(name);
  if (!IsHttpToken(name)) return false;
  std::string valueBytes = Utf16ToUtf8(TrimHttpSpace(value));
  if (!IsFieldValueText(valueBytes)) return false;
  std::string nameBytes(name.size(), '\0');  // a token is ASCII: one byte per unit
  std::transform(name.begin(), name.end(), nameBytes.begin(), [](char16_t unit) { return static_cast<char>(unit); });
  Store(std::move(nameBytes), std::move(valueBytes));
  return true;
}

void OutgoingHeaders::Store(std::string&& name, std::string&& value) {
  auto same = FieldNamed(name);
  if (same != fields_.end()) {
    same->first = std::move(name);
    same->second = std::move(value);
  } else {
    // Requests carry a few headers; room for them at once spares regrowing the list per header.
    if (fields_.empty()) fields_.reserve(kTypicalFieldCount);
    fields_.emplace_back(std::move(name), std::move(value));
  }
}

bool OutgoingHeaders::Remove(std::string_view name) {
  auto same = FieldNamed(name);
  if (same == fields_.end()) return false;
  fields_.erase(same);
  return true;
}

bool OutgoingHeaders::SetFromText(std::string_view text) {
  std::vector<std::pair<std::string_view, std::string_view>> parsed;
  // CR LF or a lone LF end a line; a lone CR stays in it, so the checks refuse it.
  for (std::string_view line : HeaderLines(text, LineBreak::kLf)) {
    if (line.empty()) continue;
    std::string_view name, value;
    if (!SplitField(line, &name, &value) || !Acceptable(name, value)) return false;
    parsed.emplace_back(name, value);
  }
  for (const auto& [name, value] : parsed) Set(name, value);
  return true;
}

std::optional<std::string_view> OutgoingHeaders::Find(std::string_view name) const {
  for (const Field& f : fields_)
    if (EqualsIgnoringAsciiCase(f.first, name)) return std::string_view(f.second);
  return std::nullopt;
}

}  // namespace OAuthClient::Http
