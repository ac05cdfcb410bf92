// SharedLibrary on Windows: LoadLibraryW, GetProcAddress, FreeLibrary and GetModuleHandleExW.
#include <windows.h>

#include <string>

#include "common/shared_library.h"
#include "common/shared_library_os.h"
#include "common/utf8_utf16.h"

namespace OAuthClient {

namespace SharedLibraryOs {

const char kFolderSeparator = '\\';

bool HasFolderPart(std::string_view fileName) { return fileName.find_first_of("/\\:") != std::string_view::npos; }

void* Open(const std::string& path) {
  return reinterpret_cast<void*>(::LoadLibraryW(Utf8ToUtf16<wchar_t>(path).c_str()));
}

std::string LastError() { return "Windows error " + std::to_string(::GetLastError()); }

}  // namespace SharedLibraryOs

void CloseLibraryHandle(void* handle) {
  if (handle != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle));
}

void* FindLibrarySymbol(void* handle, const char* name) {
  if (handle == nullptr || name == nullptr) return nullptr;
  // GetProcAddress gives a function pointer type; every caller here takes the address as void*.
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name));
}

std::string FolderOfLoadedObject(const void* address) {
  HMODULE module = nullptr;
  if (address == nullptr ||
      !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module)) {
    return {};
  }
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // the name was cut: try again with room for a longer one
  }
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  path.resize(separator);
  return Utf16ToUtf8(std::wstring_view(path));
}

}  // namespace OAuthClient
