// The host's own text rules that no server run reaches in full: escaping of control characters, redaction of
// secret form values and URL passwords, and durations.
#include <gtest/gtest.h>

#include "command_line.h"
#include "terminal.h"
#include "verbose_log.h"

namespace OAuthClient {
namespace Cli {
namespace {

TEST(CliText, ControlCharactersOfServerTextAreEscapedForTheTerminal) {
  const std::pair<std::string, std::string> kCases[] = {
      {"plain caf\xc3\xa9", "plain caf\xc3\xa9"},
      {"a\x1b[2Jb\x07\x7f", "a\\x1b[2Jb\\x07\\x7f"},
      {"line\r\nnext\t", "line\\r\\nnext\\t"},
      {"csi \xc2\x9b and nbsp \xc2\xa0", "csi \\u009b and nbsp \xc2\xa0"},  // C1 controls, not the rest of Latin-1
  };
  for (const auto& [text, escaped] : kCases) EXPECT_EQ(EscapeControlCharacters(text), escaped);
}

TEST(CliText, RedactionHidesSecretFormValuesAndUrlPasswords) {
  EXPECT_EQ(RedactedFormText("refresh_token=r1&client_secret=s&scope=read&code=c&code_verifier=v&assertion=a"),
            "refresh_token=[redacted]&client_secret=[redacted]&scope=read&code=[redacted]&code_verifier=[redacted]"
            "&assertion=[redacted]");
  EXPECT_EQ(RedactedFormText("passwords=x&password"), "passwords=x&password");  // exact names, with a value
  EXPECT_EQ(RedactedUrl("http://h/t?grant_type=password&password=pw#f"),
            "http://h/t?grant_type=password&password=[redacted]#f");
  EXPECT_EQ(RedactedUrl("https://u:p@w@h:1/a@b?x=1"), "https://u:[redacted]@h:1/a@b?x=1");
  EXPECT_EQ(RedactedUrl("https://u@h/p:q@r"), "https://u@h/p:q@r");  // no password; "@" in the path stays
}

TEST(CliText, DurationsAreSecondsOrMillisecondsWithinThirtyTwoBits) {
  const std::pair<const char*, std::optional<std::uint32_t>> kCases[] = {
      {"30", 30000}, {"30s", 30000}, {"2.5", 2500}, {"0.0005", 1}, {"500ms", 500}, {"4294967.295", 4294967295u},
      {"4294967.296", std::nullopt}, {"", std::nullopt}, {"-1", std::nullopt}, {"1.", std::nullopt},
      {"5 s", std::nullopt}, {"1e3", std::nullopt}};
  for (const auto& [text, milliseconds] : kCases) EXPECT_EQ(ParseDurationMilliseconds(text), milliseconds) << text;
}

}  // namespace
}  // namespace Cli
}  // namespace OAuthClient
