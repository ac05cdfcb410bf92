// Loading a shared library by file name, looking up an export, and unloading it.
#ifndef OAUTH_PLATFORM_MODULE_LOADER_H
#define OAUTH_PLATFORM_MODULE_LOADER_H

namespace OAuthClient::Platform {

// An opaque loaded-library handle; null means "not loaded".
using ModuleHandle = void*;

// Loads a library, as LoadLibraryW(fileName). On POSIX a name "X.dll" (letter case of ".dll" ignored) is mapped to
// "libX.so" and opened with dlopen through the dynamic loader's ordinary search (LD_LIBRARY_PATH first, then the
// RUNPATH $ORIGIN of liboauthclient.so), never by an absolute path. Returns null when it cannot be loaded.
// Every successful call takes one reference, released by FreeModule.
ModuleHandle LoadModule(const char16_t* fileName);

// Returns the address of the export `name`, as GetProcAddress; null when absent or when `module` is null.
void* FindExport(ModuleHandle module, const char* name);

// Releases one reference taken by LoadModule, as FreeLibrary. A null handle is ignored.
void FreeModule(ModuleHandle module);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_MODULE_LOADER_H
