// HostLibrary: liboauthclient loaded at run time by path and its exports looked up by name, as a host does.
#ifndef TESTS_HOST_HOST_LIBRARY_H
#define TESTS_HOST_HOST_LIBRARY_H

#include "common/shared_library.h"

namespace OAuthClient {

// Owns one load of the library; unloads it on destruction.
class HostLibrary {
 public:
  explicit HostLibrary(const char* path) { library_.Open(path); }

  // Returns the export `name` as a `Function`; null when it is missing or the library did not load.
  template <typename Function>
  Function Find(const char* name) const {
    return reinterpret_cast<Function>(library_.FindSymbol(name));
  }

 private:
  SharedLibrary library_;
};

}  // namespace OAuthClient

#endif  // TESTS_HOST_HOST_LIBRARY_H
