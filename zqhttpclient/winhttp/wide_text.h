// Conversions between the component's UTF-8 / byte strings and the wchar_t text WinHTTP takes and gives.
#ifndef ZQHTTPCLIENT_WINHTTP_WIDE_TEXT_H
#define ZQHTTPCLIENT_WINHTTP_WIDE_TEXT_H

#include <string>
#include <string_view>

namespace OAuthClient::Http {

// UTF-8 to wchar_t text (a malformed sequence becomes U+FFFD): URLs, header lines, proxy names, credentials.
std::wstring Utf8ToWide(std::string_view utf8);

// Header bytes to wchar_t text as HeaderBytesToUtf16 reads them (UTF-8 when well-formed, else ISO-8859-1):
// methods, and the Location of an answer.
std::wstring HeaderBytesToWide(std::string_view bytes);

// wchar_t text that WinHTTP made of received bytes back to bytes: one byte per unit when every unit is below
// U+0100 (WinHTTP widened the bytes one to one), else UTF-8.
std::string WideToBytes(std::wstring_view text);

// wchar_t text to UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string WideToUtf8(std::wstring_view text);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_WIDE_TEXT_H
