// Module loading: Windows names mapped to shared objects, the loader's search order, missing libraries and exports.
#include "oauth/platform/module_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "oauth/platform/loaded_module.h"

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
#endif

// Which copy of the probe is found depends on the run (see CMakeLists.txt): without LD_LIBRARY_PATH the one
// beside the other libraries (RUNPATH), with it the one it names.
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
