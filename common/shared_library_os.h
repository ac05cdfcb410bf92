// The operating system's side of SharedLibrary, one implementation per OS (shared_library_posix.cpp,
// shared_library_windows.cpp); only the SharedLibrary code uses it.
#ifndef OAUTHCLIENT_COMMON_SHARED_LIBRARY_OS_H
#define OAUTHCLIENT_COMMON_SHARED_LIBRARY_OS_H

#include <string>
#include <string_view>

namespace OAuthClient::SharedLibraryOs {

// The separator put between a folder and a file name.
extern const char kFolderSeparator;

// Returns true when `fileName` names a folder too, so the system takes it as a path rather than searching.
bool HasFolderPart(std::string_view fileName);

// Loads the library `path` (UTF-8) as the ordinary loader call does; returns its handle or null.
void* Open(const std::string& path);

// Returns the message of the last failed Open.
std::string LastError();

}  // namespace OAuthClient::SharedLibraryOs

#endif  // OAUTHCLIENT_COMMON_SHARED_LIBRARY_OS_H
