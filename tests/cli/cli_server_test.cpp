// oauth-client against the real servers on loopback: the authorization server with its protected resource
// (fixture oauth2) and nginx (fixture nginx: TLS with a test CA, binary bodies, statuses).
#include <gtest/gtest.h>

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

std::string RunDir() {
  const char* dir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  return dir != nullptr ? dir : ".";
}

std::string Port(const char* file) {
  std::string port = ReadFileText(RunDir() + "/" + file);
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  return port;
}

std::string AuthServer() { return "http://127.0.0.1:" + Port("oauth2.port"); }
std::string TokenUrl() { return AuthServer() + "/oauth/token"; }
std::string ResourceUrl() { return AuthServer() + "/api/resource"; }
std::string NginxHttps() { return "https://127.0.0.1:" + Port("nginx.https.port"); }
std::string NginxHttp() { return "http://127.0.0.1:" + Port("nginx.http.port"); }

// The raw text of a member of a flat JSON object: a string's contents (escapes left as they are) or a bare value;
// "<absent>" when there is no such member.
std::string Member(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const size_t at = json.find(key);
  if (at == std::string::npos) return "<absent>";
  size_t i = at + key.size();
  if (i < json.size() && json[i] == '"') {
    const size_t start = ++i;
    while (i < json.size() && json[i] != '"') i += json[i] == '\\' ? 2 : 1;
    return json.substr(start, i - start);
  }
  const size_t end = json.find_first_of(",}", i);
  return json.substr(i, end == std::string::npos ? std::string::npos : end - i);
}

const std::vector<std::string> kClient = {"--client-id", "demo-client", "--client-secret", "demo-secret"};

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail = {}) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

ProgramResult Token(const std::vector<std::string>& extra) {
  return RunProgram(Program(), Args({"token", "--token-url", TokenUrl()}, extra));
}

TEST(CliToken, ClientCredentialsPrintsTheTokenAsJson) {
  const ProgramResult result = Token(Args(kClient, {"--scope", "read"}));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out.front(), '{');
  EXPECT_EQ(result.out.back(), '\n');
  EXPECT_EQ(Member(result.out, "status"), "200");
  EXPECT_EQ(Member(result.out, "token_type"), "Bearer");
  EXPECT_GE(Member(result.out, "access_token").size(), 16u);
  // The server counts down from 3600 s; a second may have passed by the time it answers.
  const int expiresIn = std::atoi(Member(result.out, "expires_in").c_str());
  EXPECT_TRUE(expiresIn >= 3590 && expiresIn <= 3600) << result.out;
  EXPECT_EQ(Member(result.out, "refresh_token"), "<absent>");  // RFC 6749 section 4.4.3
  EXPECT_EQ(Member(result.out, "error"), "<absent>");
  EXPECT_EQ(result.err, "");
}

TEST(CliToken, PasswordGrantThenRefreshGrantThenReusedRefreshToken) {
  const ProgramResult password =
      Token(Args(kClient, {"--grant", "password", "--username", "alice", "--password", "wonderland"}));
  ASSERT_EQ(password.exitCode, 0) << password.err;
  const std::string refreshToken = Member(password.out, "refresh_token");
  ASSERT_NE(refreshToken, "<absent>") << password.out;

  // The refresh grant is an extension grant to the library: the program adds the client's Basic
  // authorization and the form content type itself.
  const ProgramResult refreshed =
      Token(Args(kClient, {"--grant", "refresh_token", "--param", "refresh_token=" + refreshToken}));
  ASSERT_EQ(refreshed.exitCode, 0) << refreshed.err;
  EXPECT_NE(Member(refreshed.out, "access_token"), Member(password.out, "access_token"));
  EXPECT_NE(Member(refreshed.out, "refresh_token"), refreshToken);

  const ProgramResult reused =
      Token(Args(kClient, {"--grant", "refresh_token", "--param", "refresh_token=" + refreshToken}));
  EXPECT_EQ(reused.exitCode, 4) << reused.err;
  EXPECT_EQ(Member(reused.out, "error"), "invalid_grant");
  EXPECT_EQ(Member(reused.out, "status"), "400");
}

