// SharedLibrary: one load of a shared library at run time, the RAII owner that ends it, and the look-up of its
// exports; the search that every OS shares.
#include "common/shared_library.h"

#include "common/shared_library_os.h"

namespace OAuthClient {

bool SharedLibrary::Open(const std::string& fileName, const LibrarySearch& search, std::string* error) {
  Close();
  if (fileName.empty()) {
    if (error != nullptr) *error = "empty library name";
    return false;
  }
  // The ordinary loader call first, so that interposers (sanitizer runtimes, tracers, a host's hooks) see every
  // load and LD_LIBRARY_PATH or the program's search order can put another copy first. When an interposer calls on
  // from its own code, the POSIX loader reads the interposer's RUNPATH rather than the caller's; the fallback folder
  // puts the caller's own folder back in the search.
  handle_ = SharedLibraryOs::Open(fileName);
  if (handle_ != nullptr) return true;
  const std::string firstError = SharedLibraryOs::LastError();
  if (!search.fallbackFolder.empty() && !SharedLibraryOs::HasFolderPart(fileName)) {
    handle_ = SharedLibraryOs::Open(search.fallbackFolder + SharedLibraryOs::kFolderSeparator + fileName);
  }
  if (handle_ == nullptr && error != nullptr) *error = firstError;
  return handle_ != nullptr;
}

void* SharedLibrary::FindSymbol(const char* name) const { return FindLibrarySymbol(handle_, name); }

void SharedLibrary::Close() { CloseLibraryHandle(std::exchange(handle_, nullptr)); }

}  // namespace OAuthClient
