// Conversions between the component's UTF-8 / byte strings and the wchar_t text WinHTTP takes and gives.
#include "zqhttpclient/winhttp/wide_text.h"

#include <algorithm>

#include "zqhttpclient/interface_text.h"

namespace OAuthClient::Http {
namespace {

// wchar_t is a UTF-16 unit on Windows; the shared converters work on char16_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a 16-bit unit");

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(Utf8ToUtf16(utf8)); }

std::wstring HeaderBytesToWide(std::string_view bytes) { return ToWide(HeaderBytesToUtf16(bytes)); }

std::string WideToUtf8(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

std::string WideToBytes(std::wstring_view text) {
  if (std::any_of(text.begin(), text.end(), [](wchar_t unit) { return unit > 0xFF; })) return WideToUtf8(text);
  return std::string(text.begin(), text.end());
}

}  // namespace OAuthClient::Http
