// HostLibrary: loads liboauthclient at run time and looks its exports up by name, as a host does.
#ifndef TESTS_HOST_HOST_LIBRARY_H
#define TESTS_HOST_HOST_LIBRARY_H

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace OAuthClient {

// Owns one load of the library, by path; unloads it on destruction.
class HostLibrary {
 public:
#if defined(_WIN32)
  explicit HostLibrary(const char* path) : handle_(::LoadLibraryA(path)) {}
  ~HostLibrary() { if (handle_ != nullptr) ::FreeLibrary(handle_); }
  void* FindSymbol(const char* name) const { return reinterpret_cast<void*>(::GetProcAddress(handle_, name)); }
#else
  explicit HostLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  ~HostLibrary() { if (handle_ != nullptr) ::dlclose(handle_); }
  void* FindSymbol(const char* name) const { return ::dlsym(handle_, name); }
#endif
  HostLibrary(const HostLibrary&) = delete;
  HostLibrary& operator=(const HostLibrary&) = delete;

  // Returns the export `name` as a `Function`; null when it is missing or the library did not load.
  template <typename Function>
  Function Find(const char* name) const {
    return handle_ == nullptr ? nullptr : reinterpret_cast<Function>(FindSymbol(name));
  }

 private:
#if defined(_WIN32)
  HMODULE handle_;
#else
  void* handle_;
#endif
};

}  // namespace OAuthClient

#endif  // TESTS_HOST_HOST_LIBRARY_H
