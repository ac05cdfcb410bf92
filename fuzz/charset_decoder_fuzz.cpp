// Fuzzes the component's body decoding: the Content-Type charset parameter and the decoder of each charset it
// knows. The first input line is the Content-Type value, the rest the body. Checks that decoding never fails, never
// gives more UTF-16 units than the body has bytes, and that a body of ASCII comes out unchanged when no mark or
// UTF-16 charset says otherwise.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "zqhttpclient/charset_decoder.h"

namespace {

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace OAuthClient;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string_view contentType = input.substr(0, lineEnd);
  const std::string_view body = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);

  const std::string charset = Http::CharsetOfContentType(contentType);
  for (const char c : charset) Fuzz::Check(c < 'A' || c > 'Z');  // lower-cased
  Fuzz::Check(charset.size() <= contentType.size());

  std::u16string text;  // decoded into again and again, as a client object does
  for (const std::string_view label :
       {std::string_view(charset), std::string_view("utf-8"), std::string_view("utf-16"), std::string_view("utf-16be"),
        std::string_view("iso-8859-1"), std::string_view("windows-1252")}) {
    Http::DecodeBody(body, label, &text);
    Fuzz::Check(text.size() <= body.size());
    // The UTF-16 labels and their Windows aliases, as the decoder knows them.
    const bool wide =
        label.substr(0, 6) == "utf-16" || label == "ucs-2" || label == "unicode" || label == "unicodefffe";
    if (!wide && IsAscii(body)) Fuzz::Check(text == std::u16string(body.begin(), body.end()));
  }
  return 0;
}
