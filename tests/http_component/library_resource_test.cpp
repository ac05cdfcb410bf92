// The component through the library's public exports: RequestResource against the test nginx, loaded the way a
// host loads the library (dlopen by name, dlsym of the exports), with the real component found beside it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>

#include "component_fixture.h"
#include "oauthclient/exports.h"

namespace OAuthClient::Testing {
namespace {

TEST(LibraryResource, HttpsRequestCarriesBearerHeadersAndBody) {
  void* const library = dlopen("liboauthclient.so", RTLD_NOW);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto createClient = reinterpret_cast<CreateOAuthClientFunction>(dlsym(library, "CreateOAuthClient"));
  const auto createRequest = reinterpret_cast<CreateOAuthRequestFunction>(dlsym(library, "CreateOAuthRequest"));
  ASSERT_TRUE(createClient != nullptr && createRequest != nullptr) << "the library's exports are missing";
  std::unique_ptr<IOAuthClient, Releaser> client(createClient());
  std::unique_ptr<IOAuthRequest, Releaser> request(createRequest());
  ASSERT_TRUE(client && request);

  ASSERT_EQ(request->SetUrl(W(U16(HttpsUrl("/echo/library?x=1")))), 1);
  ASSERT_EQ(request->SetMethod(W(u"PUT")), 1);
  ASSERT_EQ(request->SetAccessToken(W(u"library-token")), 1);
  ASSERT_EQ(request->AddHeader(W(u"X-Test-One"), W(u"one")), 1);
  const std::string body = std::string("bin\0ary", 7);
  ASSERT_EQ(request->SetBody(reinterpret_cast<const unsigned char*>(body.data()), 7), 1);
  request->SetOptionFlagA(1);
  request->SetSecureProtocol(3);  // TLS 1.2 exactly

  IResourceResponse* raw = nullptr;
  ASSERT_EQ(client->RequestResource(request.get(), &raw), 1);
  std::unique_ptr<IResourceResponse, Releaser> response(raw);
  EXPECT_EQ(response->GetStatusCode(), 200u);
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  ASSERT_EQ(response->GetBody(&data, &length), 1);
  const std::string echo(reinterpret_cast<const char*>(data), length);
  EXPECT_EQ(EchoField(echo, "method"), "PUT");
  EXPECT_EQ(EchoField(echo, "uri"), "/echo/library?x=1");
  EXPECT_EQ(EchoField(echo, "authorization"), "Bearer library-token");
  EXPECT_EQ(EchoField(echo, "x-test-one"), "one");
  EXPECT_EQ(EchoField(echo, "tls"), "TLSv1.2");
  EXPECT_EQ(EchoBody(echo), body);
  const WideChar* headers = nullptr;
  ASSERT_EQ(response->GetHeadersText(&headers), 1);
  EXPECT_EQ(Text(headers).substr(0, 10), u"HTTP/2 200");
  const WideChar* type = nullptr;
  ASSERT_EQ(response->GetHeader(W(u"content-type"), &type), 1);  // HTTP/2 names arrive in lower case
  EXPECT_EQ(Text(type), u" text/plain");                          // the value as it stands after the colon
  const WideChar* reason = nullptr;
  EXPECT_EQ(response->GetStatusText(&reason), -1);
  std::uintptr_t duration = 0;
  EXPECT_EQ(response->GetResponseValue(&duration), 1);
  EXPECT_GT(duration, 0u);
}

}  // namespace
}  // namespace OAuthClient::Testing
