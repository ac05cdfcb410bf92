// Loading a shared library by file name, looking up an export, and unloading it.
#ifndef OAUTH_PLATFORM_MODULE_LOADER_H
#define OAUTH_PLATFORM_MODULE_LOADER_H

#include <string>
#include <string_view>

// <windows.h> defines FreeModule as a macro for FreeLibrary; here the name is the function below.
#if defined(_WIN32) && defined(FreeModule)
#undef FreeModule
#endif

namespace OAuthClient::Platform {

// An opaque loaded-library handle; null means "not loaded".
using ModuleHandle = void*;

// Loads a library, as LoadLibraryW(fileName). On POSIX a name "X.dll" (letter case of ".dll" ignored) is mapped to
// "libX.so" and opened with dlopen through the dynamic loader's ordinary search (LD_LIBRARY_PATH first, then the
// RUNPATH $ORIGIN of liboauthclient.so), never by an absolute path; dlopen is called with RTLD_NOW | RTLD_LOCAL,
// so a library with unresolved imports fails to load, as on Windows. Returns null when it cannot be loaded (a null
// or empty name included).
// Every successful call takes one reference, released by FreeModule.
ModuleHandle LoadModule(const char16_t* fileName);

// Returns the address of the export `name`, as GetProcAddress; null when absent or when `module` is null.
void* FindExport(ModuleHandle module, const char* name);

// Releases one reference taken by LoadModule, as FreeLibrary. A null handle is ignored.
void FreeModule(ModuleHandle module);

#if !defined(_WIN32)
// Returns the shared-object name that LoadModule opens for a Windows library name (UTF-8): "X.dll" (any letter
// case of ".dll") and a name without extension "X" become "libX.so", as LoadLibraryW appends ".dll" to a name
// without one; a name with another extension is kept as it is. A directory part is kept, with backslashes turned
// into slashes, and then dlopen reads the name as a path; a bare name goes through the loader's search. Returns
// the empty string for an empty name or one that ends in a separator.
std::string MapLibraryName(std::string_view fileName);
#endif

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_MODULE_LOADER_H
