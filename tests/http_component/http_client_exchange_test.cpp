// What the server receives and what the component hands back: methods, headers, bodies, statuses, charsets,
// redirects and the size cap, against the test nginx.
#include <gtest/gtest.h>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

using namespace std::string_literals;

TEST(HttpClientExchange, ServerReceivesMethodUriHeadersAndBody) {
  struct Case {
    const char* method;
    bool withBody;
    std::string body;
    const char* contentLength;  // "" when none is sent
  };
  for (const Case& c : {Case{"GET", false, "", ""}, Case{"POST", false, "", "0"},
                        Case{"POST", true, "a\0\x80\xFF\r\n"s, "6"}, Case{"PUT", true, "{\"k\":true}", "10"}}) {
    SCOPED_TRACE(c.method + std::string(c.withBody ? " with body" : ""));
    Client client = NewClient();
    ASSERT_EQ(client->AddRequestHeader(W(u"Authorization"), W(u"Bearer token-123"), 0), kHttpOk);
    const std::string url = HttpUrl("/echo/path?q=1&r=%20");
    ASSERT_EQ(c.withBody ? Send(client.get(), c.method, url, c.body) : client->Send(W(U16(c.method)), W(U16(url))),
              kHttpOk);
    EXPECT_EQ(client->GetStatusCode(), 200u);
    const std::string echo = BodyOf(client.get());
    // No body type is invented for the caller.
    ExpectEchoFields(echo, {{"method", c.method}, {"uri", "/echo/path?q=1&r=%20"}, {"authorization", "Bearer token-123"},
                            {"content-length", c.contentLength}, {"content-type", ""}});
    EXPECT_EQ(EchoBody(echo), c.body);
  }
}

TEST(HttpClientExchange, HeadersTextAndSendTextAsUtf8) {
  Client client = NewClient();
  ASSERT_EQ(client->SetRequestHeadersText(W(u"X-Test-One: one\r\nx-test-two:two\r\nContent-Type: text/plain\r\n")),
            kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(W(u"X-TEST-ONE"), W(u"replaced"), 0), kHttpOk);  // replaces by name
  const WideChar* text = W(u"caf\u00E9 \u20AC \U0001F600");
  ASSERT_EQ(client->SendText(W(u"POST"), W(U16(HttpUrl("/echo"))), text, -1), kHttpOk);
  const std::string echo = BodyOf(client.get());
  ExpectEchoFields(echo, {{"x-test-one", "replaced"}, {"x-test-two", "two"}, {"content-type", "text/plain"}});
  EXPECT_EQ(EchoBody(echo), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  ASSERT_EQ(client->SendText(W(u"POST"), W(U16(HttpUrl("/echo"))), text, 3), kHttpOk);
  EXPECT_EQ(EchoBody(BodyOf(client.get())), "caf");
}

TEST(HttpClientExchange, StatusHeadersAndTextAreThoseReceivedInTheirCharset) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/status/404")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 404u);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetStatusText(&text), kHttpOk);
  EXPECT_EQ(Text(text), u"Not Found");
  ASSERT_EQ(client->GetResponseHeadersText(&text), kHttpOk);
  const std::u16string headers = Text(text);
  EXPECT_EQ(headers.substr(0, 24), u"HTTP/1.1 404 Not Found\r\n");
  EXPECT_NE(headers.find(u"\r\nContent-Type: text/plain\r\n"), std::u16string::npos);
  EXPECT_EQ(headers.substr(headers.size() - 4), u"\r\n\r\n");
  ASSERT_EQ(client->GetResponseHeader(W(u"content-LENGTH"), &text), kHttpOk);
  EXPECT_EQ(Text(text), u"11");
  EXPECT_EQ(BodyOf(client.get()), "status 404\n");
  for (const auto& [path, expected] : {std::pair{"/charset/latin1", u"caf\u00E9"}, {"/charset/utf8", u"caf\u00E9 \u20AC"},
                                       {"/charset/utf16le", u"caf\u00E9"}, {"/status/404", u"status 404\n"}}) {
    ASSERT_EQ(Get(client.get(), HttpUrl(path)), kHttpOk);
    ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
    EXPECT_EQ(Text(text), expected) << path;
  }
}

TEST(HttpClientExchange, RedirectIsFollowedOnlyWithFlagB) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 302u);

  ASSERT_EQ(client->SetUserAgent(W(u"agent/2")), kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(W(u"X-Test-One"), W(u"one"), 0), kHttpOk);
  client->SetOptionFlagB(1);
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
  ExpectEchoFields(BodyOf(client.get()), {{"uri", "/echo/redirected"}, {"user-agent", "agent/2"}, {"x-test-one", "one"}});
  EXPECT_EQ(client->GetRedirectCount(), 1);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&text), kHttpOk);
  EXPECT_EQ(Text(text).substr(0, 17), u"HTTP/1.1 200 OK\r\n") << "only the last answer's headers";
  ASSERT_EQ(client->GetEffectiveUrl(&text), kHttpOk);
  EXPECT_EQ(Text(text), U16(HttpUrl("/echo/redirected")));
}

TEST(HttpClientExchange, BinaryAndEmptyResponseBodiesAndTheSizeCap) {
  Client client = NewClient();
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  client->SetMaxResponseSize(256);  // exactly at the cap is allowed, one byte over is not
  ASSERT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpOk);
  EXPECT_EQ(BodyOf(client.get()), bytes);
  client->SetMaxResponseSize(255);
  EXPECT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpResponseTooLarge);
  const unsigned char* data = reinterpret_cast<const unsigned char*>("x");
  std::uint32_t length = 7;
  EXPECT_EQ(client->GetResponseBody(&data, &length), -1) << "no answer is kept";
  EXPECT_EQ(length, 7u);
  // Without Content-Length the cap holds as the body arrives.
  client->SetMaxResponseSize(256);
  ASSERT_EQ(Get(client.get(), HttpUrl("/chunked")), kHttpOk);
  const WideChar* coding = nullptr;
  ASSERT_EQ(client->GetResponseHeader(W(u"Transfer-Encoding"), &coding), kHttpOk);
  EXPECT_EQ(Text(coding), u"chunked");
  EXPECT_EQ(BodyOf(client.get()), bytes);
  client->SetMaxResponseSize(255);
  EXPECT_EQ(Get(client.get(), HttpUrl("/chunked")), kHttpResponseTooLarge);

  ASSERT_EQ(Get(client.get(), HttpUrl("/status/204")), kHttpOk);
  EXPECT_EQ(client->GetResponseBody(&data, &length), kHttpOk);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(length, 0u);
}

}  // namespace
}  // namespace OAuthClient::Testing
