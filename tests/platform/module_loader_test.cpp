// Module loading: Windows names mapped to shared objects, the loader's search order, missing libraries and exports.
#include "oauth/platform/module_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "oauth/platform/loaded_module.h"

// The name mapping and the dlopen interposer are the POSIX loader's; on Windows LoadLibraryW is called directly.
#if !defined(_WIN32)
#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

// A dlopen interposer of this program, as a tracer or a host's hook would install: it records each name and calls
// on. A loader that reached past dlopen to the C library's own copy would never pass through here.
namespace {
std::mutex recordedMutex;
std::vector<std::string>& RecordedDlopenNames() {
  static std::vector<std::string> names;
  return names;
}
}  // namespace

extern "C" void* dlopen(const char* fileName, int mode) {
  using Dlopen = void* (*)(const char*, int);
  static const auto next = reinterpret_cast<Dlopen>(dlsym(RTLD_NEXT, "dlopen"));
  if (fileName != nullptr) {
    std::lock_guard<std::mutex> lock(recordedMutex);
    RecordedDlopenNames().emplace_back(fileName);
  }
  return next(fileName, mode);
}
#endif

namespace OAuthClient::Platform {
namespace {

using IdentityFunction = const char* (*)();

const char* IdentityOf(const LoadedModule& module) {
  auto identity = reinterpret_cast<IdentityFunction>(FindExport(module.Get(), "LoaderProbeIdentity"));
  return identity != nullptr ? identity() : "(no export)";
}

#if !defined(_WIN32)
TEST(ModuleLoaderTest, MapsWindowsNamesToSharedObjects) {
  const std::pair<const char*, const char*> cases[] = {
      {"zqhttpclient.dll", "libzqhttpclient.so"}, {"Mixed.DLL", "libMixed.so"}, {"bare", "libbare.so"},
      {"libfoo.so.1", "libfoo.so.1"}, {"dir\\sub/name.dll", "dir/sub/libname.so"}, {"", ""}, {".dll", ""},
      {"dir/", ""},
  };
  for (const auto& [name, mapped] : cases) EXPECT_EQ(MapLibraryName(name), mapped) << name;
}

TEST(ModuleLoaderTest, LoadsThroughTheOrdinaryDlopenThatInterposersSee) {
  LoadedModule probe(LoadModule(u"loader_probe.dll"));
  ASSERT_TRUE(probe);
  std::lock_guard<std::mutex> lock(recordedMutex);
  const std::vector<std::string>& names = RecordedDlopenNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "libloader_probe.so"), names.end());
}
#endif

// Which copy of the probe is found depends on the run (see CMakeLists.txt): without LD_LIBRARY_PATH the one in the
// loader's own folder, with it the one it names.
TEST(ModuleLoaderTest, FindsTheLibraryThroughTheOrdinarySearch) {
  const char* expected = std::getenv("LOADER_PROBE_EXPECTED");
  ASSERT_NE(expected, nullptr);
  LoadedModule probe(LoadModule(u"loader_probe.dll"));
  ASSERT_TRUE(probe);
  EXPECT_STREQ(IdentityOf(probe), expected);
}

TEST(ModuleLoaderTest, EachLoadTakesItsOwnReference) {
  LoadedModule first(LoadModule(u"loader_probe.DLL"));
  LoadedModule second(LoadModule(u"loader_probe.dll"));
  ASSERT_TRUE(first && second);
  first.Reset();
  LoadedModule moved(std::move(second));
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);  // NOLINT(bugprone-use-after-move): a moved-from owner is empty by contract
  EXPECT_STRNE(IdentityOf(moved), "(no export)") << "the library stays loaded while a reference remains";
}

TEST(ModuleLoaderTest, MissingLibrariesAndExportsGiveNull) {
  EXPECT_EQ(LoadModule(u"no_such_library_for_the_tests.dll"), nullptr);
  EXPECT_EQ(LoadModule(nullptr), nullptr);
  EXPECT_EQ(LoadModule(u""), nullptr);
  LoadedModule probe(LoadModule(u"loader_probe.dll"));
  ASSERT_TRUE(probe);
  EXPECT_EQ(FindExport(probe.Get(), "NoSuchExport"), nullptr);
  EXPECT_EQ(FindExport(probe.Get(), nullptr), nullptr);
  EXPECT_EQ(FindExport(nullptr, "LoaderProbeIdentity"), nullptr);
}

}  // namespace
}  // namespace OAuthClient::Platform
