// OutgoingHeaders: the request header fields set on an HTTP client object, checked so that none can inject a line.
#include "zqhttpclient/outgoing_headers.h"

#include <algorithm>
#include <vector>

#include "common/ascii.h"
#include "common/header_lines.h"
#include "common/reused_buffer.h"
#include "common/utf8_utf16.h"

namespace OAuthClient::Http {
namespace {

// Room for a request's usual fields at the first one, so that those after it append without regrowing the list.
constexpr std::size_t kTypicalLinesBytes = 256;

// Splits "Name: value" at its first colon; false when there is none.
bool SplitField(std::string_view line, std::string_view* name, std::string_view* value) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  *name = TrimHttpSpace(line.substr(0, colon));
  *value = TrimHttpSpace(line.substr(colon + 1));
  return true;
}

bool Acceptable(std::string_view name, std::string_view value) { return IsHttpToken(name) && IsFieldValueText(value); }

}  // namespace

bool IsFieldValueText(std::string_view text) {
  // Control characters are rare; a tab among them passes.
  for (std::size_t at = FindControlByte(text, 0x20); at < text.size();
       at += 1 + FindControlByte(text.substr(at + 1), 0x20))
    if (text[at] != '\t') return false;
  return true;
}

// The name and value of the line that starts at `at`: up to the first colon, and from there to the line break.
OutgoingHeaders::Field OutgoingHeaders::ParsedFieldAt(std::size_t at) const {
  const std::string_view lines = lines_;
  const std::size_t colon = lines.find(':', at);
  const std::size_t end = lines.find('\n', colon);
  return {lines.substr(at, colon - at), lines.substr(colon + 1, end - colon - 1)};
}

std::optional<std::pair<std::size_t, std::size_t>> OutgoingHeaders::FieldNamed(std::string_view name,
                                                                               std::size_t limit) const {
  for (std::size_t index = 0, at = 0; at < limit; at = NextLineAt(index, at), ++index)
    if (EqualsIgnoringAsciiCase(FieldAt(index, at).first, name)) return std::make_pair(index, at);
  return std::nullopt;
}

void OutgoingHeaders::NoteFields() {
  notedCount_ = 0;
  for (std::size_t at = 0; at < lines_.size() && notedCount_ < kNotedFields;) {
    const auto [name, value] = ParsedFieldAt(at);
    noted_[notedCount_++] = {at, name.size(), value.size()};
    at += name.size() + 1 + value.size() + 1;
  }
}

template <typename AppendName, typename AppendValue>
bool OutgoingHeaders::Store(AppendName&& appendName, AppendValue&& appendValue) {
  const std::size_t start = lines_.size();
  if (lines_.capacity() < kTypicalLinesBytes) lines_.reserve(kTypicalLinesBytes);
  appendName(&lines_);
  const std::size_t nameSize = lines_.size() - start;
  lines_.push_back(':');
  appendValue(&lines_);
  const std::size_t valueAt = start + nameSize + 1;
  const std::size_t valueSize = lines_.size() - valueAt;
  if (!IsFieldValueText(std::string_view(lines_.data() + valueAt, valueSize))) {
    ShortenWiping(lines_, start);
    return false;
  }
  lines_.push_back('\n');
  ++fieldCount_;
  const auto same = FieldNamed(std::string_view(lines_.data() + start, nameSize), start);
  if (!same) {
    // Fewer noted fields than places means every field is noted, so the new one is the next.
    if (notedCount_ < kNotedFields) noted_[notedCount_++] = {start, nameSize, valueSize};
    return true;
  }
  // In place, so the field keeps its position; the name takes the new spelling.
  std::string line = lines_.substr(start);
  ShortenWiping(lines_, start);
  --fieldCount_;
  const std::size_t before = lines_.size();
  const std::size_t at = same->second;
  lines_.replace(at, lines_.find('\n', at) + 1 - at, line);
  WipeBeyondEnd(lines_, before);
  EmptyForReuse(line, 0);
  NoteFields();
  return true;
}

bool OutgoingHeaders::Set(std::string_view name, std::string_view value) {
  name = TrimHttpSpace(name);
  value = TrimHttpSpace(value);
  if (!IsHttpToken(name)) return false;
  return Store([name](std::string* out) { out->append(name); }, [value](std::string* out) { out->append(value); });
}

bool OutgoingHeaders::Set(std::u16string_view name, std::u16string_view value) {
  name = TrimHttpSpace(name);
  if (!IsHttpToken(name)) return false;
  value = TrimHttpSpace(value);
  return Store(
      [name](std::string* out) {  // a token is ASCII: one byte per unit
        const std::size_t at = out->size();
        out->resize(at + name.size());
        std::transform(name.begin(), name.end(), out->begin() + static_cast<std::ptrdiff_t>(at),
                       [](char16_t unit) { return static_cast<char>(unit); });
      },
      [value](std::string* out) { AppendUtf16AsUtf8(value, out); });
}

bool OutgoingHeaders::Remove(std::string_view name) {
  const auto same = FieldNamed(name, lines_.size());
  if (!same) return false;
  const std::size_t at = same->second;
  const std::size_t before = lines_.size();
  lines_.erase(at, lines_.find('\n', at) + 1 - at);
  WipeBeyondEnd(lines_, before);
  --fieldCount_;
  NoteFields();
  return true;
}

void OutgoingHeaders::Clear() {
  EmptyForReuse(lines_, lines_.capacity());
  notedCount_ = 0;
  fieldCount_ = 0;
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
  const auto field = FieldNamed(name, lines_.size());
  if (!field) return std::nullopt;
  return FieldAt(field->first, field->second).second;
}

}  // namespace OAuthClient::Http