TEST(CliToken, OAuthErrorRepliesGiveExitCodeFour) {
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    const char* error;
    const char* status;
  } kCases[] = {
      {"wrong secret", {"--client-id", "demo-client", "--client-secret", "wrong"}, "invalid_client", "401"},
      {"unknown scope", Args(kClient, {"--scope", "admin"}), "invalid_scope", "400"},
      {"wrong password",
       Args(kClient, {"--grant", "password", "--username", "alice", "--password", "queen of hearts"}),
       "invalid_grant", "400"},
      {"unknown grant", Args(kClient, {"--grant", "urn:example:unknown"}), "unsupported_grant_type", "400"},
  };
  for (const auto& c : kCases) {
    const ProgramResult result = Token(c.arguments);
    EXPECT_EQ(result.exitCode, 4) << c.name << ": " << result.err;
    EXPECT_EQ(Member(result.out, "error"), c.error) << c.name << ": " << result.out;
    EXPECT_EQ(Member(result.out, "status"), c.status) << c.name;
    EXPECT_EQ(Member(result.out, "access_token"), "<absent>") << c.name;
    EXPECT_NE(result.err.find(c.error), std::string::npos) << c.name << ": " << result.err;
  }
}

TEST(CliToken, ValuesAreFormEncodedWhateverTheMethod) {
  // POST: the program encodes the values; the server decodes "read write" back into two scopes.
  const ProgramResult post = Token(Args(kClient, {"--scope", "read write"}));
  EXPECT_EQ(post.exitCode, 0) << post.err;

  // GET: the library encodes the client credentials flow's query itself; the server echoes what it decoded.
  const ProgramResult get = Token(Args(kClient, {"--method", "GET", "--scope", "read write", "--param", "x=a&b"}));
  EXPECT_EQ(get.exitCode, 4) << get.err;  // the server answers every GET with invalid_request
  EXPECT_EQ(Member(get.out, "error"), "invalid_request");
  const std::string raw = RunProgram(Program(), Args({"token", "--token-url", TokenUrl(), "--raw", "--method", "GET",
                                                      "--scope", "read write", "--param", "x=a&b"},
                                                     kClient))
                              .out;
  EXPECT_EQ(Member(raw, "query.scope"), "read write") << raw;
  EXPECT_EQ(Member(raw, "query.x"), "a&b") << raw;
  EXPECT_EQ(Member(raw, "query.grant_type"), "client_credentials") << raw;
}

TEST(CliToken, SecretsComeFromFilesAndTheEnvironment) {
  const std::string secretFile = RunDir() + "/cli-secret.txt";
  std::ofstream(secretFile) << "demo-secret\n";
  const ProgramResult fromFile = Token({"--client-id", "demo-client", "--client-secret-file", secretFile});
  EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err;

  const ProgramResult fromStdin =
      RunProgram(Program(), {"token", "--token-url", TokenUrl(), "--client-id", "demo-client", "--client-secret-file", "-"},
                 {}, "demo-secret\r\n");
  EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err;

  const ProgramResult fromEnvironment =
      RunProgram(Program(),
                 {"token", "--token-url", TokenUrl(), "--grant", "password", "--client-id", "demo-client",
                  "--username", "alice"},
                 {{"OAUTH_CLIENT_SECRET", "demo-secret"}, {"OAUTH_PASSWORD", "wonderland"}});
  EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
}

