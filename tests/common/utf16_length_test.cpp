// Utf16Length: the terminator is found at every position of a block and from every start, whatever lies around.
#include "common/utf16_length.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

namespace OAuthClient {
namespace {

TEST(Utf16LengthTest, FindsTheFirstZeroUnitFromEveryStartAndAtEveryLength) {
  // Zero units before the start (in the start's own block) must not count; units after the terminator are never
  // part of the text, zero or not. Starts cover every unit position of a 16-byte block.
  alignas(16) std::array<char16_t, 96> units{};
  for (std::size_t start = 0; start < 16; ++start) {
    for (std::size_t length = 0; length + start + 1 < units.size(); ++length) {
      units.fill(0);
      for (std::size_t i = 0; i < length; ++i) units[start + i] = static_cast<char16_t>(i % 2 == 0 ? u'a' : 0xFF00);
      if (start + length + 2 < units.size()) units[start + length + 2] = u'x';
      EXPECT_EQ(Utf16Length(units.data() + start), length) << "start " << start << ", length " << length;
    }
  }
}

}  // namespace
}  // namespace OAuthClient
