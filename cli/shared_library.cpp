// SharedLibrary: the only place where the program's POSIX and Windows builds differ in how they load a library.
#include "shared_library.h"

#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace OAuthClient {
namespace Cli {

namespace {

#if defined(_WIN32)
std::wstring WidenUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return wide;
}

std::string LastErrorText() {
  return "Windows error " + std::to_string(GetLastError());
}
#else
using DlopenFunction = void* (*)(const char*, int);

// Returns the C library's own dlopen. The loader searches the RUNPATH of the object that calls dlopen; a
// sanitizer runtime intercepts dlopen and calls on from inside itself, which would make the loader search the
// runtime's (empty) RUNPATH instead of the program's $ORIGIN/../lib. Calling the C library's function directly
// keeps the program the caller. Where the C library cannot be named, the ordinary dlopen is used.
DlopenFunction SystemDlopen() {
  static const DlopenFunction function = [] {
    for (const char* library : {"libc.so.6", "libdl.so.2"}) {
      void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
      if (handle == nullptr) continue;
      void* symbol = dlsym(handle, "dlopen");
      dlclose(handle);  // RTLD_NOLOAD took a reference to a library that stays loaded anyway
      if (symbol != nullptr) return reinterpret_cast<DlopenFunction>(symbol);
    }
    return static_cast<DlopenFunction>(&dlopen);
  }();
  return function;
}
#endif

}  // namespace

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

SharedLibrary::~SharedLibrary() { Close(); }

bool SharedLibrary::Open(const std::string& fileName, std::string* error) {
  Close();
#if defined(_WIN32)
  handle_ = reinterpret_cast<void*>(LoadLibraryW(WidenUtf8(fileName).c_str()));
  if (handle_ == nullptr && error != nullptr) *error = LastErrorText();
#else
  handle_ = SystemDlopen()(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr && error != nullptr) {
    const char* message = dlerror();
    *error = message != nullptr ? message : "unknown loader error";
  }
#endif
  return handle_ != nullptr;
}

void* SharedLibrary::FindSymbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

void SharedLibrary::Close() {
  if (handle_ == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

const char* const* OAuthLibraryFileNames() {
#if defined(_WIN32)
  static const char* const names[] = {"oauthclient.dll", nullptr};
#else
  // The run-time name (the major version's soname) first; the plain name serves trees that ship only that.
  static const char* const names[] = {"liboauthclient.so.1", "liboauthclient.so", nullptr};
#endif
  return names;
}

}  // namespace Cli
}  // namespace OAuthClient
