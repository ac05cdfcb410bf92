// Translation of WinHTTP's error codes into the component's HttpClientResult codes and failure texts.
#ifndef ZQHTTPCLIENT_WINHTTP_WINHTTP_RESULT_H
#define ZQHTTPCLIENT_WINHTTP_WINHTTP_RESULT_H

#include <windows.h>

#include <cstdint>
#include <string>

namespace OAuthClient::Http {

// Returns the negative HttpClientResult for a WinHTTP (or Winsock) error of a send. `viaProxy`: a proxy was set,
// so a refused connection is the proxy's.
std::int32_t TranslateWinHttpError(DWORD error, bool viaProxy);

// A one-line English text for the failure, with WinHTTP's number ("cannot connect (WinHTTP error 12029)").
// It names no URL, header or credential.
std::string DescribeWinHttpError(DWORD error, bool viaProxy);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_WINHTTP_RESULT_H
