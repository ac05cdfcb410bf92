// What the server receives and what the component hands back: methods, headers, bodies, statuses, charsets,
// redirects and the size cap, against the test nginx.
#include <gtest/gtest.h>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

struct EchoCase {
  const char* name;
  const char* method;
  const char* body;  // null: Send without a body
  const char* expectedLength;
};

class EchoExchange : public ::testing::TestWithParam<EchoCase> {};

TEST_P(EchoExchange, ServerReceivesMethodUriHeadersAndBody) {
  const EchoCase& c = GetParam();
  Client client = NewClient();
  ASSERT_EQ(client->AddRequestHeader(W(u"Authorization"), W(u"Bearer token-123"), 0), kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(W(u"X-Test-One"), W(u"first"), 0), kHttpOk);
  const std::u16string url = U16(HttpUrl("/echo/path?q=1&r=%20"));
  std::int32_t sent;
  if (c.body == nullptr) {
    sent = client->Send(W(U16(c.method)), W(url));
  } else {
    const std::string body(c.body);
    sent = client->SendBytes(W(U16(c.method)), W(url), reinterpret_cast<const unsigned char*>(body.data()),
                             static_cast<std::uint32_t>(body.size()));
  }
  ASSERT_EQ(sent, kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
  const std::string echo = BodyOf(client.get());
  EXPECT_EQ(EchoField(echo, "method"), c.method);
  EXPECT_EQ(EchoField(echo, "uri"), "/echo/path?q=1&r=%20");
  EXPECT_EQ(EchoField(echo, "authorization"), "Bearer token-123");
  EXPECT_EQ(EchoField(echo, "x-test-one"), "first");
  EXPECT_EQ(EchoField(echo, "content-length"), c.expectedLength);
  // No body type is invented for the caller.
  EXPECT_EQ(EchoField(echo, "content-type"), "");
  EXPECT_EQ(EchoField(echo, "user-agent"), "zqhttpclient/1.0");
  EXPECT_EQ(EchoBody(echo), c.body == nullptr ? "" : c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Methods, EchoExchange,
    ::testing::Values(EchoCase{"Get", "GET", nullptr, ""}, EchoCase{"Delete", "DELETE", nullptr, ""},
                      EchoCase{"PostWithoutBody", "POST", nullptr, "0"},
                      EchoCase{"PostWithBody", "POST", "a=1&b=2", "7"},
                      EchoCase{"PutWithBody", "PUT", "{\"k\":true}", "10"},
                      EchoCase{"CustomMethodWithBody", "PATCH", "patch", "5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpClientExchange, BinaryRequestBodyArrivesByteForByte) {
  Client client = NewClient();
  std::string body;
  for (int i = 0; i < 256; ++i) body.push_back(static_cast<char>(i));
  ASSERT_EQ(client->SendBytes(W(u"POST"), W(U16(HttpUrl("/echo"))),
                              reinterpret_cast<const unsigned char*>(body.data()), 256),
            kHttpOk);
  EXPECT_EQ(EchoBody(BodyOf(client.get())), body);
}

TEST(HttpClientExchange, SendTextGoesOutAsUtf8AndHonoursLength) {
  Client client = NewClient();
  const std::u16string text = U16("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  ASSERT_EQ(client->SendText(W(u"POST"), W(U16(HttpUrl("/echo"))), W(text), -1), kHttpOk);
  EXPECT_EQ(EchoBody(BodyOf(client.get())), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");

  ASSERT_EQ(client->SendText(W(u"POST"), W(U16(HttpUrl("/echo"))), W(text), 3), kHttpOk);
  EXPECT_EQ(EchoBody(BodyOf(client.get())), "caf");
}

TEST(HttpClientExchange, HeadersTextAddsEveryLineAndLaterHeadersReplaceByName) {
  Client client = NewClient();
  ASSERT_EQ(client->SetRequestHeadersText(W(u"X-Test-One: one\r\nx-test-two:two\r\nContent-Type: text/plain\r\n")),
            kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(W(u"X-TEST-ONE"), W(u"replaced"), 0), kHttpOk);
  ASSERT_EQ(client->SendText(W(u"POST"), W(U16(HttpUrl("/echo"))), W(u"x"), -1), kHttpOk);
  const std::string echo = BodyOf(client.get());
  EXPECT_EQ(EchoField(echo, "x-test-one"), "replaced");
  EXPECT_EQ(EchoField(echo, "x-test-two"), "two");
  EXPECT_EQ(EchoField(echo, "content-type"), "text/plain");
}

TEST(HttpClientExchange, UserAgentAndResetToDefaults) {
  Client client = NewClient();
  EXPECT_EQ(client->SetUserAgent(W(u"agent/2\r\nX-Test-One: injected")), kHttpBadHeader);
  ASSERT_EQ(client->SetUserAgent(W(u"agent/2")), kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(W(u"X-Test-One"), W(u"one"), 0), kHttpOk);
  client->SetOptionFlagB(1);
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(EchoField(BodyOf(client.get()), "user-agent"), "agent/2");
  EXPECT_EQ(EchoField(BodyOf(client.get()), "x-test-one"), "one");

  client->Reset();
  EXPECT_EQ(client->GetStatusCode(), 0u);
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 302u) << "redirects are not followed after Reset";
  ASSERT_EQ(Get(client.get(), HttpUrl("/echo")), kHttpOk);
  EXPECT_EQ(EchoField(BodyOf(client.get()), "user-agent"), "zqhttpclient/1.0");
  EXPECT_EQ(EchoField(BodyOf(client.get()), "x-test-one"), "");
}

TEST(HttpClientExchange, StatusCodeTextAndHeadersTextAreThoseReceived) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/status/404")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 404u);
  const WideChar* reason = nullptr;
  ASSERT_EQ(client->GetStatusText(&reason), kHttpOk);
  EXPECT_EQ(Utf8(reason), "Not Found");
  const WideChar* headers = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&headers), kHttpOk);
  const std::string text = Utf8(headers);
  EXPECT_EQ(text.rfind("HTTP/1.1 404 Not Found\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nContent-Type: text/plain\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
  const WideChar* value = nullptr;
  ASSERT_EQ(client->GetResponseHeader(W(u"content-LENGTH"), &value), kHttpOk);
  EXPECT_EQ(Utf8(value), "11");
  EXPECT_EQ(BodyOf(client.get()), "status 404\n");
  std::uintptr_t duration = 0;
  EXPECT_EQ(client->GetResponseValue(&duration), kHttpOk);
  EXPECT_GT(duration, 0u);
}

TEST(HttpClientExchange, StatusLineWithoutReasonGivesNoStatusText) {
  // nginx answers 407 with "HTTP/1.1 407 " (no phrase); HTTP/2 never has one (see the TLS tests).
  Client client = NewClient();
  ASSERT_EQ(client->SetStringPair(W(U16("http://127.0.0.1:" + HttpPort())), W(u"")), kHttpOk);
  ASSERT_EQ(Get(client.get(), "http://proxied.invalid/x"), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 407u);
  const WideChar* reason = W(u"untouched");
  EXPECT_EQ(client->GetStatusText(&reason), -1);
  EXPECT_EQ(Utf8(reason), "untouched");
}

TEST(HttpClientExchange, BinaryAndEmptyResponseBodies) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpOk);
  std::string expected;
  for (int i = 0; i < 256; ++i) expected.push_back(static_cast<char>(i));
  EXPECT_EQ(BodyOf(client.get()), expected);
  EXPECT_EQ(client->GetResponseBodyLength(), 256u);

  ASSERT_EQ(Get(client.get(), HttpUrl("/status/204")), kHttpOk);
  const unsigned char* data = reinterpret_cast<const unsigned char*>("x");
  std::uint32_t length = 99;
  EXPECT_EQ(client->GetResponseBody(&data, &length), kHttpOk);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(length, 0u);
}

struct CharsetCase {
  const char* path;
  const char* expectedUtf8;
};

class ResponseTextCharset : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(ResponseTextCharset, BodyIsDecodedByTheContentTypeCharset) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl(GetParam().path)), kHttpOk);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
  EXPECT_EQ(Utf8(text), GetParam().expectedUtf8);
}

