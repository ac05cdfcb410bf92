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
    ASSERT_EQ(client->AddRequestHeader(WIDE("Authorization"), WIDE("Bearer token-123"), 0), kHttpOk);
    const std::string url = HttpUrl("/echo/path?q=1&r=%20");
    ASSERT_EQ(c.withBody ? Send(client.get(), c.method, url, c.body) : client->Send(Wide(c.method).c_str(), Wide(url).c_str()),
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
  ASSERT_EQ(client->SetRequestHeadersText(WIDE("X-Test-One: one\r\nx-test-two:two\r\nContent-Type: text/plain\r\n")),
            kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(WIDE("X-TEST-ONE"), WIDE("replaced"), 0), kHttpOk);  // replaces by name
  const WideChar* text = WIDE("caf\u00E9 \u20AC \U0001F600");
  ASSERT_EQ(client->SendText(WIDE("POST"), Wide(HttpUrl("/echo")).c_str(), text, -1), kHttpOk);
  const std::string echo = BodyOf(client.get());
  ExpectEchoFields(echo, {{"x-test-one", "replaced"}, {"x-test-two", "two"}, {"content-type", "text/plain"}});
  EXPECT_EQ(EchoBody(echo), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  ASSERT_EQ(client->SendText(WIDE("POST"), Wide(HttpUrl("/echo")).c_str(), text, 3), kHttpOk);
  EXPECT_EQ(EchoBody(BodyOf(client.get())), "caf");
}

TEST(HttpClientExchange, StatusHeadersAndTextAreThoseReceivedInTheirCharset) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/status/404")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 404u);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetStatusText(&text), kHttpOk);
  EXPECT_EQ(Text(text), WIDE("Not Found"));
  ASSERT_EQ(client->GetResponseHeadersText(&text), kHttpOk);
  const WideString headers = Text(text);
  EXPECT_EQ(headers.substr(0, 24), WIDE("HTTP/1.1 404 Not Found\r\n"));
  EXPECT_NE(headers.find(WIDE("\r\nContent-Type: text/plain\r\n")), WideString::npos);
  EXPECT_EQ(headers.substr(headers.size() - 4), WIDE("\r\n\r\n"));
  ASSERT_EQ(client->GetResponseHeader(WIDE("content-LENGTH"), &text), kHttpOk);
  EXPECT_EQ(Text(text), WIDE("11"));
  EXPECT_EQ(BodyOf(client.get()), "status 404\n");
  for (const auto& [path, expected] : {std::pair{"/charset/latin1", WIDE("caf\u00E9")}, {"/charset/utf8", WIDE("caf\u00E9 \u20AC")},
                                       {"/charset/utf16le", WIDE("caf\u00E9")}, {"/status/404", WIDE("status 404\n")}}) {
    ASSERT_EQ(Get(client.get(), HttpUrl(path)), kHttpOk);
    ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
    EXPECT_EQ(Text(text), expected) << path;
  }
}

TEST(HttpClientExchange, RedirectIsFollowedOnlyWithFlagB) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 302u);

  ASSERT_EQ(client->SetUserAgent(WIDE("agent/2")), kHttpOk);
  ASSERT_EQ(client->AddRequestHeader(WIDE("X-Test-One"), WIDE("one"), 0), kHttpOk);
  client->SetOptionFlagB(1);
  ASSERT_EQ(Get(client.get(), HttpUrl("/redirect")), kHttpOk);
  EXPECT_EQ(client->GetStatusCode(), 200u);
  ExpectEchoFields(BodyOf(client.get()), {{"uri", "/echo/redirected"}, {"user-agent", "agent/2"}, {"x-test-one", "one"}});
  EXPECT_EQ(client->GetRedirectCount(), 1);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetResponseHeadersText(&text), kHttpOk);
  EXPECT_EQ(Text(text).substr(0, 17), WIDE("HTTP/1.1 200 OK\r\n")) << "only the last answer's headers";
  ASSERT_EQ(client->GetEffectiveUrl(&text), kHttpOk);
  EXPECT_EQ(Text(text), Wide(HttpUrl("/echo/redirected")));
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
  ASSERT_EQ(client->GetResponseHeader(WIDE("Transfer-Encoding"), &coding), kHttpOk);
  EXPECT_EQ(Text(coding), WIDE("chunked"));
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
