// Fuzzes the form parameter text a host hands to a token request ("a=1&b=2", taken as UTF-16) and the form
// encoding of its values: every piece with "=" leaves its name in the form, the unencoded form text reads back to
// the same form, and every encoded value is made of the kept characters, "+" and "%" escapes in lower-case hex.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "oauth/requests/form_parameters.h"
#include "oauth/text/form_url_encode.h"

namespace {

using OAuthClient::Fuzz::Check;

void CheckEncoded(std::string_view encoded) {
  constexpr std::string_view kKept = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!'()*-._~+";
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      Check(kKept.find(encoded[i]) != std::string_view::npos);
      continue;
    }
    Check(i + 2 < encoded.size());
    for (const char digit : encoded.substr(i + 1, 2)) {
      Check((digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f'));
    }
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

  // The value encoder on the whole text, and on each half, to reach the lone surrogates a cut leaves.
  CheckEncoded(FormUrlEncode(text));
  CheckEncoded(FormUrlEncode(std::u16string_view(text).substr(text.size() / 2)));
  return 0;
}
