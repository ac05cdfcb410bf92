// Module loading on POSIX: Windows library names mapped to shared objects and opened through the dynamic
// loader's ordinary search.
#include "oauth/platform/module_loader.h"

#include <dlfcn.h>

#include <mutex>
#include <string>
#include <string_view>

#include "oauth/platform/code_page.h"

namespace OAuthClient::Platform {
namespace {

// Returns the UTF-8 form of a zero-terminated name, or the empty string for a null or empty one.
std::string ToUtf8(const char16_t* text) {
  if (text == nullptr || text[0] == 0) return {};
  const int size = WideCharToMultiByte(kCodePageUtf8, text, -1, nullptr, 0);
  if (size <= 1) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(kCodePageUtf8, text, -1, bytes.data(), size) != size) return {};
  bytes.pop_back();  // the converted terminator
  return bytes;
}

using DlopenFunction = void* (*)(const char*, int);

// Returns the C library's own dlopen. The dynamic loader searches the RUNPATH of the object that called dlopen, so
// the call must come from this library's code: a sanitizer runtime intercepts dlopen and calls on from inside
// itself, which would make the loader search the runtime's (empty) RUNPATH instead of ours. Calling the C
// library's function directly keeps this library the caller. Where the C library cannot be named (not glibc),
// the ordinary dlopen is used.
DlopenFunction SystemDlopen() {
  static const DlopenFunction function = [] {
    for (const char* library : {"libc.so.6", "libdl.so.2"}) {
      void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
      if (handle == nullptr) continue;
      void* symbol = dlsym(handle, "dlopen");
      dlclose(handle);  // RTLD_NOLOAD took a reference to a library that stays loaded anyway
      if (symbol != nullptr) return reinterpret_cast<DlopenFunction>(symbol);
    }
    return static_cast<DlopenFunction>(&dlopen);
  }();
  return function;
}

bool EndsWithDllExtension(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view extension = name.substr(name.size() - 4);
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; };
  return extension[0] == '.' && lower(extension[1]) == 'd' && lower(extension[2]) == 'l' &&
         lower(extension[3]) == 'l';
}

}  // namespace

// Maps a Windows library name to the shared object the dynamic loader should look for: "X.dll" and "X" become
// "libX.so"; a name with any other extension is used as it is. A directory part is kept (backslashes turned into
// slashes), so only a bare name goes through the loader's search.
std::string MapLibraryName(std::string_view fileName) {
  std::string name(fileName);
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  const std::size_t slash = name.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  std::string directory = name.substr(0, start);
  std::string base = name.substr(start);
  if (base.empty()) return {};
  if (EndsWithDllExtension(base)) {
    base.resize(base.size() - 4);
  } else if (base.find('.') != std::string::npos) {
    return directory + base;
  }
  if (base.empty()) return {};
  return directory + "lib" + base + ".so";
}

namespace {

// The mapped name of the last library loaded: a library is loaded again for every token request, and the
// conversion and mapping would otherwise be redone each time for the same name. A plain static under a mutex, not
// a thread_local: a thread_local with a destructor would keep this library mapped until the thread ends.
std::string MappedNameOf(const char16_t* fileName) {
  static std::mutex mutex;
  static std::u16string lastName;
  static std::string lastMapped;
  std::lock_guard<std::mutex> lock(mutex);
  if (lastName != fileName) {  // empty until a name has mapped
    lastMapped = MapLibraryName(ToUtf8(fileName));
    lastName = lastMapped.empty() ? std::u16string() : std::u16string(fileName);
  }
  return lastMapped;
}

}  // namespace

ModuleHandle LoadModule(const char16_t* fileName) {
  if (fileName == nullptr) return nullptr;
  const std::string mapped = MappedNameOf(fileName);
  if (mapped.empty()) return nullptr;
  // RTLD_NOW: like LoadLibraryW, a library whose imports cannot be resolved fails to load now, not at first call.
  // RTLD_LOCAL: its symbols stay out of the global scope, as a DLL's exports do.
  return SystemDlopen()(mapped.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindExport(ModuleHandle module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return dlsym(module, name);
}

void FreeModule(ModuleHandle module) {
  if (module != nullptr) dlclose(module);
}

}  // namespace OAuthClient::Platform
