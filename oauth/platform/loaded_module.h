// LoadedModule: the RAII owner of one reference to a loaded shared library.
#ifndef OAUTH_PLATFORM_LOADED_MODULE_H
#define OAUTH_PLATFORM_LOADED_MODULE_H

#include <utility>

#include "oauth/platform/module_loader.h"

namespace OAuthClient::Platform {

// Owns the handle from LoadModule and frees it (FreeModule) on destruction. Move-only.
class LoadedModule {
 public:
  LoadedModule() = default;
  explicit LoadedModule(ModuleHandle handle) : handle_(handle) {}
  ~LoadedModule() { FreeModule(handle_); }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  LoadedModule(LoadedModule&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  LoadedModule& operator=(LoadedModule&& other) noexcept {
    if (this != &other) {
      FreeModule(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  // Returns the handle (null when nothing is loaded); ownership stays here.
  ModuleHandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Frees the reference now (the destructor then does nothing).
  void Reset() {
    FreeModule(handle_);
    handle_ = nullptr;
  }

 private:
  ModuleHandle handle_ = nullptr;
};

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_LOADED_MODULE_H
