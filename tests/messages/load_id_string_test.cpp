// LoadIDString as a host uses it: the library loaded at run time, the language chosen once per process before the
// first look-up. CTest runs this program once per language code, given in OAUTHCLIENT_TEST_MESSAGE_LANGUAGE;
// without it no language is chosen.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "oauthclient/exports.h"
#include "tests/host/host_library.h"
#include "tests/messages/expected_messages.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

TEST(LoadIDStringTest, GivesTheLanguageChosenBeforeTheFirstCallForTheWholeProcess) {
  HostLibrary library(OAUTHCLIENT_LIBRARY_PATH);
  const auto load = library.Find<LoadIDStringFunction>("LoadIDString");
  const auto choose = library.Find<SetMessageLanguageFunction>("SetMessageLanguage");
  ASSERT_TRUE(load != nullptr && choose != nullptr);
  std::uint32_t code = 0;
  if (const char* chosen = std::getenv("OAUTHCLIENT_TEST_MESSAGE_LANGUAGE")) {
    code = static_cast<std::uint32_t>(std::strtoul(chosen, nullptr, 0));
    choose(code);
  }
  const ExpectedMessages& expected = kExpectedMessages[code < std::size(kExpectedMessages) ? code : 0];

  const WideChar* secureProtocol = load(0);
  const WideChar* ignoreServerCert = load(1);
  EXPECT_EQ(Text(secureProtocol), expected.secureProtocol) << "language " << code;
  EXPECT_EQ(Text(ignoreServerCert), expected.ignoreServerCert) << "language " << code;
  for (const std::int32_t id : {2, -1, INT_MAX, INT_MIN}) EXPECT_EQ(Text(load(id)), u"") << id;
  choose(code == 1 ? 2 : 1);  // after the first look-up: no effect
  EXPECT_EQ(load(0), secureProtocol) << "same id, same pointer";
  EXPECT_EQ(load(1), ignoreServerCert);
}

}  // namespace
}  // namespace OAuthClient
