// OAuthLibrary: binding of the library's exported factories.
#include "oauth_library.h"

#include "command_line.h"

namespace OAuthClient {
namespace Cli {

namespace {

// The file names under which the library is looked for, in order of preference.
#if defined(_WIN32)
constexpr const char* kLibraryFileNames[] = {"oauthclient.dll"};
#else
// The run-time name (the major version's soname) first; the plain name serves trees that ship only that.
constexpr const char* kLibraryFileNames[] = {"liboauthclient.so.1", "liboauthclient.so"};
#endif

// Where the library is when the loader's ordinary search misses it (a sanitizer's dlopen searches its own
// RUNPATH, not the program's): ../lib beside the program on POSIX, the program's own folder on Windows.
LibrarySearch LibraryBesideProgram() {
  const std::string programFolder = FolderOfLoadedObject(reinterpret_cast<const void*>(&ProgramName));
#if defined(_WIN32)
  return LibrarySearch{programFolder};
#else
  return LibrarySearch{programFolder.empty() ? std::string() : programFolder + "/../lib"};
#endif
}

template <typename Function>
Function FindFunction(const SharedLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.FindSymbol(name));
}

}  // namespace

bool OAuthLibrary::Load(std::string* error) {
  std::string messages;
  const LibrarySearch search = LibraryBesideProgram();
  for (const char* name : kLibraryFileNames) {
    std::string message;
    if (library_.Open(name, search, &message)) break;
    if (!messages.empty()) messages += "; ";
    messages += message;
  }
  if (!library_.IsOpen()) {
    *error = "cannot load the OAuth library: " + messages;
    return false;
  }
  createClient_ = FindFunction<CreateOAuthClientFunction>(library_, "CreateOAuthClient");
  createTokenRequest_ = FindFunction<CreateTokenRequestFunction>(library_, "CreateTokenRequest");
  createResourceRequest_ = FindFunction<CreateOAuthRequestFunction>(library_, "CreateOAuthRequest");
  if (createClient_ == nullptr || createTokenRequest_ == nullptr || createResourceRequest_ == nullptr) {
    *error = "the OAuth library lacks CreateOAuthClient, CreateTokenRequest or CreateOAuthRequest";
    return false;
  }
  return true;
}

std::string OAuthLibrary::Folder() const { return FolderOfLoadedObject(reinterpret_cast<const void*>(createClient_)); }

}  // namespace Cli
}  // namespace OAuthClient
