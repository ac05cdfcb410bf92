// HeaderLines: where each line-break rule cuts, for 8-bit and 16-bit text.
#include "common/header_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace OAuthClient {
namespace {

struct Row {
  const char* name;
  LineBreak lineBreak;
  std::string text;
  std::vector<std::string> lines;
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class HeaderLinesTest : public testing::TestWithParam<Row> {};

TEST_P(HeaderLinesTest, CutsAsTheRowSays) {
  const Row& row = GetParam();
  std::vector<std::string> narrow;
  for (std::string_view line : HeaderLines(std::string_view(row.text), row.lineBreak)) narrow.emplace_back(line);
  EXPECT_EQ(narrow, row.lines);
  // The same cut over UTF-16 text (every row is ASCII).
  const std::u16string wide(row.text.begin(), row.text.end());
  std::vector<std::string> widened;
  for (std::u16string_view line : HeaderLines(std::u16string_view(wide), row.lineBreak))
    widened.emplace_back(line.begin(), line.end());
  EXPECT_EQ(widened, row.lines);
}

using Lines = std::vector<std::string>;
constexpr LineBreak kCrLf = LineBreak::kCrLf;
constexpr LineBreak kLf = LineBreak::kLf;
constexpr LineBreak kAny = LineBreak::kCrLfOrLone;

INSTANTIATE_TEST_SUITE_P(
    Rows, HeaderLinesTest,
    testing::Values(Row{"EmptyTextHasNoLines", kAny, "", Lines{}},
                    Row{"NoBreakIsOneLine", kCrLf, "A: 1", Lines{"A: 1"}},
                    Row{"TrailingBreakAddsNoLine", kCrLf, "A: 1\r\nB: 2\r\n", Lines{"A: 1", "B: 2"}},
                    Row{"EmptyLinesInsideAreKept", kCrLf, "HTTP/1.1 200 OK\r\n\r\nB: 2", Lines{"HTTP/1.1 200 OK", "", "B: 2"}},
                    Row{"CrLfRuleKeepsLoneBreaks", kCrLf, "A: 1\nB\r2\r\n", Lines{"A: 1\nB\r2"}},
                    Row{"LfRuleDropsOneCr", kLf, "A: 1\r\nB: 2\nC\r\r\n", Lines{"A: 1", "B: 2", "C\r"}},
                    Row{"LfRuleKeepsLoneCr", kLf, "A: 1\rB: 2", Lines{"A: 1\rB: 2"}},
                    Row{"AnyRuleCutsAtEachLoneBreak", kAny, "A\rB\nC\r\nD", Lines{"A", "B", "C", "D"}},
                    Row{"AnyRuleLfCrIsTwoBreaks", kAny, "A\n\rB", Lines{"A", "", "B"}},
                    Row{"OnlyABreak", kAny, "\r\n", Lines{""}}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace OAuthClient
