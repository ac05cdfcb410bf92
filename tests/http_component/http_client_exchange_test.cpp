// What the server receives and what the component hands back: methods, headers, bodies, statuses, charsets and
// the size cap, against the test nginx. Redirects are the fault suite's (http_client_fault_test.cpp).
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

using namespace std::string_literals;

struct Sent {
  const char* name;
  const char* method;
  std::optional<std::string> body;  // none: Send without a body
  const char* contentLength;        // "" when none is sent
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const Sent& sent, std::ostream* out) { *out << sent.name; }

class HttpClientSends : public ::testing::TestWithParam<Sent> {};

TEST_P(HttpClientSends, ServerReceivesMethodUriHeadersAndBody) {
  const Sent& sent = GetParam();
  Client client = NewClient();
  ASSERT_EQ(client->AddRequestHeader(WIDE("Authorization"), WIDE("Bearer token-123"), 0), kHttpOk);
  const std::string url = HttpUrl("/echo/path?q=1&r=%20");
  ASSERT_EQ(sent.body ? Send(client.get(), sent.method, url, *sent.body)
                      : client->Send(Wide(sent.method).c_str(), Wide(url).c_str()),
            kHttpOk);
  const std::string echo = BodyOf(client.get());
  // No body type is invented for the caller.
  ExpectEchoFields(echo, {{"method", sent.method}, {"uri", "/echo/path?q=1&r=%20"}, {"authorization", "Bearer token-123"},
                          {"content-length", sent.contentLength}, {"content-type", ""},
                          {"user-agent", "zqhttpclient/1.0"}});
  EXPECT_EQ(EchoBody(echo), sent.body.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Methods, HttpClientSends,
                         ::testing::Values(Sent{"Get", "GET", std::nullopt, ""},
                                           Sent{"PostWithoutBody", "POST", std::nullopt, "0"},
                                           Sent{"PostBinary", "POST", "a\0\x80\xFF\r\n"s, "6"},
                                           Sent{"PutJson", "PUT", "{\"k\":true}", "10"}),
                         [](const auto& info) { return std::string(info.param.name); });

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
  EXPECT_EQ(headers.substr(headers.size() - 4), WIDE("\r\n\r\n"));
  ASSERT_EQ(client->GetResponseHeader(WIDE("content-LENGTH"), &text), kHttpOk);
  EXPECT_EQ(Text(text), WIDE("11"));
  EXPECT_EQ(BodyOf(client.get()), "status 404\n");
}

struct Decoded {
  const char* name;
  const char* path;
  const WideChar* text;
};

class HttpClientDecodes : public ::testing::TestWithParam<Decoded> {};

TEST_P(HttpClientDecodes, ResponseTextFollowsTheCharset) {
  Client client = NewClient();
  ASSERT_EQ(Get(client.get(), HttpUrl(GetParam().path)), kHttpOk);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
  EXPECT_EQ(Text(text), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Charsets, HttpClientDecodes,
                         ::testing::Values(Decoded{"Latin1", "/charset/latin1", WIDE("caf\u00E9")},
                                           Decoded{"Utf8ByDefault", "/charset/utf8", WIDE("caf\u00E9 \u20AC")},
                                           Decoded{"Utf16Le", "/charset/utf16le", WIDE("caf\u00E9")}),
                         [](const auto& info) { return std::string(info.param.name); });

// Over the cap is the fault suite's; here a body exactly at the cap arrives whole, with or without Content-Length.
TEST(HttpClientExchange, BinaryBodiesAtTheCapAndEmptyBodies) {
  Client client = NewClient();
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  client->SetMaxResponseSize(256);
  ASSERT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpOk);
  EXPECT_EQ(BodyOf(client.get()), bytes);
  ASSERT_EQ(Get(client.get(), HttpUrl("/chunked")), kHttpOk);
  EXPECT_EQ(BodyOf(client.get()), bytes);
  client->SetMaxResponseSize(255);
  EXPECT_EQ(Get(client.get(), HttpUrl("/binary")), kHttpResponseTooLarge);
  ASSERT_EQ(Get(client.get(), HttpUrl("/status/204")), kHttpOk);
  const unsigned char* data = reinterpret_cast<const unsigned char*>("x");
  std::uint32_t length = 7;
  EXPECT_EQ(client->GetResponseBody(&data, &length), kHttpOk);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(length, 0u);
}

