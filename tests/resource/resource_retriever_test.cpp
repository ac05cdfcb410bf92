// The resource path against the recording double: exact call sequences, results and the resource response.
#include "oauth/resource/resource_retriever.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oauth/requests/oauth_request.h"
#include "oauthclient/host_runtime.h"
#include "tests/double/http_client_double.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

using Calls = std::vector<std::string>;

class ResourceRetrieverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HttpClientDouble::Reset();
    request_->SetUrl(W(u"https://rs.example/api"));
    request_->SetMethod(W(u"GET"));
    request_->SetAccessToken(W(u"tok 1"));
  }
  void TearDown() override { request_->Release(); }

  HttpClientDouble::Hold hold_;
  IOAuthRequest* request_ = new COAuthRequest();
};

const Calls kDefaultSettings = {"CreateHttpClient()",   "SetOptionFlagB(0)",   "SetOptionFlagA(0)",
                                "SetStringNone()",      "SetOptionValueA(0)",  "SetOptionValueB(0)",
                                "SetSecureProtocol(0)", "SetOptionValueC(0)"};

Calls With(Calls calls, const Calls& more) {
  calls.insert(calls.end(), more.begin(), more.end());
  return calls;
}

TEST_F(ResourceRetrieverTest, SendsBearerAndWrapsTheAnswer) {
  HttpClientDouble::ScriptResult("GetStatusCode", 404);
  HttpClientDouble::ScriptText("GetStatusText", "Not Found");
  HttpClientDouble::ScriptText("GetResponseHeadersText", "HTTP/1.1 404 Not Found\r\nX-Empty:\r\nContent-Type: a/b");
  HttpClientDouble::ScriptBody(std::string("\xFF\xFEH\0i\0", 6));
  CResourceRetriever retriever;
  IResourceResponse* response = nullptr;
  ASSERT_EQ(retriever.Retrieve(request_, &response), 1);
  EXPECT_EQ(HttpClientDouble::Calls(),
            With(kDefaultSettings, {"AddRequestHeader(Authorization,Bearer tok 1,0)", "Send(GET,https://rs.example/api)",
                                    "GetResponseValue()", "GetStatusCode()", "GetStatusText()",
                                    "GetResponseHeadersText()", "GetResponseBody()", "Release()"}));
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatusCode(), 404u);
  const WideChar* text = nullptr;
  ASSERT_EQ(response->GetStatusText(&text), 1);
  EXPECT_EQ(Text(text), u"Not Found");
  ASSERT_EQ(response->GetHeadersText(&text), 1);
  EXPECT_EQ(Text(text), u"HTTP/1.1 404 Not Found\r\nX-Empty:\r\nContent-Type: a/b");
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  ASSERT_EQ(response->GetBody(&data, &length), 1);  // the bytes and the zero byte after them
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length + 1), std::string("\xFF\xFEH\0i\0\0", 7));
  ASSERT_EQ(response->GetHeader(W(u"Content-Type"), &text), 1);
  EXPECT_EQ(Text(text), u" a/b");
  ASSERT_EQ(response->GetHeader(W(u"X-Empty"), &text), 1);
  EXPECT_EQ(Text(text), u"");
  text = W(u"kept");
  EXPECT_EQ(response->GetHeader(W(u"content-type"), &text), -1);
  EXPECT_EQ(Text(text), u"kept");
  ASSERT_EQ(response->GetBodyTextDetected(&text), 1);
  EXPECT_EQ(Text(text), u"\uFEFFHi");
  EXPECT_EQ(response->GetBodyText(&text, 4), -1);
  ASSERT_EQ(response->GetBodyText(&text, Utf8), 1);
  std::uintptr_t value = 7;
  EXPECT_EQ(response->GetResponseValue(&value), 1);
  EXPECT_EQ(value, 0u);
  response->Release();
  EXPECT_EQ(HttpClientDouble::LiveObjects(), 0);

  // Released responses are recycled: the next one reads only its own answer, whatever the last one held.
  HttpClientDouble::Reset();
  HttpClientDouble::ScriptText("GetResponseHeadersText", "HTTP/1.1 200\r\nContent-Type: c/d");
  HttpClientDouble::ScriptBody("next");
  ASSERT_EQ(retriever.Retrieve(request_, &response), 1);
  EXPECT_EQ(response->GetStatusCode(), 200u);
  text = W(u"kept");
  EXPECT_EQ(response->GetStatusText(&text), -1);
  ASSERT_EQ(response->GetHeader(W(u"Content-Type"), &text), 1);
  EXPECT_EQ(Text(text), u" c/d");
  EXPECT_EQ(response->GetHeader(W(u"X-Empty"), &text), -1);
  ASSERT_EQ(response->GetBodyTextDetected(&text), 1);
  EXPECT_EQ(Text(text), u"next");
  response->Release();
}