TEST(CliVerbose, ShowsHeadersAndFormButNoSecret) {
  const ProgramResult password = Token(
      Args(kClient, {"--grant", "password", "--username", "alice", "--password", "wonderland", "--verbose"}));
  ASSERT_EQ(password.exitCode, 0) << password.err;
  const std::string& log = password.err;
  EXPECT_NE(log.find("> POST " + TokenUrl()), std::string::npos) << log;
  EXPECT_NE(log.find("> Authorization: Basic [redacted]"), std::string::npos) << log;
  EXPECT_NE(log.find("> Content-Type: application/x-www-form-urlencoded"), std::string::npos) << log;
  EXPECT_NE(log.find("password=[redacted]"), std::string::npos) << log;
  EXPECT_NE(log.find("username=alice"), std::string::npos) << log;
  EXPECT_NE(log.find("< HTTP/1.1 200"), std::string::npos) << log;
  for (const char* secret : {"demo-secret", "ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ", "wonderland"})
    EXPECT_EQ(log.find(secret), std::string::npos) << secret << " leaked: " << log;

  const std::string refreshToken = Member(password.out, "refresh_token");
  const ProgramResult refresh = Token(
      Args(kClient, {"--grant", "refresh_token", "--param", "refresh_token=" + refreshToken, "-v"}));
  ASSERT_EQ(refresh.exitCode, 0) << refresh.err;
  EXPECT_NE(refresh.err.find("refresh_token=[redacted]"), std::string::npos) << refresh.err;
  EXPECT_EQ(refresh.err.find(refreshToken), std::string::npos) << refresh.err;

  const ProgramResult get = RunProgram(Program(), Args({"get", ResourceUrl(), "-v", "--token-url", TokenUrl()}, kClient));
  ASSERT_EQ(get.exitCode, 0) << get.err;
  EXPECT_NE(get.err.find("> GET " + ResourceUrl()), std::string::npos) << get.err;
  EXPECT_NE(get.err.find("> Authorization: Bearer [redacted]"), std::string::npos) << get.err;
  EXPECT_EQ(get.err.find("demo-secret"), std::string::npos) << get.err;
}

TEST(CliResource, GetWithTokenOptionsObtainsATokenFirst) {
  const ProgramResult result =
      RunProgram(Program(), Args({"get", ResourceUrl(), "--token-url", TokenUrl(), "--scope", "read"}, kClient));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Member(result.out, "resource"), "demo") << result.out;
  EXPECT_EQ(Member(result.out, "client_id"), "demo-client");
  EXPECT_EQ(Member(result.out, "scope"), "read");
  EXPECT_EQ(Member(result.out, "method"), "GET");
}

TEST(CliResource, RequestSendsItsMethodBodyAndContentType) {
  const ProgramResult token = Token(kClient);
  ASSERT_EQ(token.exitCode, 0) << token.err;
  const std::string accessToken = Member(token.out, "access_token");
  const ProgramResult result =
      RunProgram(Program(), {"request", ResourceUrl(), "--method", "PUT", "--data", "{\"k\":1}", "--content-type",
                             "application/json", "--access-token", accessToken});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Member(result.out, "method"), "PUT");
  EXPECT_EQ(Member(result.out, "content_type"), "application/json");
  EXPECT_EQ(Member(result.out, "body_bytes"), "7");

  const ProgramResult fromEnvironment =
      RunProgram(Program(), {"request", ResourceUrl(), "--data", "x=1"}, {{"OAUTH_ACCESS_TOKEN", accessToken}});
  ASSERT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
  EXPECT_EQ(Member(fromEnvironment.out, "method"), "POST");  // a body without --method is a POST
}

TEST(CliResource, HttpErrorStatusesGiveExitCodeThree) {
  const ProgramResult badToken = RunProgram(Program(), {"get", ResourceUrl(), "--access-token", "not-a-token"});
  EXPECT_EQ(badToken.exitCode, 3) << badToken.err;
  EXPECT_NE(badToken.err.find("401"), std::string::npos) << badToken.err;
  EXPECT_EQ(Member(badToken.out, "error"), "invalid_token") << badToken.out;  // the body is still written

  const ProgramResult missing =
      RunProgram(Program(), {"get", NginxHttp() + "/status/404", "--access-token", "t", "--include"});
  EXPECT_EQ(missing.exitCode, 3) << missing.err;
  EXPECT_EQ(missing.out.rfind("HTTP/1.1 404", 0), 0u) << missing.out;
  EXPECT_NE(missing.out.find("\r\n\r\nstatus 404\n"), std::string::npos) << missing.out;
}

