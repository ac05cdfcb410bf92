// The host's own text rules that no server run reaches in full: JSON escaping of the token output, Base64 padding,
// redaction of the secret form values in --verbose, and durations.
#include <gtest/gtest.h>

#include "command_line.h"
#include "form_encoding.h"
#include "json_writer.h"
#include "verbose_log.h"
#include "wide_text.h"

namespace OAuthClient {
namespace Cli {
namespace {

TEST(CliText, JsonStringEscapesWhatJsonRequiresAndKeepsTheRestAsUtf8) {
  const std::pair<std::u16string, std::string> kCases[] = {
      {u"q\"b\\s/", "\"q\\\"b\\\\s/\""},
      {std::u16string(u"\b\f\n\r\t\0\x1f\x7f", 8), "\"\\b\\f\\n\\r\\t\\u0000\\u001f\x7f\""},
      {u"caf\u00e9 \U0001F600", "\"caf\xc3\xa9 \xf0\x9f\x98\x80\""},
      {u"\u2028\u2029", "\"\\u2028\\u2029\""},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\"\\ud800x\""},  // a lone surrogate stays visible
  };
  for (const auto& [text, json] : kCases) EXPECT_EQ(JsonString(WideString(text.begin(), text.end())), json);
}

TEST(CliText, Base64PadsAndRedactionHidesSecretFormValues) {
  for (const auto& [bytes, encoded] : {std::pair<std::string, std::string>{"f", "Zg=="}, {"fo", "Zm8="},
                                       {"foo", "Zm9v"}, {std::string("\xff\x00\xfe", 3), "/wD+"}})
    EXPECT_EQ(Base64Encode(bytes), encoded);
  EXPECT_EQ(RedactedFormText("refresh_token=r1&client_secret=s&scope=read&code=c&code_verifier=v&assertion=a"),
            "refresh_token=[redacted]&client_secret=[redacted]&scope=read&code=[redacted]&code_verifier=[redacted]"
            "&assertion=[redacted]");
  EXPECT_EQ(RedactedFormText("passwords=x&password"), "passwords=x&password");  // exact names, with a value
  EXPECT_EQ(RedactedUrl("http://h/t?grant_type=password&password=pw#f"),
            "http://h/t?grant_type=password&password=[redacted]#f");
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
