// Refusals and transport failures: bad URLs and arguments, header injection, refused connections and timeouts.
// Every failure must leave the caller's out-arguments as they were.
#include <gtest/gtest.h>

#include <chrono>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

TEST(HttpClientFailure, BadUrlsAndArgumentsAreRefusedBeforeAnythingIsSent) {
  for (const auto& [url, expected] :
       {std::pair<const char16_t*, std::int32_t>{nullptr, kHttpBadUrl}, {u"not a url", kHttpBadUrl},
        {u"http://", kHttpBadUrl}, {u"http://exa mple.test/", kHttpBadUrl}, {u"http://a.test/\r\nX: y", kHttpBadUrl},
        {u"ftp://127.0.0.1/file", kHttpUnsupportedScheme}, {u"file:///etc/passwd", kHttpUnsupportedScheme}}) {
    Client client = NewClient();
    EXPECT_EQ(client->Send(W(u"GET"), W(url)), expected);
    EXPECT_EQ(client->GetLastResult(), expected);
    const WideChar* text = nullptr;
    EXPECT_EQ(client->GetLastErrorText(&text), kHttpOk);
    EXPECT_FALSE(Text(text).empty());
    EXPECT_EQ(client->GetStatusCode(), 0u);
  }
  Client client = NewClient();
  const std::u16string url = U16(HttpUrl("/echo"));
  EXPECT_EQ(client->Send(nullptr, W(url)), kHttpBadArgument);
  EXPECT_EQ(client->Send(W(u"GET /x HTTP/1.1\r\n"), W(url)), kHttpBadArgument);
  EXPECT_EQ(client->SendBytes(W(u"POST"), W(url), nullptr, 5), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), W(u"x"), -2), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseBody(nullptr, nullptr), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), nullptr, -1), kHttpOk) << "a null optional text is empty";
}

// Refused header names, values and header texts add nothing at all, and no line smuggles in another header.
TEST(HttpClientFailure, HeaderInjectionIsRefusedAndNothingIsAdded) {
  Client client = NewClient();
  for (const auto& [name, value] : {std::pair{u"X-Test-One", u"a\r\nAuthorization: Bearer stolen"},
                                    {u"X-Test-One", u"a\nAuthorization: x"}, {u"X-Test-One", u"a\rb"},
                                    {u"X-Test-One\r\nAuthorization", u"x"}, {u"X Test", u"x"}, {u"", u"x"}}) {
    EXPECT_EQ(client->AddRequestHeader(W(name), W(value), 0), kHttpBadHeader);
  }
  for (const char16_t* text : {u"X-Test-Two: fine\r\nX-Test-One: a\rAuthorization: x",
                               u"X-Test-Two: fine\r\nno colon here", u"X-Test-Two: fine\r\nBad Name: v"}) {
    EXPECT_EQ(client->SetRequestHeadersText(W(text)), kHttpBadHeader);
  }
  EXPECT_EQ(client->SetUserAgent(W(u"agent/2\r\nX-Test-One: injected")), kHttpBadHeader);
  ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
  ExpectEchoFields(BodyOf(client.get()),
                   {{"x-test-one", ""}, {"x-test-two", ""}, {"authorization", ""}, {"user-agent", "zqhttpclient/1.0"}});
}

// A refused connection, and a server that accepts the connection and never answers: the receive timeout (B) and
// the whole-exchange timeout (C) each end the send. No answer is kept and the out-arguments stay as they were.
TEST(HttpClientFailure, RefusedAndSilentServersLeaveNoAnswer) {
  const std::string closed = LoopbackSocket().Url();  // nothing listens there any more
  LoopbackSocket silent;
  for (const auto& [url, receive, whole, expected, atLeast] :
       {std::tuple{closed, 0u, 0u, kHttpConnectFailed, 0}, {silent.Url(), 300u, 0u, kHttpTimedOut, 250},
        {silent.Url(), 30000u, 400u, kHttpTimedOut, 350}}) {
    SCOPED_TRACE(expected);
    Client client = NewClient();
    client->SetOptionValueB(receive);  // 0: the default
    client->SetOptionValueC(whole);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(client.get(), url), expected);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(atLeast));
    EXPECT_LT(waited, std::chrono::seconds(5));
    const WideChar* const sentinel = W(u"sentinel");
    const WideChar* text = sentinel;
    const unsigned char* data = reinterpret_cast<const unsigned char*>("d");
    std::uint32_t length = 42;
    EXPECT_EQ(client->GetResponseHeadersText(&text), -1);
    EXPECT_EQ(client->GetResponseText(&text), -1);
    EXPECT_EQ(client->GetResponseHeader(W(u"Date"), &text), -1);
    EXPECT_EQ(text, sentinel);
    EXPECT_EQ(client->GetResponseBody(&data, &length), -1);
    EXPECT_EQ(length, 42u);
    EXPECT_EQ(client->GetStatusCode(), 0u);
    ASSERT_EQ(client->GetLastErrorText(&text), kHttpOk);
    EXPECT_FALSE(Text(text).empty());
  }
}

}  // namespace
}  // namespace OAuthClient::Testing
