// The recording double itself: what other tests rely on (log format, scripted answers, object counts, unloading).
#include "tests/double/http_client_double.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oauthclient/http_client.h"

namespace {

using OAuthClient::IHttpClient;
using OAuthClient::WideChar;

// Loads the double (a reference of the test's own) and makes objects through its factory.
class HttpClientDoubleTest : public ::testing::Test {
 protected:
  void SetUp() override { HttpClientDouble::Reset(); }
  IHttpClient* Create() {
    void* module = dlopen(HttpClientDouble::kFileName, RTLD_NOW | RTLD_NOLOAD);
    auto factory = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module, "CreateHttpClient"));
    dlclose(module);
    EXPECT_NE(factory, nullptr);
    return factory == nullptr ? nullptr : factory();
  }
  HttpClientDouble::Hold hold_;
};

TEST_F(HttpClientDoubleTest, LogsEveryCallWithItsArguments) {
  IHttpClient* client = Create();
  ASSERT_NE(client, nullptr);
  client->SetSecureProtocol(-2);
  client->SetOptionValueC(4000000000u);
  client->AddRequestHeader(u"Authorization", u"Bearer \u00e9\U0001F600", 0);
  client->SetStringTriple(u"", nullptr, u"");
  const unsigned char bytes[] = {'a', 0, ','};
  client->SendBytes(u"PUT", u"https://x/r", bytes, 3);
  client->SendBytes(u"PUT", u"https://x/r", nullptr, 5);
  client->SendText(u"POST", u"https://x/t", u"abcdef", 3);
  const WideChar lone[] = {u'x', 0xD800, 0};
  client->Send(u"GET", lone);
  client->GetResponseHeader(u"Content-Type", nullptr);
  client->Release();
  EXPECT_EQ(HttpClientDouble::Calls(), (std::vector<std::string>{
                                           "CreateHttpClient()",
                                           "SetSecureProtocol(-2)",
                                           "SetOptionValueC(4000000000)",
                                           "AddRequestHeader(Authorization,Bearer \xC3\xA9\xF0\x9F\x98\x80,0)",
                                           "SetStringTriple(,<null>,)",
                                           std::string("SendBytes(PUT,https://x/r,a\0,,3)", 32),
                                           "SendBytes(PUT,https://x/r,<null>,5)",
                                           "SendText(POST,https://x/t,abc,3)",
                                           "Send(GET,x\xEF\xBF\xBD)",
                                           "GetResponseHeader(Content-Type)",
                                           "Release()",
                                       }));
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 0);
}

TEST_F(HttpClientDoubleTest, AnswersAsScriptedAndLeavesUnscriptedOutputsAlone) {
  HttpClientDouble::ScriptResult("Send", -13);
  HttpClientDouble::ScriptResult("GetStatusCode", 404);
  HttpClientDouble::ScriptResult("GetStatusText", 0);  // the result only; the text is still handed out
  HttpClientDouble::ScriptText("GetStatusText", "Not Found \U0001F600");
  HttpClientDouble::ScriptText("GetResponseHeader:Content-Type", "text/plain");
  HttpClientDouble::ScriptBody(std::string("OK\0!", 4));
  HttpClientDouble::ScriptResponseValue(42);
  IHttpClient* client = Create();
  client->SetOptionValueA(9);
  EXPECT_EQ(client->GetOptionValueA(), 9u);
  EXPECT_EQ(client->Send(u"GET", u"http://x/"), -13);
  EXPECT_EQ(client->GetLastResult(), -13);
  EXPECT_EQ(client->GetStatusCode(), 404u);

  const WideChar* text = u"untouched";
  EXPECT_EQ(client->GetStatusText(&text), 0);
  EXPECT_EQ(std::u16string(text), u"Not Found \U0001F600");
  text = u"untouched";
  EXPECT_EQ(client->GetResponseHeadersText(&text), -1);
  EXPECT_EQ(client->GetResponseHeader(u"content-type", &text), -1);
  EXPECT_EQ(std::u16string(text), u"untouched");
  EXPECT_EQ(client->GetResponseHeader(u"Content-Type", &text), 1);
  EXPECT_EQ(std::u16string(text), u"text/plain");

  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  EXPECT_EQ(client->GetResponseBody(&data, &length), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), std::string("OK\0!", 4));
  EXPECT_EQ(client->GetResponseBodyLength(), 4u);
  std::uintptr_t value = 0;
  EXPECT_EQ(client->GetResponseValue(&value), 1);
  EXPECT_EQ(value, 42u);
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 1);
  client->Release();

  HttpClientDouble::ScriptResult("CreateHttpClient", 0);
  EXPECT_EQ(Create(), nullptr);
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 0);
}

TEST(HttpClientDoubleLifetime, StateEndsWithTheLastUnload) {
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  EXPECT_THROW(HttpClientDouble::Calls(), std::logic_error);
  {
    HttpClientDouble::Hold hold;
    EXPECT_TRUE(HttpClientDouble::IsLoaded());
    HttpClientDouble::ScriptResult("CreateHttpClient", 0);
    void* module = dlopen(HttpClientDouble::kFileName, RTLD_NOW | RTLD_NOLOAD);
    reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module, "CreateHttpClient"))();
    dlclose(module);
    EXPECT_EQ(HttpClientDouble::Calls(), std::vector<std::string>{"CreateHttpClient()"});
  }
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  HttpClientDouble::Hold again;
  EXPECT_TRUE(HttpClientDouble::Calls().empty());
}

}  // namespace
