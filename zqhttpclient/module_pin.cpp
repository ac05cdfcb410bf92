// Keeping the component loaded once it has been used. The one OS-specific file of the component.
#include "zqhttpclient/module_pin.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace OAuthClient::Http {
namespace {

// Any function of this library serves as the address the loader looks the library up by.
void AnchorInThisLibrary() {}

bool PinNow() {
#if defined(_WIN32)
  HMODULE self = nullptr;
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&AnchorInThisLibrary), &self) != 0;
#else
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&AnchorInThisLibrary), &info) == 0 || info.dli_fname == nullptr) return false;
  // The handle is deliberately never closed: with RTLD_NODELETE the library stays even when it is.
  return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
#endif
}

}  // namespace

bool PinComponentInMemory() {
  static const bool pinned = PinNow();
  return pinned;
}

}  // namespace OAuthClient::Http