TEST(CliResource, BodyIsWrittenByteForByte) {
  std::string expected;
  for (int i = 0; i < 256; ++i) expected.push_back(static_cast<char>(i));
  const ProgramResult toStdout = RunProgram(Program(), {"get", NginxHttp() + "/binary", "--access-token", "t"});
  ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
  EXPECT_EQ(toStdout.out, expected);

  const std::string file = RunDir() + "/cli-binary.out";
  const ProgramResult toFile =
      RunProgram(Program(), {"get", NginxHttp() + "/binary", "--access-token", "t", "--output", file});
  ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadFileText(file), expected);

  const ProgramResult unwritable = RunProgram(
      Program(), {"get", NginxHttp() + "/binary", "--access-token", "t", "--output", "/nonexistent/dir/file"});
  EXPECT_EQ(unwritable.exitCode, 1) << unwritable.err;
}

TEST(CliTransport, CertificateOfAnUnknownCaIsRejectedUnlessInsecure) {
  const ProgramResult rejected = RunProgram(Program(), {"get", NginxHttps() + "/resource", "--access-token", "t"});
  EXPECT_EQ(rejected.exitCode, 16) << rejected.err;
  EXPECT_NE(rejected.err.find("certificate"), std::string::npos) << rejected.err;
  EXPECT_EQ(rejected.out, "");

  const ProgramResult token = RunProgram(
      Program(), Args({"token", "--token-url", NginxHttps() + "/token", "--insecure", "--tls", "1.2"}, kClient));
  EXPECT_EQ(token.exitCode, 0) << token.err;
  EXPECT_EQ(Member(token.out, "access_token"), "fixture-access-token");
}

TEST(CliTransport, RedirectsAreFollowedOnlyWithFollow) {
  const ProgramResult stopped = RunProgram(Program(), {"get", NginxHttp() + "/redirect", "--access-token", "t"});
  EXPECT_EQ(stopped.exitCode, 0) << stopped.err;  // a 302 is an answer below 400
  const ProgramResult followed =
      RunProgram(Program(), {"get", NginxHttp() + "/redirect", "--access-token", "t", "--follow"});
  EXPECT_EQ(followed.exitCode, 0) << followed.err;
  EXPECT_NE(followed.out.find("uri: /echo/redirected"), std::string::npos) << followed.out;
  const ProgramResult loop =
      RunProgram(Program(), {"get", NginxHttp() + "/redirect/loop", "--access-token", "t", "--follow"});
  EXPECT_EQ(loop.exitCode, 17) << loop.err;
}

TEST(CliTransport, ProxyCarriesTheRequestUnlessTheHostBypassesIt) {
  // nginx serves absolute-form requests, so it stands in for a forward proxy; "proxied.test" resolves nowhere.
  const std::string proxy = NginxHttp();
  const std::vector<std::string> base = {"get", "http://proxied.test/echo/p", "--access-token", "t", "--proxy", proxy};
  const ProgramResult alone = RunProgram(Program(), base);
  EXPECT_EQ(alone.exitCode, 0) << alone.err;
  EXPECT_NE(alone.out.find("host: proxied.test\n"), std::string::npos) << alone.out;
  const ProgramResult withUser = RunProgram(Program(), Args(base, {"--proxy-user", "user:pass"}));
  EXPECT_EQ(withUser.exitCode, 0) << withUser.err;
  EXPECT_NE(withUser.out.find("uri: /echo/p\n"), std::string::npos) << withUser.out;
  const ProgramResult bypassed = RunProgram(Program(), Args(base, {"--no-proxy", "proxied.test"}));
  EXPECT_EQ(bypassed.exitCode, 12) << bypassed.err;  // direct, so the name must resolve, and it does not
  EXPECT_NE(bypassed.err.find("could not be resolved"), std::string::npos) << bypassed.err;
}

}  // namespace
}  // namespace Testing
}  // namespace OAuthClient
