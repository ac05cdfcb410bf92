// SharedLibrary: a shared library loaded at run time (dlopen on POSIX, LoadLibraryW on Windows), closed with it.
#ifndef OAUTH_CLIENT_CLI_SHARED_LIBRARY_H
#define OAUTH_CLIENT_CLI_SHARED_LIBRARY_H

#include <string>

namespace OAuthClient {
namespace Cli {

// Owns one load of a shared library; the load ends when the object does. Move-only.
class SharedLibrary {
 public:
  SharedLibrary() = default;
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary();

  // Loads `fileName` (UTF-8) through the system loader's ordinary search: on POSIX LD_LIBRARY_PATH, then the
  // program's RUNPATH; on Windows the program's directory, then the system's search order. Returns true on
  // success; otherwise false, leaves the object empty and writes the loader's message to *error.
  bool Open(const std::string& fileName, std::string* error);
  // Returns the address of the exported symbol `name`, or null when the library does not export it.
  void* FindSymbol(const char* name) const;
  // Returns whether a library is loaded.
  bool IsOpen() const { return handle_ != nullptr; }

 private:
  void Close();

  void* handle_ = nullptr;
};

// Returns the file names under which the OAuth library is looked for, in order of preference.
const char* const* OAuthLibraryFileNames();

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_SHARED_LIBRARY_H
