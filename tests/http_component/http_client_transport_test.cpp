// TLS verification and versions, proxies, connection reuse and concurrent use, against the test nginx.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

TEST(HttpClientTls, CertificateIsVerifiedAgainstSslCertFileUnlessFlagA) {
  unsetenv("SSL_CERT_FILE");  // the system store, which does not know the test CA
  Client client = NewClient();
  EXPECT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpCertificateRejected);
  client->SetOptionFlagA(1);
  ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), kHttpOk);
  // HTTP/1.1 though the server offers HTTP/2, so header names arrive spelled as the server wrote them.
  EXPECT_EQ(EchoField(BodyOf(client.get()), "protocol"), "HTTP/1.1");
  const WideChar* headers = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&headers), kHttpOk);
  EXPECT_NE(Text(headers).find(u"\r\nContent-Type: text/plain\r\n"), std::u16string::npos);

  setenv("SSL_CERT_FILE", RunFile("nginx/ca.pem").c_str(), 1);
  const std::int32_t byAddress = Get(NewClient().get(), HttpsUrl("/echo"));
  // The name in the URL must match the certificate too: "localhost" is in it.
  const std::int32_t byName = Get(NewClient().get(), "https://localhost:" + HttpsPort() + "/echo");
  unsetenv("SSL_CERT_FILE");
  EXPECT_EQ(byAddress, kHttpOk);
  EXPECT_EQ(byName, kHttpOk);
  // Pooled transfer handles and their connections keep neither flag A nor the CA file of an earlier object.
  EXPECT_EQ(Get(NewClient().get(), HttpsUrl("/echo")), kHttpCertificateRejected);
}

// The server offers TLS 1.2 and 1.3. TLS 1.0 fails the handshake (the server refuses it, and so does OpenSSL 3
// at its default security level).
TEST(HttpClientTls, SecureProtocolPinsTheTlsVersion) {
  for (const auto& [code, expected, protocol] :
       {std::tuple{0, kHttpOk, "TLSv1.3"}, {3, kHttpTlsFailed, ""}, {5, kHttpOk, "TLSv1.2"}, {6, kHttpOk, "TLSv1.3"}}) {
    Client client = NewClient();
    client->SetOptionFlagA(1);
    client->SetSecureProtocol(code);
    ASSERT_EQ(Get(client.get(), HttpsUrl("/echo")), expected) << code;
    EXPECT_EQ(EchoField(BodyOf(client.get()), "tls"), protocol) << code;
  }
}

// The test nginx doubles as a proxy: it answers 407 (a status line without reason phrase) without credentials.
TEST(HttpClientProxy, RequestsGoThroughTheProxyWithItsCredentials) {
  const std::u16string proxy = U16(HttpUrl(""));
  Client client = NewClient();
  ASSERT_EQ(client->SetStringPair(W(proxy), W(u"")), kHttpOk);
  ASSERT_EQ(Get(client.get(), "http://proxied.invalid/x"), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 407u);
  const WideChar* reason = W(u"untouched");
  EXPECT_EQ(client->GetStatusText(&reason), -1);
  EXPECT_EQ(Text(reason), u"untouched");
  ASSERT_EQ(client->SetStringTriple(W(proxy), W(u"user"), W(u"secret")), kHttpOk);
  ASSERT_EQ(Get(client.get(), "http://proxied.invalid/through?x=1"), kHttpOk);
  EXPECT_EQ(BodyOf(client.get()), "proxied GET /through?x=1 Basic dXNlcjpzZWNyZXQ=\n");
  client->SetStringNone();  // direct again: proxied.invalid does not resolve
  EXPECT_EQ(Get(client.get(), "http://proxied.invalid/through"), kHttpCannotResolve);
  EXPECT_EQ(client->SetStringPair(W(u"socks5h://127.0.0.1:1080"), W(u"a.test; b.test")), kHttpOk);
}

// Successive objects reuse one keep-alive connection, also across threads, and share the pool safely.
TEST(HttpClientPool, ObjectsReuseConnectionsAndShareThePoolAcrossThreads) {
  for (const std::string& url : {HttpUrl("/echo"), HttpsUrl("/echo")}) {
    std::set<std::string> connections;
    for (int i = 0; i < 10; ++i) {
      Client client = NewClient();
      client->SetOptionFlagA(1);
      ASSERT_EQ(Get(client.get(), url), kHttpOk);
      connections.insert(EchoField(BodyOf(client.get()), "connection"));
    }
    EXPECT_EQ(connections.size(), 1u) << url;
  }
  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 40; ++i) {
        Client client = NewClient();
        client->SetOptionFlagA(1);
        const std::string body = std::to_string(t) + "-" + std::to_string(i);
        if (Send(client.get(), "POST", i % 2 ? HttpsUrl("/echo/t") : HttpUrl("/echo/t"), body) != kHttpOk ||
            EchoBody(BodyOf(client.get())) != body)
          ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace OAuthClient::Testing
