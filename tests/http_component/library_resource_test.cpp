// The component through the library's public exports: RequestResource against the test nginx, loaded the way a
// host loads the library (by name, then its exports), with the real component found beside it.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "oauthclient/exports.h"

namespace OAuthClient::Testing {
namespace {

TEST(LibraryResource, HttpsRequestCarriesBearerHeadersBodyAndTlsSettings) {
  const auto createClient = reinterpret_cast<CreateOAuthClientFunction>(LibraryExport("CreateOAuthClient"));
  const auto createRequest = reinterpret_cast<CreateOAuthRequestFunction>(LibraryExport("CreateOAuthRequest"));
  ASSERT_TRUE(createClient != nullptr && createRequest != nullptr) << "the library's exports are missing";
  ReleasePtr<IOAuthClient> client(createClient());
  ReleasePtr<IOAuthRequest> request(createRequest());
  ASSERT_TRUE(client && request);
  request->SetUrl(Wide(HttpsUrl("/echo/library?x=1")).c_str());
  request->SetMethod(WIDE("PUT"));
  request->SetAccessToken(WIDE("library-token"));
  request->AddHeader(WIDE("X-Test-One"), WIDE("one"));
  const std::string body = std::string("bin\0ary", 7);
  request->SetBody(reinterpret_cast<const unsigned char*>(body.data()), 7);
  request->SetOptionFlagA(1);      // no certificate verification
  request->SetSecureProtocol(3);  // TLS 1.2 exactly

  IResourceResponse* raw = nullptr;
  ASSERT_EQ(client->RequestResource(request.get(), &raw), 1);
  ReleasePtr<IResourceResponse> response(raw);
  EXPECT_EQ(response->GetStatusCode(), 200u);
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  ASSERT_EQ(response->GetBody(&data, &length), 1);
  const std::string echo(reinterpret_cast<const char*>(data), length);
  ExpectEchoFields(echo, {{"method", "PUT"}, {"uri", "/echo/library?x=1"}, {"authorization", "Bearer library-token"},
                          {"x-test-one", "one"}, {"tls", "TLSv1.2"}});
  EXPECT_EQ(EchoBody(echo), body);
  const WideChar* type = nullptr;
  // An exact-case look-up: over HTTPS too the names arrive as the server spells them (HTTP/1.1, not HTTP/2).
  ASSERT_EQ(response->GetHeader(WIDE("Content-Type"), &type), 1);
  EXPECT_EQ(Text(type), WIDE(" text/plain"));  // the value as it stands after the colon
}

}  // namespace
}  // namespace OAuthClient::Testing
