// FormParameters: the name/value pairs of a token request, joined into form text.
#include "oauth/requests/form_parameters.h"

#include <string>

#include "common/form_url_encoding.h"
#include "common/utf8_utf16.h"

namespace OAuthClient {
namespace {

constexpr char16_t kSeparator = u'&';
constexpr char16_t kAssignment = u'=';

// Returns the form-URL-encoded UTF-8 of `value` as UTF-16, one unit per (ASCII) byte of the encoder's output; a
// lone surrogate is sent as U+FFFD. An empty value gives the empty text, which the caller refuses.
std::u16string EncodedValue(std::u16string_view value) {
  const std::string encoded = FormUrlEncode(Utf16ToUtf8(value), kLibraryFormEncoding);
  return std::u16string(encoded.begin(), encoded.end());
}

}  // namespace

void FormParameters::Add(std::u16string_view name, std::u16string_view value) {
  if (Contains(name)) return;
  entries_.emplace(std::u16string(name), std::u16string(value));
}

void FormParameters::AddText(std::u16string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find(kSeparator);
    const std::u16string_view piece = text.substr(0, end);
    const std::size_t assignment = piece.find(kAssignment);
    if (assignment != std::u16string_view::npos) Add(piece.substr(0, assignment), piece.substr(assignment + 1));
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool FormParameters::Contains(std::u16string_view name) const { return entries_.find(name) != entries_.end(); }

std::optional<std::u16string> FormParameters::ToText(bool urlEncode) const {
  std::u16string text;
  for (const auto& [name, value] : entries_) {
    // Every entry adds at least its "=", so a non-empty text means an entry came before.
    if (!text.empty()) text += kSeparator;
    text += name;
    text += kAssignment;
    if (!urlEncode) {
      text += value;
      continue;
    }
    const std::u16string encoded = EncodedValue(value);
    if (encoded.empty()) return std::nullopt;
    text += encoded;
  }
  return text;
}

}  // namespace OAuthClient
