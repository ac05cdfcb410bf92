// The recording double where no suite that uses it looks: a counted text in the log, and a getter that leaves its
// output alone when nothing was scripted. (Binary bodies in the log are checked by tests/resource.)
#include "tests/double/http_client_double.h"

#include <gtest/gtest.h>

#include "oauthclient/http_client.h"

namespace {

using OAuthClient::IHttpClient;
using OAuthClient::WideChar;

TEST(HttpClientDouble, LogsCountedTextAndLeavesUnscriptedOutputsAlone) {
  HttpClientDouble::Hold hold;
  HttpClientDouble::Reset();
  IHttpClient* client = HttpClientDouble::Detail::Find<OAuthClient::CreateHttpClientFunction>("CreateHttpClient")();
  client->SendText(OAUTHCLIENT_TEXT("POST"), OAUTHCLIENT_TEXT("https://x/t"), OAUTHCLIENT_TEXT("abcdef"), 3);
  const WideChar* const untouched = OAUTHCLIENT_TEXT("untouched");
  const WideChar* text = untouched;
  EXPECT_EQ(client->GetResponseText(&text), -1);
  EXPECT_EQ(text, untouched);
  client->Release();
  EXPECT_EQ(HttpClientDouble::Calls(),
            (std::vector<std::string>{"CreateHttpClient()", "SendText(POST,https://x/t,abc,3)",
                                      "GetResponseText()", "Release()"}));
}

}  // namespace
