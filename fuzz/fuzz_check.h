// What every fuzz target uses: an invariant check that stops the run (and keeps the input) when it fails, and the
// fuzzer's bytes read as UTF-16 text.
#ifndef OAUTHCLIENT_FUZZ_FUZZ_CHECK_H
#define OAUTHCLIENT_FUZZ_FUZZ_CHECK_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace OAuthClient::Fuzz {

// Aborts, so that libFuzzer reports the input as a crash, when `condition` is false.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The input bytes taken two at a time, little-endian, as UTF-16 code units (an odd last byte is dropped).
inline std::u16string Utf16Of(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

}  // namespace OAuthClient::Fuzz

#endif  // OAUTHCLIENT_FUZZ_FUZZ_CHECK_H
