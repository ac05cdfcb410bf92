// SharedLibrary on POSIX: dlopen, dlsym, dlclose and dladdr.
#include <dlfcn.h>

#include "common/shared_library.h"
#include "common/shared_library_os.h"

namespace OAuthClient {

namespace SharedLibraryOs {

const char kFolderSeparator = '/';

bool HasFolderPart(std::string_view fileName) { return fileName.find('/') != std::string_view::npos; }

// RTLD_NOW: a library whose imports cannot be resolved fails to load now, as a DLL does, not at its first call.
// RTLD_LOCAL: its symbols stay out of the global scope, as a DLL's exports do.
void* Open(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

std::string LastError() {
  const char* message = dlerror();
  return message != nullptr ? message : "unknown loader error";
}

}  // namespace SharedLibraryOs

void CloseLibraryHandle(void* handle) {
  if (handle != nullptr) dlclose(handle);
}

void* FindLibrarySymbol(void* handle, const char* name) {
  if (handle == nullptr || name == nullptr) return nullptr;
  return dlsym(handle, name);
}

std::string FolderOfLoadedObject(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  std::string path(info.dli_fname);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  path.resize(slash == 0 ? 1 : slash);
  return path;
}

}  // namespace OAuthClient
