// TLS verification and versions, proxies, connection reuse and concurrent use, against the test nginx.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

// Points the component at a CA bundle (or at none: the system store) for one test.
class CaBundle {
 public:
  explicit CaBundle(const std::string& file) {
    if (file.empty()) {
      unsetenv("SSL_CERT_FILE");
    } else {
      setenv("SSL_CERT_FILE", file.c_str(), 1);
    }
  }
  ~CaBundle() { unsetenv("SSL_CERT_FILE"); }
};

TEST(HttpClientTls, UnknownCertificateIsRejectedByDefault) {
  CaBundle system("");
  Client client = NewClient();
  EXPECT_EQ(client->GetOptionFlagA(), 0);
  EXPECT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpCertificateRejected);
}

TEST(HttpClientTls, FlagAAcceptsAnUnknownCertificate) {
  CaBundle system("");
  Client client = NewClient();
  client->SetOptionFlagA(7);
  EXPECT_EQ(client->GetOptionFlagA(), 1);
  ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
}

TEST(HttpClientTls, CaBundleFromSslCertFileVerifiesTheServer) {
  CaBundle fixture(CaFile());
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpOk);
  const std::string echo = BodyOf(client.get());
  // HTTP/2 by ALPN: the status line has no reason phrase.
  EXPECT_EQ(EchoField(echo, "protocol"), "HTTP/2.0");
  const WideChar* reason = nullptr;
  EXPECT_EQ(client->GetStatusText(&reason), -1);
  const WideChar* headers = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&headers), kHttpOk);
  EXPECT_EQ(Utf8(headers).rfind("HTTP/2 200", 0), 0u) << Utf8(headers);
  // The name in the URL must match the certificate too: "localhost" is in it.
  ASSERT_EQ(Get(client.get(), "https://localhost:" + HttpsUrl("").substr(HttpsUrl("").rfind(':') + 1) + "/echo"),
            kHttpOk);
}

struct VersionCase {
  std::int32_t code;
  std::int32_t expected;
  const char* protocol;
};

class SecureProtocol : public ::testing::TestWithParam<VersionCase> {};

TEST_P(SecureProtocol, PinsTheTlsVersion) {
  Client client = NewClient();
  client->SetOptionFlagA(1);
  client->SetSecureProtocol(GetParam().code);
  ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), GetParam().expected);
  if (GetParam().expected == kHttpOk) {
    EXPECT_EQ(EchoField(BodyOf(client.get()), "tls"), GetParam().protocol);
  }
}

// The server offers TLS 1.2 and 1.3. TLS 1.0 and 1.1 fail the handshake (the server refuses them, and so does
// OpenSSL 3 at its default security level).
INSTANTIATE_TEST_SUITE_P(Versions, SecureProtocol,
                         ::testing::Values(VersionCase{0, kHttpOk, "TLSv1.3"}, VersionCase{5, kHttpOk, "TLSv1.2"},
                                           VersionCase{6, kHttpOk, "TLSv1.3"},
                                           VersionCase{3, kHttpTlsFailed, ""}, VersionCase{4, kHttpTlsFailed, ""},
                                           VersionCase{99, kHttpOk, "TLSv1.3"}));

TEST(HttpClientProxy, RequestsGoThroughTheProxyWithItsCredentials) {
  const std::u16string proxy = U16("http://127.0.0.1:" + HttpPort());
  Client client = NewClient();
  ASSERT_EQ(client->SetStringTriple(W(proxy), W(u"user"), W(u"secret")), kHttpOk);
  ASSERT_EQ(Get(client.get(), "http://proxied.invalid/through?x=1"), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
  EXPECT_EQ(BodyOf(client.get()), "proxied GET /through?x=1 Basic dXNlcjpzZWNyZXQ=\n");

  client->SetStringNone();  // direct again: proxied.invalid does not resolve
  EXPECT_NE(Get(client.get(), "http://proxied.invalid/through"), kHttpOk);
}

TEST(HttpClientProxy, MalformedProxyUrlsAreRefusedAndChangeNothing) {
  Client client = NewClient();
  for (const char16_t* bad : {u"", u"not a proxy", u"ftp://127.0.0.1:21", u"http://", u"http://a b:1", u"x:y:z"}) {
    EXPECT_EQ(client->SetStringPair(reinterpret_cast<const WideChar*>(bad), W(u"")), kHttpBadProxy);
    EXPECT_EQ(client->SetStringTriple(reinterpret_cast<const WideChar*>(bad), W(u"u"), W(u"p")), kHttpBadProxy);
  }
  EXPECT_EQ(client->SetStringPair(W(u"ftp.proxy.test:3128"), W(u"a.test; b.test")), kHttpOk);
  EXPECT_EQ(client->SetStringPair(W(u"socks5h://127.0.0.1:1080"), nullptr), kHttpOk);
  client->SetStringNone();
  ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
}

TEST(HttpClientReuse, SuccessiveObjectsReuseOneConnection) {
  std::set<std::string> connections;
  for (int i = 0; i < 20; ++i) {
    Client client = NewClient();
    ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
    connections.insert(EchoField(BodyOf(client.get()), "connection"));
  }
  EXPECT_EQ(connections.size(), 1u);
}

TEST(HttpClientReuse, SuccessiveHttpsObjectsReuseOneConnection) {
  std::set<std::string> connections;
  for (int i = 0; i < 10; ++i) {
    Client client = NewClient();
    client->SetOptionFlagA(1);
    ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpOk);
    connections.insert(EchoField(BodyOf(client.get()), "connection"));
  }
  EXPECT_EQ(connections.size(), 1u);
}

TEST(HttpClientConcurrency, ObjectsOnSeveralThreadsShareThePoolSafely) {
  constexpr int kThreads = 4, kRequests = 40;
  std::vector<int> failures(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      const std::u16string http = U16(HttpUrl("/echo/t")), https = U16(HttpsUrl("/echo/t"));
      for (int i = 0; i < kRequests; ++i) {
        Client client = NewClient();
        client->SetOptionFlagA(1);
        const std::string body = std::to_string(t) + "-" + std::to_string(i);
        const std::int32_t sent =
            client->SendBytes(W(u"POST"), W(i % 2 ? https : http), reinterpret_cast<const unsigned char*>(body.data()),
                              static_cast<std::uint32_t>(body.size()));
        if (sent != kHttpOk || EchoBody(BodyOf(client.get())) != body) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace OAuthClient::Testing
