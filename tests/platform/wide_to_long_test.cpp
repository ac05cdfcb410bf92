// _wtol on 16-bit text: white space, sign, digits, and saturation at the 32-bit range.
#include "oauth/platform/wide_to_long.h"

#include <gtest/gtest.h>

#include <iterator>

namespace OAuthClient::Platform {
namespace {

TEST(WideToLongTest, ReadsLeadingDecimalNumber) {
  struct Case {
    const char16_t* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {u"3600", 3600}, {u"  \t\r\n\v\f42", 42}, {u"+7", 7}, {u"-15", -15}, {u"12abc", 12}, {u"3.9", 3}, {u"abc", 0},
      {u"", 0}, {u"- 5", 0}, {u"\u30005", 5} /* ideographic space */, {u"\uFF15", 5} /* full-width digit */,
      {u"\u00A0\u1680\u200A\u2029\u202F\u205F1", 1} /* Unicode spaces */, {u"\u0085\u001C1", 0} /* not spaces */,
      {u"-\u0661\u0669", -19} /* Arabic-Indic */, {u"\u0E50\u0F29\u1819", 99} /* Thai, Tibetan, Mongolian */,
      {u"\uFF19\uFF1A", 9} /* past the full-width run */, {u"\u0BE6", 0} /* Tamil zero is not read */,
      {u"\uFF0D\uFF13", 0} /* a full-width minus is no sign */, {u"2147483647", INT32_MAX},
      {u"-2147483648", INT32_MIN}, {u"2147483648", INT32_MAX}, {u"-2147483649", INT32_MIN},
      {u"99999999999999999999999", INT32_MAX},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(WideToLong(cases[i].text), cases[i].value) << "case " << i;
  EXPECT_EQ(WideToLong(nullptr), 0);
}

}  // namespace
}  // namespace OAuthClient::Platform
