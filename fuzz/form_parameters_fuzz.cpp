// Fuzzes the form parameter text a host hands to a token request ("a=1&b=2", taken as UTF-16) and the form
// encoding of its values: every piece with "=" leaves its name in the form, the unencoded form text reads back to
// the same form, and every encoded value, under both encoding policies, is made of that policy's kept characters,
// "+" and "%" escapes in its hex case.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/form_url_encoding.h"
#include "common/utf8_utf16.h"
#include "fuzz/fuzz_check.h"
#include "oauth/requests/form_parameters.h"

namespace {

using OAuthClient::Fuzz::Check;

// Checks that `encoded` is made of letters, digits, the policy's kept marks, "+" and "%" escapes in its hex case.
void CheckEncoded(std::string_view encoded, const OAuthClient::FormEncodingPolicy& policy) {
  const std::string_view hex = policy.upperCaseHex ? "0123456789ABCDEF" : "0123456789abcdef";
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c != '%') {
      Check((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
            policy.keptMarks.find(c) != std::string_view::npos);
      continue;
    }
    Check(i + 2 < encoded.size());
    for (const char digit : encoded.substr(i + 1, 2)) Check(hex.find(digit) != std::string_view::npos);
    i += 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace OAuthClient;
  if (size > 1 << 16) return 0;
  const std::u16string text = Fuzz::Utf16Of(data, size);
  FormParameters form;
  form.AddText(text);

  std::u16string_view rest = text;
  while (true) {
    const std::size_t amp = rest.find(u'&');
    const std::u16string_view piece = rest.substr(0, amp);
    const std::size_t eq = piece.find(u'=');
    if (eq != std::u16string_view::npos) Check(form.Contains(piece.substr(0, eq)));
    if (amp == std::u16string_view::npos) break;
    rest.remove_prefix(amp + 1);
  }

  const std::optional<std::u16string> plain = form.ToText(/*urlEncode=*/false);
  Check(plain.has_value() || form.IsEmpty());
  if (plain) {
    FormParameters again;
    again.AddText(*plain);
    Check(again.ToText(false) == plain);
  }
  (void)form.ToText(/*urlEncode=*/true);

  // The value encoder under both policies, on the text as UTF-8 (lone surrogates included) and on the raw bytes.
  for (const FormEncodingPolicy& policy : {kLibraryFormEncoding, kStandardFormEncoding}) {
    CheckEncoded(FormUrlEncode(Utf16ToUtf8(std::u16string_view(text)), policy), policy);
    CheckEncoded(FormUrlEncode(std::string_view(reinterpret_cast<const char*>(data), size), policy), policy);
  }
  return 0;
}
