// oauth-client without servers: bad usage ends with exit code 2 and a message on stderr, help and version go to
// stdout, and a closed port, a foreign scheme and a missing library each have their exit code.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "cli_program.h"

namespace OAuthClient {
namespace Testing {
namespace {

const std::string kUrl = "--token-url=http://127.0.0.1:1/token";

TEST(CliUsage, BadUsageExitsWithTwoAndSaysWhatIsWrong) {
  ExpectRuns({
      {{}, 2, {}, "no subcommand"},
      {{"fetch"}, 2, {}, "unknown subcommand 'fetch'"},
      {{"help", "fetch"}, 2, {}, "not a subcommand"},
      {{"token", kUrl, "--colour"}, 2, {}, "unknown option --colour"},
      {{"token", kUrl, "--colour"}, 2, {}, "Try 'oauth-client token --help'"},
      {{"token", kUrl, "--data", "x"}, 2, {}, "does not apply to token"},
      {{"token", "--token-url"}, 2, {}, "needs a value"},
      {{"token", "--client-id", "a", "--client-secret", "b"}, 2, {}, "--token-url is required"},
      {{"token", kUrl, "--client-id", "a"}, 2, {}, "needs the client secret"},
      {{"token", kUrl, "--client-id", "a", "--client-secret-file", "/nonexistent/s"}, 2, {}, "cannot read the file"},
      {{"token", kUrl, "--grant", "password", "--client-id", "a", "--client-secret", "b"}, 2, {}, "needs --username"},
      {{"token", kUrl, "--client-id", "a\xff", "--client-secret", "b"}, 2, {}, "not valid UTF-8"},
      {{"get", "http://h/", "--access-token", "t", "--header", "X Y: z"}, 2, {}, "not a valid header name"},
      {{"get", "http://h/", "--access-token", "t", "--timeout", "4294968s"}, 2, {}, "--timeout takes"},
      {{"get", "http://h/", "--access-token", "t", "--proxy-user", "u:p"}, 2, {}, "need --proxy"},
      {{"get", "http://h/"}, 2, {}, "give --access-token"},
      {{"get", "http://h/", "--access-token", "t", kUrl}, 2, {}, "not both"},
      {{"request", "http://h/", "--access-token", "t", "--method", "GE T"}, 2, {}, "not a valid HTTP method"},
      {{"token", kUrl, "--basic-auth", "utf8"}, 2, {}, "--basic-auth takes library, rfc6749 or raw-utf8"},
  });
}

TEST(CliUsage, HelpAndVersionGoToStdout) {
  ExpectRuns({
      {{"--help"}, 0, {"Usage: oauth-client <command>"}, ""},
      {{"help", "get"}, 0, {"Usage: oauth-client get"}, ""},
      {{"request", "--bogus", "--help"}, 0, {"Usage: oauth-client request"}, ""},  // help wins over errors
      {{"--version"}, 0, {"oauth-client "}, ""},
  });
}

TEST(CliTransport, UnreachableServerAndForeignSchemeHaveTheirExitCodes) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);  // a port that was free a moment ago: nothing listens there
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
  close(fd);
  const std::string closed = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  ExpectRuns({
      {{"token", "--token-url", closed, "--client-id", "a", "--client-secret", "b"}, 13, {}, "connection refused"},
      {{"get", closed + "/api", "--access-token", "t"}, 13, {}, "connection refused"},
      {{"get", "ftp://127.0.0.1/file", "--access-token", "t"}, 11, {}, "not http:// or https://"},
  });
}

TEST(CliLibrary, ProgramWithoutItsLibraryExitsWithOne) {
  // A copy of the program in a directory without ../lib finds no library through its RUNPATH.
  char directory[] = "/tmp/oauth-client-alone.XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string copy = std::string(directory) + "/oauth-client";
  std::ofstream(copy, std::ios::binary) << std::ifstream(Program(), std::ios::binary).rdbuf();
  ASSERT_EQ(chmod(copy.c_str(), 0700), 0);
  const ProgramResult result =
      RunProgram({"get", "http://127.0.0.1:1/", "--access-token", "t"}, {{"LD_LIBRARY_PATH", directory}}, "", copy);
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_NE(result.err.find("cannot load the OAuth library"), std::string::npos) << result.err;
  std::remove(copy.c_str());
  rmdir(directory);
}

}  // namespace
}  // namespace Testing
}  // namespace OAuthClient
