// oauth-client against the real servers on loopback: the authorization server with its protected resource
// (fixture oauth2) and nginx (fixture nginx: TLS with a test CA, binary bodies, statuses, redirects, proxying).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "cli_program.h"

namespace OAuthClient {
namespace Testing {
namespace {

std::string RunFile(const std::string& name) {
  const char* dir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  return std::string(dir != nullptr ? dir : ".") + "/" + name;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Base(const std::string& scheme, const std::string& portFile) {
  std::string port = ReadFileText(RunFile(portFile));
  port.erase(port.find_last_not_of("\r\n") + 1);
  return scheme + "://127.0.0.1:" + port;
}

const std::string kTokenUrl = Base("http", "oauth2.port") + "/oauth/token";
const std::string kResourceUrl = Base("http", "oauth2.port") + "/api/resource";
const std::string kNginx = Base("http", "nginx.http.port");
const std::vector<std::string> kClient = {"--client-id", "demo-client", "--client-secret", "demo-secret"};

// The text of a member of a flat JSON object without escapes: a string's contents or a bare value; "<absent>"
// when there is no such member.
std::string Member(const std::string& json, const std::string& name) {
  const size_t at = json.find("\"" + name + "\":");
  if (at == std::string::npos) return "<absent>";
  const size_t start = at + name.size() + 3 + (json[at + name.size() + 3] == '"');
  return json.substr(start, json.find_first_of("\",}", start) - start);
}

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail = kClient) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

ProgramResult Token(const std::vector<std::string>& extra, const std::vector<std::string>& client = kClient) {
  return RunProgram(Args(Args({"token", "--token-url", kTokenUrl}, extra), client));
}

TEST(CliToken, PasswordGrantThenRefreshGrantThenReusedRefreshToken) {
  const ProgramResult password = Token({"--grant", "password", "--username", "alice", "--password", "wonderland"});
  ASSERT_EQ(password.exitCode, 0) << password.err;
  const std::string refreshToken = Member(password.out, "refresh_token");
  ASSERT_NE(refreshToken, "<absent>") << password.out;
  // The refresh grant is an extension grant to the library: the program adds the Basic authorization and the
  // form content type itself.
  const ProgramResult refreshed = Token({"--grant", "refresh_token", "--param", "refresh_token=" + refreshToken});
  ASSERT_EQ(refreshed.exitCode, 0) << refreshed.err;
  EXPECT_NE(Member(refreshed.out, "access_token"), Member(password.out, "access_token"));
  EXPECT_NE(Member(refreshed.out, "refresh_token"), refreshToken);
  const ProgramResult reused = Token({"--grant", "refresh_token", "--param", "refresh_token=" + refreshToken});
  EXPECT_EQ(reused.exitCode, 4) << reused.err;
  EXPECT_EQ(Member(reused.out, "error"), "invalid_grant");
  EXPECT_EQ(Member(reused.out, "status"), "400");
}

TEST(CliToken, ErrorRepliesGetAndSecretSourcesHaveTheirOutcomes) {
  const std::string secretFile = RunFile("cli-secret.txt");
  std::ofstream(secretFile) << "demo-secret\n";
  const std::vector<std::string> token = {"token", "--token-url", kTokenUrl};
  const std::vector<std::string> password = {"--grant", "password", "--username", "alice"};
  ExpectRuns({
      // The server answers a GET with invalid_request and echoes the form it decoded from the query.
      {Args(token, Args({"--raw", "--method", "GET", "--scope", "read write", "--param", "x=a&b"})), 4,
       {"\"query.grant_type\":\"client_credentials\"", "\"query.scope\":\"read write\"", "\"query.x\":\"a&b\""},
       "invalid_request"},
      {Args(token, {"--client-id", "demo-client", "--client-secret-file", secretFile}), 0, {"\"access_token\":"}, ""},
      {Args(token, {"--client-id", "demo-client", "--client-secret-file", "-"}), 0, {"\"access_token\":"}, "", {},
       "demo-secret\r\n"},
      {Args(Args(token, password), {"--client-id", "demo-client"}), 0, {"\"refresh_token\":"}, "",
       {{"OAUTH_CLIENT_SECRET", "demo-secret"}, {"OAUTH_PASSWORD", "wonderland"}}},
  });
}

TEST(CliVerbose, ShowsHeadersAndFormButNoSecret) {
  const ProgramResult token = Token({"--grant", "password", "--username", "alice", "--password", "wonderland", "-v"});
  const ProgramResult get = RunProgram(Args({"get", kResourceUrl, "-v", "--token-url", kTokenUrl}));
  ASSERT_TRUE(token.exitCode == 0 && get.exitCode == 0) << token.err << get.err;
  for (const char* line : {"> POST http://", "> Authorization: Basic [redacted]", "password=[redacted]&username=alice"})
    EXPECT_NE(token.err.find(line), std::string::npos) << line << " missing: " << token.err;
  EXPECT_NE(get.err.find("> Authorization: Bearer [redacted]"), std::string::npos) << get.err;
  for (const char* secret : {"demo-secret", "ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ", "wonderland"})
    EXPECT_EQ((token.err + get.err).find(secret), std::string::npos) << secret << " leaked: " << token.err << get.err;
}

TEST(CliResource, RequestsStatusesAndTransportOptionsHaveTheirOutcomes) {
  const std::string accessToken = Member(Token({}).out, "access_token");
  const std::string https = Base("https", "nginx.https.port");
  const std::vector<std::string> proxied = {"get", "http://proxied.test/echo/p", "--access-token", "t", "--proxy", kNginx};
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  const std::string file = RunFile("cli-binary.out");
  ExpectRuns({
      {Args({"get", kResourceUrl, "--token-url", kTokenUrl, "--scope", "read"}), 0,
       {"\"client_id\":\"demo-client\"", "\"scope\":\"read\"", "\"method\":\"GET\""}, ""},
      {{"request", kResourceUrl, "-X", "PUT", "--data", "{}", "--content-type", "a/json", "--access-token", accessToken},
       0, {"\"method\":\"PUT\"", "\"content_type\":\"a/json\"", "\"body_bytes\":2"}, ""},
      {{"request", kResourceUrl, "--data", "x=1"}, 0, {"\"method\":\"POST\""}, "", {{"OAUTH_ACCESS_TOKEN", accessToken}}},
      // Statuses of 400 and more give 3, and the body is still written.
      {{"get", kResourceUrl, "--access-token", "not-a-token"}, 3, {"\"error\":\"invalid_token\""}, "401"},
      {{"get", kNginx + "/status/404", "--access-token", "t", "-i"}, 3, {"HTTP/1.1 404", "\r\n\r\nstatus 404\n"}, "404"},
      {{"get", kNginx + "/binary", "--access-token", "t", "--output", file}, 0, {}, ""},
      {{"get", kNginx + "/binary", "--access-token", "t", "--output", "/nonexistent/dir/f"}, 1, {}, ""},
      {Args({"token", "--token-url", https + "/token", "--insecure", "--tls", "1.2"}), 0, {"fixture-access-token"}, ""},
      {{"get", kNginx + "/redirect", "--access-token", "t"}, 0, {"302"}, ""},  // an answer below 400
      {{"get", kNginx + "/redirect", "--access-token", "t", "--follow"}, 0, {"uri: /echo/redirected"}, ""},
      {{"get", kNginx + "/redirect/loop", "--access-token", "t", "--follow"}, 17, {}, ""},
      // nginx serves absolute-form requests, so it stands in for a forward proxy; "proxied.test" resolves nowhere.
      {proxied, 0, {"uri: /echo/p\n", "host: proxied.test\n"}, ""},
      {Args(proxied, {"--no-proxy", "proxied.test"}), 12, {}, "could not be resolved"},
  });
  EXPECT_EQ(ReadFileText(file), bytes);  // byte for byte, in the file and on stdout
  EXPECT_EQ(RunProgram({"get", kNginx + "/binary", "--access-token", "t"}).out, bytes);
}

}  // namespace
}  // namespace Testing
}  // namespace OAuthClient
