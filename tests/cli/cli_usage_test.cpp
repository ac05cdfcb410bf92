// oauth-client without servers: every kind of bad usage ends with exit code 2 and a message on stderr, help and
// version work, and a closed port gives the connection-refused code.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace OAuthClient {
namespace Testing {
namespace {

std::string Program() {
  const char* program = std::getenv("OAUTH_CLIENT_PROGRAM");
  return program != nullptr ? program : "oauth-client";
}

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* messagePart;  // must appear in stderr
};

const std::string kUrl = "--token-url=http://127.0.0.1:1/token";

const UsageCase kUsageCases[] = {
    {"NoArguments", {}, "no subcommand"},
    {"UnknownSubcommand", {"fetch"}, "unknown subcommand 'fetch'"},
    {"UnknownOption", {"token", kUrl, "--colour"}, "unknown option --colour"},
    {"OptionOfAnotherCommand", {"token", kUrl, "--data", "x"}, "does not apply to token"},
    {"MissingValue", {"token", "--token-url"}, "needs a value"},
    {"MissingTokenUrl", {"token", "--client-id", "a", "--client-secret", "b"}, "--token-url is required"},
    {"MissingClientId", {"token", kUrl, "--client-secret", "b"}, "needs --client-id"},
    {"MissingSecret", {"token", kUrl, "--client-id", "a"}, "needs the client secret"},
    {"TwoSecretSources", {"token", kUrl, "--client-id", "a", "--client-secret", "b", "--client-secret-file", "/dev/null"},
     "give the client secret once"},
    {"UnreadableSecretFile", {"token", kUrl, "--client-id", "a", "--client-secret-file", "/nonexistent/secret"},
     "cannot read the file"},
    {"PasswordGrantWithoutUser", {"token", kUrl, "--grant", "password", "--client-id", "a", "--client-secret", "b"},
     "needs --username"},
    {"ParameterWithoutEquals", {"token", kUrl, "--client-id", "a", "--client-secret", "b", "--param", "scope"},
     "name=value"},
    {"HeaderWithoutColon", {"token", kUrl, "--client-id", "a", "--client-secret", "b", "--header", "X-Test"},
     "'Name: value'"},
    {"HeaderWithBadName", {"get", "http://h/", "--access-token", "t", "--header", "X Y: z"}, "not a valid header name"},
    {"HeaderWithoutValue", {"get", "http://h/", "--access-token", "t", "--header", "X-Empty:  "}, "has no value"},
    {"BadTlsVersion", {"get", "http://h/", "--access-token", "t", "--tls", "1.4"}, "--tls takes"},
    {"BadTimeout", {"get", "http://h/", "--access-token", "t", "--timeout", "soon"}, "--timeout takes"},
    {"NegativeTimeout", {"get", "http://h/", "--access-token", "t", "--connect-timeout", "-1"}, "--connect-timeout"},
    {"HugeTimeout", {"get", "http://h/", "--access-token", "t", "--timeout", "4294968s"}, "--timeout takes"},
    {"BadMethod", {"request", "http://h/", "--access-token", "t", "--method", "GE T"}, "not a valid HTTP method"},
    {"NoUrl", {"get", "--access-token", "t"}, "resource URL is required"},
    {"NoToken", {"get", "http://h/"}, "give --access-token"},
    {"TokenAndTokenOptions", {"get", "http://h/", "--access-token", "t", kUrl}, "not both"},
    {"SecondUrl", {"get", "http://h/", "http://other/", "--access-token", "t"}, "unexpected argument"},
    {"FlagWithValue", {"get", "http://h/", "--access-token", "t", "--insecure=yes"}, "takes no value"},
    {"ProxyUserWithoutProxy", {"get", "http://h/", "--access-token", "t", "--proxy-user", "u:p"}, "need --proxy"},
    {"ProxyUserWithoutPassword", {"get", "http://h/", "--access-token", "t", "--proxy", "http://p:3128",
                                  "--proxy-user", "u"}, "user:password"},
    {"ProxyUserAndNoProxy", {"get", "http://h/", "--access-token", "t", "--proxy", "http://p:3128", "--proxy-user",
                             "u:p", "--no-proxy", "a"}, "cannot be used together"},
    {"TwoBodies", {"request", "http://h/", "--access-token", "t", "--data", "a", "--data-file", "/dev/null"},
     "give the body once"},
    {"TwoContentTypes", {"request", "http://h/", "--access-token", "t", "--content-type", "a/b", "-H", "Content-Type: c/d"},
     "give the content type once"},
    {"InvalidUtf8", {"token", kUrl, "--client-id", "a\xff", "--client-secret", "b"}, "not valid UTF-8"},
    {"EmptyValueWithGetForClientCredentials",
     {"token", kUrl, "--client-id", "a", "--client-secret", "b", "--method", "GET", "--param", "x="},
     "needs a value"},
    {"HelpOnUnknownTopic", {"help", "fetch"}, "not a subcommand"},
};

class UsageErrorTest : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithTwoAndSaysWhatIsWrong) {
  const UsageCase& usage = GetParam();
  const ProgramResult result = RunProgram(Program(), usage.arguments);
  EXPECT_EQ(result.exitCode, 2) << result.err;
  EXPECT_NE(result.err.find(usage.messagePart), std::string::npos) << "stderr: " << result.err;
  EXPECT_NE(result.err.find("--help"), std::string::npos) << "stderr: " << result.err;
  EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(Cli, UsageErrorTest, testing::ValuesIn(kUsageCases),
                         [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST(CliHelp, EverySubcommandHasItsHelp) {
  const struct {
    std::vector<std::string> arguments;
    const char* usageLine;
  } kHelps[] = {
      {{"--help"}, "Usage: oauth-client <command>"},
      {{"help", "get"}, "Usage: oauth-client get"},
      {{"token", "--help"}, "Usage: oauth-client token"},
      {{"get", "-h"}, "Usage: oauth-client get"},
      // Help wins over errors elsewhere on the line.
      {{"request", "--bogus", "--help"}, "Usage: oauth-client request"},
  };
  for (const auto& help : kHelps) {
    const ProgramResult result = RunProgram(Program(), help.arguments);
    EXPECT_EQ(result.exitCode, 0) << help.usageLine;
    EXPECT_EQ(result.out.rfind(help.usageLine, 0), 0u) << result.out;
    EXPECT_EQ(result.err, "");
  }
}

TEST(CliHelp, VersionPrintsTheProgramAndItsVersion) {
  const ProgramResult result = RunProgram(Program(), {"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.rfind("oauth-client ", 0), 0u) << result.out;
  EXPECT_NE(result.out.find('.'), std::string::npos) << result.out;
}

TEST(CliTransport, ClosedPortGivesConnectionRefused) {
  const std::string base = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort());
  const ProgramResult token = RunProgram(
      Program(), {"token", "--token-url", base + "/token", "--client-id", "a", "--client-secret", "b"});
  EXPECT_EQ(token.exitCode, 13) << token.err;
  EXPECT_NE(token.err.find("connection refused"), std::string::npos) << token.err;
  EXPECT_EQ(token.out, "");

  const ProgramResult resource = RunProgram(Program(), {"get", base + "/api", "--access-token", "t"});
  EXPECT_EQ(resource.exitCode, 13) << resource.err;
  EXPECT_NE(resource.err.find("connection refused"), std::string::npos) << resource.err;
}

TEST(CliTransport, UrlWithAnotherSchemeIsRefusedByTheComponent) {
  const ProgramResult result = RunProgram(Program(), {"get", "ftp://127.0.0.1/file", "--access-token", "t"});
  EXPECT_EQ(result.exitCode, 11) << result.err;
  EXPECT_NE(result.err.find("not http:// or https://"), std::string::npos) << result.err;
}

TEST(CliLibrary, ProgramWithoutItsLibraryExitsWithOne) {
  // A copy of the program in a directory without ../lib finds no library through its RUNPATH.
  char directory[] = "/tmp/oauth-client-alone.XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string copy = std::string(directory) + "/oauth-client";
  {
    std::ifstream source(Program(), std::ios::binary);
    std::ofstream target(copy, std::ios::binary);
    target << source.rdbuf();
  }
  ASSERT_EQ(chmod(copy.c_str(), 0700), 0);
  const ProgramResult result = RunProgram(copy, {"get", "http://127.0.0.1:1/", "--access-token", "t"},
                                          {{"LD_LIBRARY_PATH", directory}});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_NE(result.err.find("cannot load the OAuth library"), std::string::npos) << result.err;
  std::remove(copy.c_str());
  rmdir(directory);
}

TEST(CliSecrets, SecretFromTheEnvironmentSatisfiesTheGrant) {
  // The secret is taken from OAUTH_CLIENT_SECRET, so the request is valid and goes out (to a closed port).
  const std::string url = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/token";
  const ProgramResult result = RunProgram(Program(), {"token", "--token-url", url, "--client-id", "a"},
                                          {{"OAUTH_CLIENT_SECRET", "from-env"}});
  EXPECT_EQ(result.exitCode, 13) << result.err;
}

}  // namespace
}  // namespace Testing
}  // namespace OAuthClient
