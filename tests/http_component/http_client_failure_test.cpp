// Refusals and transport failures: bad URLs and arguments, header injection, refused connections and timeouts.
// Every failure must leave the caller's out-arguments as they were.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

// A loopback TCP socket on a free port. With listen() the kernel completes the handshake but nobody ever reads
// or writes: a server that never answers. Without, the port is closed again and refuses connections.
class LoopbackSocket {
 public:
  explicit LoopbackSocket(bool listening) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    if (listening) {
      listen(fd_, 8);
    } else {
      close(fd_);
      fd_ = -1;
    }
  }
  ~LoopbackSocket() {
    if (fd_ >= 0) close(fd_);
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

struct UrlCase {
  const char16_t* url;
  std::int32_t expected;
};

class RefusedUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(RefusedUrl, IsRefusedBeforeAnythingIsSent) {
  Client client = NewClient();
  EXPECT_EQ(client->Send(W(u"GET"), reinterpret_cast<const WideChar*>(GetParam().url)), GetParam().expected);
  EXPECT_EQ(client->GetLastResult(), GetParam().expected);
  const WideChar* text = nullptr;
  EXPECT_EQ(client->GetLastErrorText(&text), kHttpOk);
  EXPECT_FALSE(Utf8(text).empty());
  EXPECT_EQ(client->GetStatusCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, RefusedUrl,
    ::testing::Values(UrlCase{nullptr, kHttpBadUrl}, UrlCase{u"", kHttpBadUrl}, UrlCase{u"not a url", kHttpBadUrl},
                      UrlCase{u"127.0.0.1/echo", kHttpBadUrl}, UrlCase{u"http://", kHttpBadUrl},
                      UrlCase{u"http://exa mple.test/", kHttpBadUrl}, UrlCase{u"http://a.test/\r\nX: y", kHttpBadUrl},
                      UrlCase{u"ftp://127.0.0.1/file", kHttpUnsupportedScheme},
                      UrlCase{u"file:///etc/passwd", kHttpUnsupportedScheme},
                      UrlCase{u"gopher://127.0.0.1/", kHttpUnsupportedScheme}));

TEST(HttpClientFailure, NullAndMalformedArgumentsGiveBadArgument) {
  Client client = NewClient();
  const std::u16string url = U16(HttpUrl("/echo"));
  EXPECT_EQ(client->Send(nullptr, W(url)), kHttpBadArgument);
  EXPECT_EQ(client->Send(W(u""), W(url)), kHttpBadArgument);
  EXPECT_EQ(client->Send(W(u"GET /x HTTP/1.1\r\n"), W(url)), kHttpBadArgument);
  EXPECT_EQ(client->SendBytes(W(u"POST"), W(url), nullptr, 5), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), nullptr, 4), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), W(u"x"), -2), kHttpBadArgument);
  EXPECT_EQ(client->AddRequestHeader(nullptr, W(u"v"), 0), kHttpBadArgument);
  EXPECT_EQ(client->AddRequestHeader(W(u"X"), nullptr, 0), kHttpBadArgument);
  EXPECT_EQ(client->AddRequestHeader(W(u"X"), W(u"v"), 1), kHttpBadArgument);
  EXPECT_EQ(client->SetRequestHeadersText(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->RemoveRequestHeader(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->SetStringTriple(nullptr, W(u"u"), W(u"p")), kHttpBadArgument);
  EXPECT_EQ(client->SetStringPair(nullptr, W(u"")), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseValue(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseBody(nullptr, nullptr), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseText(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseHeadersText(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->GetStatusText(nullptr), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseHeader(nullptr, nullptr), kHttpBadArgument);
  // Null texts where a text is optional are taken as empty.
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), nullptr, -1), kHttpOk);
  EXPECT_EQ(client->SetUserAgent(nullptr), kHttpOk);
}

TEST(HttpClientFailure, ReadsBeforeAnySendFindNothingAndTouchNothing) {
  Client client = NewClient();
  const WideChar* sentinel = W(u"sentinel");
  const WideChar* text = sentinel;
  const unsigned char* data = reinterpret_cast<const unsigned char*>("d");
  std::uint32_t length = 42;
  EXPECT_EQ(client->GetResponseHeadersText(&text), -1);
  EXPECT_EQ(client->GetResponseText(&text), -1);
  EXPECT_EQ(client->GetStatusText(&text), -1);
  EXPECT_EQ(client->GetResponseHeader(W(u"Date"), &text), -1);
  EXPECT_EQ(client->GetEffectiveUrl(&text), -1);
  EXPECT_EQ(client->GetLastErrorText(&text), -1);
  EXPECT_EQ(text, sentinel);
  EXPECT_EQ(client->GetResponseBody(&data, &length), -1);
  EXPECT_EQ(length, 42u);
  EXPECT_EQ(client->GetStatusCode(), 0u);
  EXPECT_EQ(client->GetLastResult(), 0);
}

struct InjectionCase {
  const char16_t* name;
  const char16_t* value;
};

class HeaderInjection : public ::testing::TestWithParam<InjectionCase> {};

TEST_P(HeaderInjection, IsRefusedAndNothingIsAdded) {
  Client client = NewClient();
  EXPECT_EQ(client->AddRequestHeader(W(GetParam().name), W(GetParam().value), 0), kHttpBadHeader);
  ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
  const std::string echo = BodyOf(client.get());
  EXPECT_EQ(EchoField(echo, "x-test-one"), "");
  EXPECT_EQ(EchoField(echo, "authorization"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Injections, HeaderInjection,
    ::testing::Values(InjectionCase{u"X-Test-One", u"a\r\nAuthorization: Bearer stolen"},
                      InjectionCase{u"X-Test-One", u"a\nAuthorization: x"},
                      InjectionCase{u"X-Test-One", u"a\rb"},
                      InjectionCase{u"X-Test-One\r\nAuthorization", u"x"}, InjectionCase{u"X Test", u"x"},
                      InjectionCase{u"X-Test-One:Authorization", u"x"}, InjectionCase{u"", u"x"}));

TEST(HttpClientFailure, MalformedHeaderTextIsRefusedWhole) {
  for (const char16_t* text : {u"X-Test-Two: fine\r\nX-Test-One: a\rAuthorization: x",
                               u"X-Test-Two: fine\r\nno colon here", u"X-Test-Two: fine\r\nBad Name: v",
                               u"X-Test-Two: fine\r\n: empty name"}) {
    Client client = NewClient();
    EXPECT_EQ(client->SetRequestHeadersText(W(text)), kHttpBadHeader);
    ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
    EXPECT_EQ(EchoField(BodyOf(client.get()), "x-test-two"), "") << "a refused text adds none of its lines";
  }
}

TEST(HttpClientFailure, ConnectionRefused) {
  LoopbackSocket closed(false);
  Client client = NewClient();
  EXPECT_EQ(Get(client.get(), closed.Url()), kHttpConnectFailed);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetLastErrorText(&text), kHttpOk);
  EXPECT_FALSE(Utf8(text).empty());
  const WideChar* sentinel = W(u"s");
  const WideChar* headers = sentinel;
  EXPECT_EQ(client->GetResponseHeadersText(&headers), -1);
  EXPECT_EQ(headers, sentinel);
}

TEST(HttpClientFailure, ServerThatNeverAnswersHitsTheReceiveTimeout) {
  LoopbackSocket silent(true);
  Client client = NewClient();
  client->SetOptionValueB(300);
  EXPECT_EQ(client->GetOptionValueB(), 300u);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Get(client.get(), silent.Url()), kHttpTimedOut);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(HttpClientFailure, WholeExchangeTimeout) {
  LoopbackSocket silent(true);
  Client client = NewClient();
  client->SetOptionValueB(30000);
  client->SetOptionValueC(400);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Get(client.get(), silent.Url()), kHttpTimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace OAuthClient::Testing
