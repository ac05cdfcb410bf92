// Module loading on Windows: LoadLibraryW, GetProcAddress and FreeLibrary.
#include <windows.h>
// <windows.h> defines FreeModule as a macro; module_loader.h, included after it, removes that macro.
#include "oauth/platform/module_loader.h"

namespace OAuthClient::Platform {

ModuleHandle LoadModule(const char16_t* fileName) {
  if (fileName == nullptr || fileName[0] == 0) return nullptr;
  return ::LoadLibraryW(reinterpret_cast<const wchar_t*>(fileName));
}

void* FindExport(ModuleHandle module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

void FreeModule(ModuleHandle module) {
  if (module != nullptr) ::FreeLibrary(static_cast<HMODULE>(module));
}

}  // namespace OAuthClient::Platform
