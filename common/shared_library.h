// SharedLibrary: one load of a shared library at run time (dlopen on POSIX, LoadLibraryW on Windows), the RAII
// owner that ends it, and the look-up of its exports.
#ifndef OAUTHCLIENT_COMMON_SHARED_LIBRARY_H
#define OAUTHCLIENT_COMMON_SHARED_LIBRARY_H

#include <string>
#include <utility>

namespace OAuthClient {

// Where SharedLibrary::Open looks.
struct LibrarySearch {
  // A folder (UTF-8, no trailing separator needed) to try when the system's ordinary search does not find a bare
  // file name; empty for none. FolderOfLoadedObject gives the folder of the calling library or program.
  std::string fallbackFolder;
};

// Owns one reference to a loaded library and releases it on destruction. Move-only.
class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary() { Close(); }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  SharedLibrary(SharedLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  SharedLibrary& operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  // Loads `fileName` (UTF-8), after closing what this object held. The system's ordinary search comes first (POSIX:
  // dlopen itself, so LD_LIBRARY_PATH, then the RUNPATH of the caller; Windows: LoadLibraryW's search); when it
  // fails and `fileName` has no directory part, `search.fallbackFolder` is tried. POSIX opens with RTLD_NOW |
  // RTLD_LOCAL: a library with unresolved imports fails now, and its symbols stay out of the global scope, as a
  // DLL's do. Returns true on success; otherwise false, the object empty, and the loader's message in *error when
  // `error` is not null.
  bool Open(const std::string& fileName, const LibrarySearch& search = {}, std::string* error = nullptr);

  // Returns the address of the export `name`, or null when it is absent or nothing is loaded.
  void* FindSymbol(const char* name) const;

  // Releases the reference now; the object is then empty.
  void Close();

  // Returns whether a library is loaded.
  bool IsOpen() const { return handle_ != nullptr; }
  explicit operator bool() const { return IsOpen(); }

  // Gives up ownership: returns the raw handle (HMODULE or dlopen handle, null when empty) and leaves the object
  // empty. The caller then releases it with CloseLibraryHandle.
  void* Release() { return std::exchange(handle_, nullptr); }

 private:
  void* handle_ = nullptr;
};

// Releases a raw handle given up by SharedLibrary::Release (null is ignored).
void CloseLibraryHandle(void* handle);

// Returns the address of the export `name` of a raw handle (null for a null handle or name).
void* FindLibrarySymbol(void* handle, const char* name);

// Returns the folder (UTF-8, no trailing separator) of the loaded library or program that contains `address`,
// or the empty string when it cannot be found.
std::string FolderOfLoadedObject(const void* address);

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_SHARED_LIBRARY_H
