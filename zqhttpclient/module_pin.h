// Keeping the component loaded once it has been used.
#ifndef ZQHTTPCLIENT_MODULE_PIN_H
#define ZQHTTPCLIENT_MODULE_PIN_H

namespace OAuthClient::Http {

// Pins this shared library in memory for the rest of the process, once (later calls do nothing): the library
// unloads its binding after every token request, and an unload would tear down the transfer pool, its warm
// connections and the TLS session cache. POSIX: dlopen of our own file with RTLD_NOLOAD | RTLD_NODELETE;
// Windows: GetModuleHandleExW with GET_MODULE_HANDLE_EX_FLAG_PIN. Returns true when the library is pinned.
bool PinComponentInMemory();

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_MODULE_PIN_H
