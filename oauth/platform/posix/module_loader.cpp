// Module loading on POSIX: Windows library names mapped to shared objects, opened through the dynamic loader's
// ordinary search and then this library's own folder.
#include "oauth/platform/module_loader.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

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

// The mapped names of the libraries loaded so far: a library is loaded again for every token request, and the
// conversion and mapping would otherwise be redone each time for the same name. Token requests of several threads
// read it at once, so it takes no lock and no shared count, whose cache line the threads would pass back and forth
// at every request: it is a list that only grows, read with one atomic load. An entry never changes once
// published and lives until this library is unloaded (the list's destructor frees it), so a reader may keep a
// reference to its name. Hosts load one component, or a few; past kMaxKept distinct names a name is mapped
// afresh at each load instead of being kept.
class MappedNames {
 public:
  constexpr MappedNames() = default;
  MappedNames(const MappedNames&) = delete;
  MappedNames& operator=(const MappedNames&) = delete;
  ~MappedNames() {
    for (const Entry* entry = head_.load(std::memory_order_acquire); entry != nullptr;)
      delete std::exchange(entry, entry->next);
  }

  // Returns the mapped name of `fileName`: a kept one, or one made in `made`.
  const std::string& Of(const char16_t* fileName, std::string* made) {
    const Entry* const head = head_.load(std::memory_order_acquire);
    std::size_t kept = 0;
    for (const Entry* entry = head; entry != nullptr; entry = entry->next, ++kept)
      if (SameText(entry->name, fileName)) return entry->mapped;
    *made = MapLibraryName(Utf16ToUtf8(std::u16string_view(fileName)));
    if (made->empty() || kept >= kMaxKept) return *made;
    // Published only if no other thread added a name meanwhile; else this load keeps its own copy.
    const Entry* entry = new Entry{fileName, *made, head};
    const Entry* expected = head;
    if (!head_.compare_exchange_strong(expected, entry, std::memory_order_release, std::memory_order_relaxed))
      delete entry;
    return *made;
  }

 private:
  struct Entry {
    std::u16string name;
    std::string mapped;
    const Entry* next;
  };
  static constexpr std::size_t kMaxKept = 16;

  std::atomic<const Entry*> head_{nullptr};
};

MappedNames mappedNames;

}  // namespace

ModuleHandle LoadModule(const char16_t* fileName) {
  if (fileName == nullptr) return nullptr;
  std::string made;
  const std::string& mapped = mappedNames.Of(fileName, &made);
  if (mapped.empty()) return nullptr;
  // The ordinary search first (LD_LIBRARY_PATH, then this library's RUNPATH $ORIGIN), so a host or a test can put
  // another component first. When an interposer of dlopen (a sanitizer runtime, a tracer) makes the call from its
  // own code, the loader reads the interposer's RUNPATH instead of ours; the look in our own folder that follows
  // keeps $ORIGIN in the search all the same.
  SharedLibrary library;
  if (!library.Open(mapped, OwnFolderSearch())) return nullptr;
  return library.Release();
}

void* FindExport(ModuleHandle module, const char* name) { return FindLibrarySymbol(module, name); }

void FreeModule(ModuleHandle module) { CloseLibraryHandle(module); }

}  // namespace OAuthClient::Platform
