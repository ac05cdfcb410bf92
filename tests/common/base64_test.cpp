// Base64: the RFC 4648 section 10 test vectors and every byte value.
#include "common/base64.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

struct Row {
  const char* name;
  std::string bytes;
  std::string base64;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Base64Test : public testing::TestWithParam<Row> {};

TEST_P(Base64Test, EncodesAsTheRowSays) { EXPECT_EQ(Base64Encode(GetParam().bytes), GetParam().base64); }

INSTANTIATE_TEST_SUITE_P(Rows, Base64Test,
                         testing::Values(Row{"Empty", "", ""}, Row{"OneByteTwoPads", "f", "Zg=="},
                                         Row{"TwoBytesOnePad", "fo", "Zm8="}, Row{"ThreeBytesNoPad", "foo", "Zm9v"},
                                         Row{"Rfc4648Longest", "foobar", "Zm9vYmFy"},
                                         Row{"HighBitsAndZeros", std::string("\xFB\xFF\x00\xBF", 4), "+/8Avw=="},
                                         Row{"BasicCredentials", "client:s3cr\xE9t", "Y2xpZW50OnMzY3LpdA=="}),
                         [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace OAuthClient
