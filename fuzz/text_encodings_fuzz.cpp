// Fuzzes encoding detection, the body decoders and encoders and the UTF-16/UTF-8 converters with arbitrary bytes,
// checking that every count they report stays inside the buffers they were given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "oauth/platform/code_page.h"
#include "oauth/text/text_encodings.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

using Converter = int (*)(unsigned char*, int*, const unsigned char*, int*);

// Runs a converter with a capacity taken from the first input byte and checks the reported lengths.
void CheckConverter(Converter convert, const std::uint8_t* data, int size) {
  if (size < 1) return;
  const int capacity = data[0];
  OAuthClient::ByteBuffer out(static_cast<std::size_t>(capacity) + 1, 0);
  int outLength = capacity;
  int inLength = size - 1;
  const int result = convert(out.data(), &outLength, data + 1, &inLength);
  Check(result == -2 || result == outLength);
  Check(outLength >= 0 && outLength <= capacity);
  Check(inLength >= 0 && inLength <= size - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace OAuthClient;
  if (size > 1 << 20) return 0;
  const auto count = static_cast<std::uint32_t>(size);
  const DetectedEncoding detected = DetectEncoding(data, count);
  Check(detected >= kDetectedNone && detected <= kDetectedUtf16BigEndian);

  for (std::uint32_t encoding = 0; encoding <= 4; ++encoding) {
    std::u16string text;
    const int units = DecodeText(&text, data, count, encoding);
    if (units < 0) continue;
    Check(encoding != 4);
    // Decoding may put a U+FEFF in front that the count leaves out (ANSI), never more.
    Check(text.size() == static_cast<std::size_t>(units) || text.size() == static_cast<std::size_t>(units) + 1);
    for (std::uint32_t target = 0; target < 4; ++target) {
      ByteBuffer body;
      const int bytes = EncodeText(&body, text, target);
      Check(bytes < 0 || static_cast<std::size_t>(bytes) <= body.size());
    }
  }

  CheckConverter(Utf16LeToUtf8, data, static_cast<int>(size));
  CheckConverter(Utf16BeToUtf8, data, static_cast<int>(size));
  CheckConverter(Utf8ToUtf16Le, data, static_cast<int>(size));
  CheckConverter(Utf8ToUtf16Be, data, static_cast<int>(size));

  // The sizing call and the converting call agree for every code page.
  for (std::uint32_t codePage : {Platform::kCodePageAnsi, Platform::kCodePageUtf8}) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    const int needed = Platform::MultiByteToWideChar(codePage, bytes, static_cast<int>(size), nullptr, 0);
    if (needed <= 0) continue;
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    Check(Platform::MultiByteToWideChar(codePage, bytes, static_cast<int>(size), wide.data(), needed) == needed);
    const int back = Platform::WideCharToMultiByte(codePage, wide.data(), needed, nullptr, 0);
    std::string narrow(static_cast<std::size_t>(back), '\0');
    Check(Platform::WideCharToMultiByte(codePage, wide.data(), needed, narrow.data(), back) == back);
    if (codePage == Platform::kCodePageAnsi) Check(narrow == std::string(bytes, size));  // 1252 round-trips
  }
  return 0;
}
