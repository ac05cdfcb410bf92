// Form URL encoding: the library's kept marks and lower-case hex, and the standard serializer.
#include "common/form_url_encoding.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

struct Row {
  const char* name;
  const FormEncodingPolicy* policy;
  std::string utf8;
  std::string encoded;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class FormUrlEncodingTest : public testing::TestWithParam<Row> {};

TEST_P(FormUrlEncodingTest, EncodesAsTheRowSays) {
  EXPECT_EQ(FormUrlEncode(GetParam().utf8, *GetParam().policy), GetParam().encoded);
}

const FormEncodingPolicy* const kLibrary = &kLibraryFormEncoding;
const FormEncodingPolicy* const kStandard = &kStandardFormEncoding;

INSTANTIATE_TEST_SUITE_P(
    Rows, FormUrlEncodingTest,
    testing::Values(Row{"LibraryKeepsUnreservedMarks", kLibrary, "Az09!'()*-._~", "Az09!'()*-._~"},
                    Row{"LibraryLowerCaseHex", kLibrary, "a/b?c=d&e", "a%2fb%3fc%3dd%26e"},
                    Row{"LibrarySpaceAsPlus", kLibrary, "read write", "read+write"},
                    Row{"LibraryUtf8Bytes", kLibrary, "\xC3\xA9", "%c3%a9"},
                    Row{"LibraryPercentAndPlus", kLibrary, "100%+", "100%25%2b"},
                    Row{"LibraryNulByte", kLibrary, std::string("a\0b", 3), "a%00b"},
                    Row{"StandardEncodesTildeAndBang", kStandard, "~!'()", "%7E%21%27%28%29"},
                    Row{"StandardKeepsStarDashDotUnderscore", kStandard, "*-._", "*-._"},
                    Row{"StandardUpperCaseHex", kStandard, "a/\xC3\xA9 b", "a%2F%C3%A9+b"},
                    Row{"Empty", kStandard, "", ""}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace OAuthClient