// A retriever lives across a client's requests: each request sends its own token, also one of the same length.
TEST_F(ResourceRetrieverTest, EachRequestSendsItsOwnToken) {
  CResourceRetriever retriever;
  for (const char16_t* token : {u"tok 1", u"tok 2", u"tok 22", u"tok 2"}) {
    request_->SetAccessToken(W(token));
    IResourceResponse* response = nullptr;
    ASSERT_EQ(retriever.Retrieve(request_, &response), 1);
    response->Release();
  }
  Calls sent;
  for (const std::string& call : HttpClientDouble::Calls())
    if (call.rfind("AddRequestHeader", 0) == 0) sent.push_back(call);
  EXPECT_EQ(sent, (Calls{"AddRequestHeader(Authorization,Bearer tok 1,0)", "AddRequestHeader(Authorization,Bearer tok 2,0)",
                         "AddRequestHeader(Authorization,Bearer tok 22,0)", "AddRequestHeader(Authorization,Bearer tok 2,0)"}));
}

TEST_F(ResourceRetrieverTest, CopiesSettingsAndOwnHeadersAndSendsTheBody) {
  request_->SetOptionFlagA(2);
  request_->SetOptionFlagB(9);
  request_->SetStringTriple(W(u"http://proxy"), W(u"user"), nullptr);
  request_->SetStringPair(W(u"http://proxy"), W(u"localhost"));
  request_->SetOptionValueA(1);
  request_->SetOptionValueB(2);
  request_->SetOptionValueC(3);
  request_->SetSecureProtocol(7);
  request_->AddHeader(W(u"authorization"), W(u"Basic eA=="));
  request_->SetMethod(W(u"PUT"));
  const unsigned char body[] = {'a', 'b'};
  request_->SetBody(body, 2);
  HttpClientDouble::ScriptResult("SendBytes", -13);
  CResourceRetriever retriever;
  IResourceResponse* response = reinterpret_cast<IResourceResponse*>(0x1);
  EXPECT_EQ(retriever.Retrieve(request_, &response), -13);
  EXPECT_EQ(response, reinterpret_cast<IResourceResponse*>(0x1));
  EXPECT_EQ(HttpClientDouble::Calls(),
            (Calls{"CreateHttpClient()", "SetOptionFlagB(1)", "SetOptionFlagA(1)",
                   "SetStringPair(http://proxy,localhost)", "SetOptionValueA(1)", "SetOptionValueB(2)",
                   "SetSecureProtocol(0)", "SetOptionValueC(3)", "SetRequestHeadersText(authorization:Basic eA==)",
                   "SendBytes(PUT,https://rs.example/api,ab,2)", "Release()"}));
}

TEST_F(ResourceRetrieverTest, MissingPartsSendNothing) {
  IOAuthRequest* noToken = new COAuthRequest();
  noToken->SetMethod(W(u"GET"));
  noToken->SetUrl(W(u"https://x/"));
  IOAuthRequest* noUrl = new COAuthRequest();
  noUrl->SetMethod(W(u"GET"));
  noUrl->SetAccessToken(W(u"t"));
  CResourceRetriever retriever;
  IResourceResponse* response = nullptr;
  EXPECT_EQ(retriever.Retrieve(noToken, &response), -1);
  EXPECT_EQ(HttpClientDouble::Calls(), With(kDefaultSettings, {"Release()"}));
  HttpClientDouble::Reset();
  EXPECT_EQ(retriever.Retrieve(noUrl, &response), -1);
  EXPECT_EQ(HttpClientDouble::Calls(), With(kDefaultSettings, {"AddRequestHeader(Authorization,Bearer t,0)", "Release()"}));
  EXPECT_EQ(response, nullptr);
  noToken->Release();
  noUrl->Release();
}

TEST_F(ResourceRetrieverTest, UnboundRetrieverAnswersMinusOneAndUnloads) {
  ZqshrSetRefused(W(u"ZQHTTPCLIENT.DLL"), 1);
  {
    CResourceRetriever refused;
    ZqshrSetRefused(nullptr, 0);
    IResourceResponse* response = nullptr;
    EXPECT_EQ(refused.Retrieve(request_, &response), -1);
    EXPECT_EQ(refused.Retrieve(request_, &response), -1);
    EXPECT_TRUE(HttpClientDouble::Calls().empty());
  }
  HttpClientDouble::ScriptResult("CreateHttpClient", 0);
  {
    CResourceRetriever bound;
    IResourceResponse* response = nullptr;
    EXPECT_EQ(bound.Retrieve(request_, &response), -1);
    EXPECT_EQ(HttpClientDouble::Calls(), Calls{"CreateHttpClient()"});
  }
  hold_.Drop();
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
}

}  // namespace
}  // namespace OAuthClient
