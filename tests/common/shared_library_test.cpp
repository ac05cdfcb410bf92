// SharedLibrary: the ordinary search, the fallback folder after it, export look-up and the owner's release.
#include "common/shared_library.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

struct Row {
  const char* name;
  std::string fileName;
  std::string fallbackFolder;
  bool opens;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class SharedLibraryTest : public testing::TestWithParam<Row> {};

// This program links no shared library of the build, so the ordinary search does not know its library folder.
TEST_P(SharedLibraryTest, OpensAsTheRowSays) {
  const Row& row = GetParam();
  SharedLibrary library;
  std::string error;
  EXPECT_EQ(library.Open(row.fileName, LibrarySearch{row.fallbackFolder}, &error), row.opens);
  EXPECT_EQ(library.IsOpen(), row.opens);
  EXPECT_EQ(error.empty(), row.opens) << error;
  EXPECT_EQ(library.FindSymbol("ZqshrPreloadCheck") != nullptr, row.opens);
  EXPECT_EQ(library.FindSymbol("NoSuchExport"), nullptr);
  SharedLibrary moved(std::move(library));
  EXPECT_FALSE(library.IsOpen());  // NOLINT(bugprone-use-after-move): a moved-from owner is empty by contract
  EXPECT_EQ(moved.IsOpen(), row.opens);
}

// The build names folders with "/"; Windows' loader wants "\\" in a path.
std::string NativeFolder(std::string folder) {
#if defined(_WIN32)
  for (char& c : folder) c = c == '/' ? '\\' : c;
#endif
  return folder;
}

const std::string kFolder = NativeFolder(COMMON_TEST_LIBRARY_DIR);
const std::string kName = COMMON_TEST_LIBRARY_NAME;
#if defined(_WIN32)
const std::string kSeparator = "\\";
#else
const std::string kSeparator = "/";
#endif

INSTANTIATE_TEST_SUITE_P(
    Rows, SharedLibraryTest,
    testing::Values(Row{"FullPath", kFolder + kSeparator + kName, "", true},
                    Row{"BareNameFoundInTheFallbackFolder", kName, kFolder, true},
                    Row{"BareNameWithoutFallbackIsNotFound", kName, "", false},
                    Row{"NoFallbackForAPathWithAFolder", "." + kSeparator + kName, kFolder, false},
                    Row{"MissingLibrary", "libno_such_library.so", kFolder, false},
                    Row{"EmptyName", "", kFolder, false}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(SharedLibraryFolderTest, FolderOfLoadedObjectNamesTheLoadedFile) {
  SharedLibrary library;
  ASSERT_TRUE(library.Open(kFolder + kSeparator + kName));
  EXPECT_EQ(FolderOfLoadedObject(library.FindSymbol("ZqshrPreloadCheck")), kFolder);
  EXPECT_EQ(FolderOfLoadedObject(nullptr), "");
}

}  // namespace
}  // namespace OAuthClient
