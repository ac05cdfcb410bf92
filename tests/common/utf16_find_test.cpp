// FindUtf16Unit: the first match is found at every position, from every start, and a unit sharing a byte is no match.
#include "common/utf16_find.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace OAuthClient {
namespace {

TEST(Utf16FindTest, FindsTheFirstMatchAtOrAfterTheStart) {
  for (std::size_t size = 0; size < 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      // 0x2222 and 0x2200 share a byte with the unit looked for; a second match after the first must not win.
      std::u16string text(size, u'\x2200');
      if (at < size) text[at] = u'"';
      if (at + 1 < size) text[at + 1] = u'"';
      const std::size_t expected = at < size ? at : std::u16string_view::npos;
      EXPECT_EQ(FindUtf16Unit(text, u'"', 0), expected) << "size " << size << ", at " << at;
      if (at < size) {
        EXPECT_EQ(FindUtf16Unit(text, u'"', at + 1), at + 1 < size ? at + 1 : std::u16string_view::npos);
      }
      EXPECT_EQ(FindUtf16Unit(text, u'\x2222', 0), std::u16string_view::npos);
    }
  }
}

}  // namespace
}  // namespace OAuthClient
