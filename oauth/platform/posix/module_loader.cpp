// Module loading on POSIX: Windows library names mapped to shared objects, opened through the dynamic loader's
// ordinary search and then this library's own folder.
#include "oauth/platform/module_loader.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "common/ascii.h"
#include "common/shared_library.h"
#include "common/utf8_utf16.h"
#include "oauth/text/same_text.h"

namespace OAuthClient::Platform {
namespace {

bool EndsWithDllExtension(std::string_view name) {
  return name.size() >= 4 && EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".dll");
}

// The search with the folder this library was loaded from, which its RUNPATH names as $ORIGIN; made once, as the
// component is loaded again for every token request.
const LibrarySearch& OwnFolderSearch() {
  static const LibrarySearch search{FolderOfLoadedObject(reinterpret_cast<const void*>(&LoadModule))};
  return search;
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
// a thread_local: a thread_local with a destructor would keep this library mapped until the thread ends. The mapped
// name is shared rather than copied out, so a load of the same name allocates nothing here.
std::shared_ptr<const std::string> MappedNameOf(const char16_t* fileName) {
  static std::mutex mutex;
  static std::u16string lastName;
  static std::shared_ptr<const std::string> lastMapped = std::make_shared<const std::string>();
  std::lock_guard<std::mutex> lock(mutex);
  if (!SameText(lastName, fileName)) {  // empty until a name has mapped
    lastMapped = std::make_shared<const std::string>(MapLibraryName(Utf16ToUtf8(std::u16string_view(fileName))));
    lastName = lastMapped->empty() ? std::u16string() : std::u16string(fileName);
  }
  return lastMapped;
}

}  // namespace

ModuleHandle LoadModule(const char16_t* fileName) {
  if (fileName == nullptr) return nullptr;
  const std::shared_ptr<const std::string> mapped = MappedNameOf(fileName);
  if (mapped->empty()) return nullptr;
  // The ordinary search first (LD_LIBRARY_PATH, then this library's RUNPATH $ORIGIN), so a host or a test can put
  // another component first. When an interposer of dlopen (a sanitizer runtime, a tracer) makes the call from its
  // own code, the loader reads the interposer's RUNPATH instead of ours; the look in our own folder that follows
  // keeps $ORIGIN in the search all the same.
  SharedLibrary library;
  if (!library.Open(*mapped, OwnFolderSearch())) return nullptr;
  return library.Release();
}

void* FindExport(ModuleHandle module, const char* name) { return FindLibrarySymbol(module, name); }

void FreeModule(ModuleHandle module) { CloseLibraryHandle(module); }

}  // namespace OAuthClient::Platform
