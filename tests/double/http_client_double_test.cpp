// The recording double itself: what other tests rely on (log format, scripted answers, object counts, unloading).
#include "tests/double/http_client_double.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oauthclient/http_client.h"

namespace {

using OAuthClient::IHttpClient;
using OAuthClient::WideChar;

std::u16string Copy(const WideChar* text) { return text == nullptr ? u"<null>" : std::u16string(text); }

class HttpClientDoubleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HttpClientDouble::Reset();
    factory_ = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module_, "CreateHttpClient"));
    ASSERT_NE(factory_, nullptr);
  }
  void TearDown() override { dlclose(module_); }

  void* module_ = dlopen(HttpClientDouble::kFileName, RTLD_NOW);
  OAuthClient::CreateHttpClientFunction factory_ = nullptr;
};

TEST_F(HttpClientDoubleTest, LogsEveryCallWithItsArguments) {
  IHttpClient* client = factory_();
  ASSERT_NE(client, nullptr);
  client->SetOptionFlagB(7);
  client->SetSecureProtocol(-2);
  client->SetOptionValueC(4000000000u);
  client->AddRequestHeader(u"Authorization", u"Bearer \u00e9\U0001F600", 0);
  client->SetRequestHeadersText(u"A: 1\r\nB: 2");
  client->SetStringTriple(u"http://p", nullptr, u"");
  const unsigned char bytes[] = {'a', 0, ','};
  client->SendBytes(u"PUT", u"https://x/r", bytes, 3);
  client->SendBytes(u"PUT", u"https://x/r", nullptr, 5);
  client->SendText(u"POST", u"https://x/t", u"abcdef", 3);
  client->SendText(u"POST", u"https://x/t", u"a=1", -1);
  const WideChar lone[] = {u'x', 0xD800, 0};
  client->Send(u"GET", lone);
  client->GetResponseHeader(u"Content-Type", nullptr);
  client->Release();
  std::vector<std::string> expected = {
      "CreateHttpClient()",
      "SetOptionFlagB(7)",
      "SetSecureProtocol(-2)",
      "SetOptionValueC(4000000000)",
      "AddRequestHeader(Authorization,Bearer \xC3\xA9\xF0\x9F\x98\x80,0)",
      "SetRequestHeadersText(A: 1\r\nB: 2)",
      "SetStringTriple(http://p,<null>,)",
      std::string("SendBytes(PUT,https://x/r,a\0,,3)", 32),
      "SendBytes(PUT,https://x/r,<null>,5)",
      "SendText(POST,https://x/t,abc,3)",
      "SendText(POST,https://x/t,a=1,-1)",
      "Send(GET,x\xEF\xBF\xBD)",
      "GetResponseHeader(Content-Type)",
      "Release()",
  };
  EXPECT_EQ(HttpClientDouble::Calls(), expected);
  EXPECT_EQ(HttpClientDouble::CreatedObjects(), 1);
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 0);
}

TEST_F(HttpClientDoubleTest, AnswersAsScriptedAndLeavesUnscriptedOutputsAlone) {
  HttpClientDouble::ScriptResult("Send", -13);
  HttpClientDouble::ScriptResult("GetStatusCode", 404);
  HttpClientDouble::ScriptText("GetStatusText", "Not Found");
  HttpClientDouble::ScriptNullText("GetResponseText");
  HttpClientDouble::ScriptText("GetResponseHeader:Content-Type", "text/plain");
  HttpClientDouble::ScriptBody(std::string("OK\0!", 4));
  HttpClientDouble::ScriptResponseValue(42);
  IHttpClient* client = factory_();
  EXPECT_EQ(client->Send(u"GET", u"http://x/"), -13);
  EXPECT_EQ(client->GetLastResult(), -13);
  EXPECT_EQ(client->GetStatusCode(), 404u);

  const WideChar* text = u"untouched";
  EXPECT_EQ(client->GetStatusText(&text), 1);
  EXPECT_EQ(Copy(text), u"Not Found");
  EXPECT_EQ(client->GetResponseText(&text), 1);
  EXPECT_EQ(text, nullptr);
  text = u"untouched";
  EXPECT_EQ(client->GetResponseHeadersText(&text), -1);
  EXPECT_EQ(Copy(text), u"untouched");
  EXPECT_EQ(client->GetResponseHeader(u"content-type", &text), -1);
  EXPECT_EQ(client->GetResponseHeader(u"Content-Type", &text), 1);
  EXPECT_EQ(Copy(text), u"text/plain");

  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  EXPECT_EQ(client->GetResponseBody(&data, &length), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), std::string("OK\0!", 4));
  std::uintptr_t value = 0;
  EXPECT_EQ(client->GetResponseValue(&value), 1);
  EXPECT_EQ(value, 42u);
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 1);
  client->Release();

  HttpClientDouble::ScriptBody(nullptr, 9);
  HttpClientDouble::ScriptResult("CreateHttpClient", 0);
  EXPECT_EQ(factory_(), nullptr);
  HttpClientDouble::ScriptResult("CreateHttpClient", 1);
  client = factory_();
  data = reinterpret_cast<const unsigned char*>("x");
  EXPECT_EQ(client->GetResponseBody(&data, &length), 1);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(length, 9u);
  client->Release();
  EXPECT_EQ(HttpClientDouble::CreatedObjects(), 2);
}

TEST(HttpClientDoubleLifetime, StateEndsWithTheLastUnload) {
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  EXPECT_THROW(HttpClientDouble::Calls(), std::logic_error);
  {
    HttpClientDouble::Hold hold;
    EXPECT_TRUE(HttpClientDouble::IsLoaded());
    HttpClientDouble::ScriptResult("Send", 5);
    EXPECT_EQ(HttpClientDouble::Calls().size(), 0u);
    void* module = dlopen(HttpClientDouble::kFileName, RTLD_NOW | RTLD_NOLOAD);
    auto factory = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module, "CreateHttpClient"));
    dlclose(module);
    ASSERT_NE(factory, nullptr);
    factory()->Release();
    EXPECT_EQ(HttpClientDouble::Calls().size(), 2u);
  }
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  HttpClientDouble::Hold again;
  EXPECT_TRUE(HttpClientDouble::Calls().empty());
}

}  // namespace
