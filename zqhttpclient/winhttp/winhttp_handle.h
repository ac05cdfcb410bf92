// WinHttpHandle: the RAII owner of a WinHTTP session, connection or request handle.
#ifndef ZQHTTPCLIENT_WINHTTP_WINHTTP_HANDLE_H
#define ZQHTTPCLIENT_WINHTTP_WINHTTP_HANDLE_H

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <type_traits>

namespace OAuthClient::Http {

struct WinHttpClose {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using WinHttpHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, WinHttpClose>;

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_WINHTTP_HANDLE_H
