// Fuzzes the Base64 encoder of the Basic client credentials with arbitrary bytes: the text has the padded length,
// uses only the standard alphabet with "=" at the end alone, and decodes back to the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/base64.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A plain decoder of padded standard Base64, written here so that the check does not trust the code it checks.
std::string Decode(const std::string& text) {
  std::string bytes;
  unsigned bits = 0;
  int count = 0;
  for (const char c : text) {
    if (c == '=') break;
    bits = (bits << 6) | static_cast<unsigned>(kAlphabet.find(c));
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using OAuthClient::Fuzz::Check;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = OAuthClient::Base64Encode(bytes);
  Check(text.size() == (size + 2) / 3 * 4);
  if (size == 0) return 0;
  const std::size_t padding = text.size() - text.find_last_not_of('=') - 1;
  Check(padding == (3 - size % 3) % 3);
  Check(text.find_first_not_of(kAlphabet) >= text.size() - padding);
  Check(Decode(text) == bytes);
  return 0;
}
