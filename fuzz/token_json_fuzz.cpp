// Fuzz target for ParseTokenJson: any UTF-16 text (the input bytes taken two at a time) must scan without reading
// out of bounds, give one of its two results, and yield names and values that are pieces of the text itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "oauth/responses/token_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  OAuthClient::TokenFieldMap fields;
  const auto result = OAuthClient::ParseTokenJson(text, &fields);
  if (result != OAuthClient::kTokenJsonScanned && result != OAuthClient::kTokenJsonNotScanned) std::abort();
  for (const auto& [name, value] : fields) {
    if (text.find(name) == std::u16string::npos || text.find(value) == std::u16string::npos) std::abort();
  }
  return 0;
}