// A large ASCII body is dropped once its text is made and rebuilt when asked for: reads in either order give the same
// bytes, and a body pointer handed out before the text stays valid (ASan sees a use after free otherwise).
TEST(HttpClientExchange, LargeBodyReadsTheSameBeforeAndAfterItsText) {
  Client client = NewClient();
  const std::string large(1024 * 1024, 'x');
  ASSERT_EQ(Get(client.get(), HttpUrl("/large")), kHttpOk);
  const WideChar* text = nullptr;
  ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
  EXPECT_EQ(client->GetResponseBodyLength(), large.size());
  EXPECT_EQ(BodyOf(client.get()), large);
  EXPECT_EQ(Text(text), Wide(large));
  ASSERT_EQ(Get(client.get(), HttpUrl("/large")), kHttpOk);
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  ASSERT_EQ(client->GetResponseBody(&data, &length), kHttpOk);
  ASSERT_EQ(client->GetResponseText(&text), kHttpOk);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), large);
}

// What a host can read of an object that has sent nothing, as one row per getter.
std::vector<std::int64_t> StateOf(IHttpClient* client) {
  const WideChar* text = nullptr;
  std::uintptr_t value = 0;
  return {client->GetOptionFlagA(),        client->GetOptionFlagB(),
          client->GetSecureProtocol(),     client->GetOptionValueA(),
          client->GetOptionValueB(),       client->GetOptionValueC(),
          client->GetMaxResponseSize(),    client->GetLastResult(),
          client->GetStatusCode(),         client->GetResponseBodyLength(),
          client->GetRedirectCount(),      client->GetElapsedMilliseconds(),
          client->GetEffectiveUrl(&text),  client->GetResponseHeadersText(&text),
          client->GetResponseText(&text),  client->GetStatusText(&text),
          client->GetLastErrorText(&text), client->GetResponseValue(&value),
          static_cast<std::int64_t>(value)};
}

// Released objects are recycled: the next object may be the last one released, and it must start as a new one,
// with nothing of the settings, headers or answer of its last use.
TEST(HttpClientExchange, AnObjectAfterAReleaseStartsAsNew) {
  std::vector<std::int64_t> asNew;
  {
    Client first = NewClient(), second = NewClient();  // at most one of them was released before
    asNew = StateOf(first.get());
    ASSERT_EQ(StateOf(second.get()), asNew);
  }
  Client used = NewClient();
  used->SetOptionFlagA(1);
  used->SetOptionFlagB(0);
  used->SetSecureProtocol(5);
  used->SetOptionValueA(1234);
  used->SetOptionValueB(2345);
  used->SetOptionValueC(3456);
  used->SetMaxResponseSize(4567);
  ASSERT_EQ(used->SetUserAgent(WIDE("left-over-agent")), kHttpOk);
  ASSERT_EQ(used->AddRequestHeader(WIDE("X-Left-Over"), WIDE("secret"), 0), kHttpOk);
  ASSERT_EQ(Get(used.get(), HttpUrl("/echo")), kHttpOk);
  ASSERT_EQ(used->SetStringTriple(Wide(ClosedPortUrl()).c_str(), WIDE("user"), WIDE("password")), kHttpOk);
  const IHttpClient* released = used.get();
  used.reset();

  Client next = NewClient();
  EXPECT_EQ(next.get(), released) << "the released object was not the next one handed out";
  EXPECT_EQ(StateOf(next.get()), asNew);
  // No proxy (the closed port would refuse the connection), no header and the default user agent.
  ASSERT_EQ(Get(next.get(), HttpUrl("/echo")), kHttpOk);
  ExpectEchoFields(BodyOf(next.get()), {{"x-left-over", ""}, {"user-agent", "zqhttpclient/1.0"}});
}

}  // namespace
}  // namespace OAuthClient::Testing
