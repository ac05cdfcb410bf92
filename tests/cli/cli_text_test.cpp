// The host's own text rules: JSON escaping of the token output, form encoding, redaction in --verbose, UTF-8
// checks, durations, and where secrets come from.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "command_line.h"
#include "form_encoding.h"
#include "json_writer.h"
#include "verbose_log.h"
#include "wide_text.h"

namespace OAuthClient {
namespace Cli {
namespace {

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsTheRestAsUtf8) {
  const struct {
    std::u16string text;
    std::string json;
  } kCases[] = {
      {u"plain", "\"plain\""},
      {u"q\"b\\s/", "\"q\\\"b\\\\s/\""},
      {u"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {std::u16string(u"nul\0x", 5), "\"nul\\u0000x\""},
      {u"\x1f\x7f", "\"\\u001f\x7f\""},
      {u"caf\u00e9 \u20ac", "\"caf\xc3\xa9 \xe2\x82\xac\""},
      {u"\U0001F600", "\"\xf0\x9f\x98\x80\""},
      {u"\u2028\u2029", "\"\\u2028\\u2029\""},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\"\\ud800x\""},  // a lone surrogate stays visible
      {std::u16string(1, char16_t(0xDC01)), "\"\\udc01\""},
  };
  for (const auto& c : kCases) {
    const WideString wide(c.text.begin(), c.text.end());
    EXPECT_EQ(JsonString(wide), c.json);
  }
}

TEST(JsonObjectWriter, JoinsMembersInOrder) {
  JsonObjectWriter json;
  EXPECT_EQ(json.Text(), "{}");
  json.AddNumber("status", 400);
  json.AddString("error", Widen("invalid_client"));
  json.AddNumber("expires_in", -1);
  EXPECT_EQ(json.Text(), "{\"status\":400,\"error\":\"invalid_client\",\"expires_in\":-1}");
}

TEST(FormUrlEncode, EncodesEverythingButTheUnreservedSet) {
  const struct {
    std::string value;
    std::string encoded;
  } kCases[] = {
      {"", ""},
      {"AZaz09*-._", "AZaz09*-._"},
      {"read write", "read+write"},
      {"a&b=c+d%", "a%26b%3Dc%2Bd%25"},
      {"~!'()", "%7E%21%27%28%29"},
      {"urn:x:y/z?", "urn%3Ax%3Ay%2Fz%3F"},
      {"\xc3\xa9\n", "%C3%A9%0A"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormUrlEncode(c.value), c.encoded) << c.value;
}

TEST(Base64Encode, PadsToWholeGroups) {
  const struct {
    std::string bytes;
    std::string encoded;
  } kCases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
                {"demo-client:demo-secret", "ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ="},
                {std::string("\xff\x00\xfe", 3), "/wD+"}};
  for (const auto& c : kCases) EXPECT_EQ(Base64Encode(c.bytes), c.encoded);
}

TEST(Utf8ToWide, RefusesMalformedUtf8AndLeavesTheOutputAlone) {
  const std::string kMalformed[] = {"\xff", "\xc3", "\xc0\xaf", "\xe0\x80\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                                    "a\x80", "\xe2\x82"};
  for (const std::string& bytes : kMalformed) {
    WideString out = Widen("kept");
    EXPECT_FALSE(Utf8ToWide(bytes, &out));
    EXPECT_EQ(WideToUtf8(out), "kept");
    EXPECT_FALSE(IsValidUtf8(bytes));
  }
  WideString out;
  ASSERT_TRUE(Utf8ToWide("a\xc3\xa9\xf0\x9f\x98\x80", &out));
  EXPECT_EQ(out.size(), 4u);  // a, e-acute, and a surrogate pair
  EXPECT_EQ(WideToUtf8(out), "a\xc3\xa9\xf0\x9f\x98\x80");
}

TEST(Redaction, HidesCredentialsButKeepsTheScheme) {
  const struct {
    const char* name;
    const char* value;
    const char* line;
  } kCases[] = {
      {"Authorization", "Basic ZGVtbzpzZWNyZXQ=", "Authorization: Basic [redacted]"},
      {"authorization", "Bearer abc.def", "authorization: Bearer [redacted]"},
      {"Authorization", "opaque", "Authorization: [redacted]"},
      {"Proxy-Authorization", "Basic eDp5", "Proxy-Authorization: Basic [redacted]"},
      {"Set-Cookie", "sid=1; Path=/", "Set-Cookie: [redacted]"},
      {"Content-Type", "application/json", "Content-Type: application/json"},
  };
  for (const auto& c : kCases) EXPECT_EQ(RedactedHeaderLine(c.name, c.value), c.line);
}

TEST(Redaction, HidesSecretFormValues) {
  const struct {
    const char* form;
    const char* redacted;
  } kCases[] = {
      {"grant_type=password&password=p%26w&username=alice",
       "grant_type=password&password=[redacted]&username=alice"},
      {"refresh_token=r1&client_secret=s&scope=read", "refresh_token=[redacted]&client_secret=[redacted]&scope=read"},
      {"code=c&code_verifier=v&assertion=a", "code=[redacted]&code_verifier=[redacted]&assertion=[redacted]"},
      {"passwords=x&password", "passwords=x&password"},  // exact names only; a piece without "=" has no value
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(RedactedFormText(c.form), c.redacted);
  EXPECT_EQ(RedactedUrl("http://h/t?grant_type=password&password=pw#f"),
            "http://h/t?grant_type=password&password=[redacted]#f");
  EXPECT_EQ(RedactedUrl("http://h/t"), "http://h/t");
}

TEST(ParseDurationMilliseconds, ReadsSecondsAndMilliseconds) {
  const struct {
    const char* text;
    std::optional<std::uint32_t> milliseconds;
  } kCases[] = {
      {"30", 30000},      {"30s", 30000},      {"2.5", 2500},   {"0.0005", 1},         {"0.0004", 0},
      {".5", 500},        {"500ms", 500},      {"0", 0},        {"4294967295ms", 4294967295u},
      {"4294967.295", 4294967295u},            {"4294967.296", std::nullopt},          {"", std::nullopt},
      {"-1", std::nullopt}, {"1.", std::nullopt}, {"1.2.3", std::nullopt}, {"ms", std::nullopt},
      {"5 s", std::nullopt}, {"1e3", std::nullopt}, {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : kCases) EXPECT_EQ(ParseDurationMilliseconds(c.text), c.milliseconds) << c.text;
}

std::optional<std::string> NoEnvironment(const char*) { return std::nullopt; }

TEST(ParseCommandLine, TakesSecretsFromTheEnvironmentOnlyWhenNotGiven) {
  const std::map<std::string, std::string> environment{{"OAUTH_CLIENT_SECRET", "env-secret"},
                                                       {"OAUTH_PASSWORD", "env-password"}};
  const EnvironmentReader reader = [&](const char* name) -> std::optional<std::string> {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  };
  const Invocation fromEnvironment = ParseCommandLine(
      {"token", "--token-url", "http://h/t", "--grant", "password", "--client-id", "c", "--username", "u"}, reader);
  EXPECT_EQ(fromEnvironment.token.clientSecret, "env-secret");
  EXPECT_EQ(fromEnvironment.token.password, "env-password");

  const Invocation given = ParseCommandLine(
      {"token", "--token-url=http://h/t", "--client-id=c", "--client-secret=arg-secret"}, reader);
  EXPECT_EQ(given.token.clientSecret, "arg-secret");
  EXPECT_EQ(given.token.grant, "client_credentials");
  EXPECT_EQ(given.token.method, "POST");
}

TEST(ParseCommandLine, SplitsResourceAndTokenOptionsOfGet) {
  const Invocation get = ParseCommandLine(
      {"get", "http://h/api", "-H", "X-A:  1 ", "--token-url", "http://h/t", "--client-id", "c", "--client-secret",
       "s", "--token-header", "X-B: 2", "--param", "resource=api=x", "--timeout", "1.5", "--tls", "1.3", "-k"},
      NoEnvironment);
  EXPECT_EQ(get.command, Command::kGet);
  EXPECT_TRUE(get.tokenRequested);
  EXPECT_EQ(get.resource.url, "http://h/api");
  ASSERT_EQ(get.resource.headers.size(), 1u);
  EXPECT_EQ(get.resource.headers[0], HeaderField("X-A", "1"));
  ASSERT_EQ(get.token.headers.size(), 1u);
  EXPECT_EQ(get.token.headers[0], HeaderField("X-B", "2"));
  ASSERT_EQ(get.token.parameters.size(), 1u);
  EXPECT_EQ(get.token.parameters[0], FormParameter("resource", "api=x"));
  EXPECT_EQ(get.transport.timeoutMs, 1500u);
  EXPECT_EQ(get.transport.secureProtocol, 4u);
  EXPECT_TRUE(get.transport.insecure);

  // "--" ends the options: what follows is the URL even when it looks like an option.
  const Invocation ended = ParseCommandLine({"get", "--access-token", "t", "--", "--odd-url"}, NoEnvironment);
  EXPECT_EQ(ended.resource.url, "--odd-url");
  EXPECT_FALSE(ended.tokenRequested);
}

}  // namespace
}  // namespace Cli
}  // namespace OAuthClient