INSTANTIATE_TEST_SUITE_P(Charsets, ResponseTextCharset,
                         ::testing::Values(CharsetCase{"/charset/latin1", "caf\xC3\xA9"},
                                           CharsetCase{"/charset/utf8", "caf\xC3\xA9 \xE2\x82\xAC"},
                                           CharsetCase{"/charset/utf16le", "caf\xC3\xA9"},
                                           CharsetCase{"/status/404", "status 404\n"}));

TEST(HttpClientExchange, RedirectIsFollowedOnlyWithFlagB) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 302u);
  const WideChar* location = nullptr;
  ASSERT_EQ(client->GetResponseHeader(W(u"Location"), &location), kHttpOk);
  EXPECT_NE(Utf8(location).find("/echo/redirected"), std::string::npos);

  client->SetOptionFlagB(1);
  EXPECT_EQ(client->GetOptionFlagB(), 1);
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
  EXPECT_EQ(EchoField(BodyOf(client.get()), "uri"), "/echo/redirected");
  EXPECT_EQ(client->GetRedirectCount(), 1);
  const WideChar* headers = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&headers), kHttpOk);
  EXPECT_EQ(Utf8(headers).rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << "only the last answer's headers";
  const WideChar* effective = nullptr;
  ASSERT_EQ(client->GetEffectiveUrl(&effective), kHttpOk);
  EXPECT_EQ(Utf8(effective), HttpUrl("/echo/redirected"));
}

TEST(HttpClientExchange, RedirectLoopAndNonHttpTargetAreRefused) {
  Client client = NewClient();
  client->SetOptionFlagB(1);
  EXPECT_EQ(Get(client.get(), HttpUrl("/redirect/loop")), kHttpTooManyRedirects);
  EXPECT_EQ(Get(client.get(), HttpUrl("/redirect/ftp")), kHttpUnsupportedScheme);
  EXPECT_EQ(client->GetLastResult(), kHttpUnsupportedScheme);
}

TEST(HttpClientExchange, ResponseSizeCap) {
  Client client = NewClient();
  EXPECT_EQ(client->GetMaxResponseSize(), 64u << 20);
  ASSERT_EQ(Get(client.get(), HttpUrl("/large")), kHttpOk);
  EXPECT_EQ(client->GetResponseBodyLength(), 1u << 20);

  client->SetMaxResponseSize(1000);
  EXPECT_EQ(Get(client.get(), HttpUrl("/large")), kHttpResponseTooLarge);  // announced by Content-Length
  const unsigned char* data = nullptr;
  std::uint32_t length = 7;
  EXPECT_EQ(client->GetResponseBody(&data, &length), -1);
  EXPECT_EQ(length, 7u);

  // Exactly at the cap is allowed, one byte over is not.
  client->SetMaxResponseSize(256);
  EXPECT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpOk);
  client->SetMaxResponseSize(255);
  EXPECT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpResponseTooLarge);
}

}  // namespace
}  // namespace OAuthClient::Testing
