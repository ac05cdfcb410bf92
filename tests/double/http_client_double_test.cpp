// The recording double where no suite that uses it looks: counted and binary bodies in the log, texts beyond the
// Basic Multilingual Plane, and getters that leave their outputs alone when nothing was scripted.
#include "tests/double/http_client_double.h"

#include <gtest/gtest.h>

#include "oauthclient/http_client.h"

namespace {

using OAuthClient::IHttpClient;
using OAuthClient::WideChar;

TEST(HttpClientDouble, LogsBodiesAsCountedAndLeavesUnscriptedOutputsAlone) {
  HttpClientDouble::Hold hold;
  HttpClientDouble::Reset();
  void* module = dlopen(HttpClientDouble::kFileName, RTLD_NOW | RTLD_NOLOAD);
  IHttpClient* client = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module, "CreateHttpClient"))();
  dlclose(module);
  const unsigned char bytes[] = {'a', 0, ','};
  client->SendBytes(OAUTHCLIENT_TEXT("PUT"), OAUTHCLIENT_TEXT("https://x/r"), bytes, 3);
  client->SendText(OAUTHCLIENT_TEXT("POST"), OAUTHCLIENT_TEXT("https://x/t"), OAUTHCLIENT_TEXT("abcdef"), 3);
  const WideChar lone[] = {u'x', 0xD800, 0};
  client->Send(OAUTHCLIENT_TEXT("GET \u00e9\U0001F600"), lone);
  const WideChar* const untouched = OAUTHCLIENT_TEXT("untouched");
  const WideChar* text = untouched;
  const unsigned char* data = bytes;
  std::uint32_t length = 7;
  EXPECT_EQ(client->GetResponseText(&text), -1);
  EXPECT_EQ(text, untouched);
  EXPECT_EQ(client->GetResponseBody(&data, &length), -1);
  EXPECT_EQ(data, bytes);
  EXPECT_EQ(length, 7u);
  client->Release();
  EXPECT_EQ(HttpClientDouble::Calls(),
            (std::vector<std::string>{"CreateHttpClient()", std::string("SendBytes(PUT,https://x/r,a\0,,3)", 32),
                                      "SendText(POST,https://x/t,abc,3)", "Send(GET \xC3\xA9\xF0\x9F\x98\x80,x\xEF\xBF\xBD)",
                                      "GetResponseText()", "GetResponseBody()", "Release()"}));
}

}  // namespace
