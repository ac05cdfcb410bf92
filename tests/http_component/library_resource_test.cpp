// The component through the library's public exports: RequestResource against the test nginx, loaded the way a
// host loads the library (dlopen by name, dlsym of the exports), with the real component found beside it.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "component_fixture.h"
#include "oauthclient/exports.h"

namespace OAuthClient::Testing {
namespace {

template <typename T>
struct Releaser {
  void operator()(T* object) const { object->Release(); }
};
template <typename T>
using Owned = std::unique_ptr<T, Releaser<T>>;

struct Library {
  CreateOAuthClientFunction createClient = nullptr;
  CreateOAuthRequestFunction createRequest = nullptr;
};

const Library& LoadLibrary() {
  static const Library library = [] {
    Library result;
    void* handle = dlopen("liboauthclient.so", RTLD_NOW);
    if (handle == nullptr) return result;
    result.createClient = reinterpret_cast<CreateOAuthClientFunction>(dlsym(handle, "CreateOAuthClient"));
    result.createRequest = reinterpret_cast<CreateOAuthRequestFunction>(dlsym(handle, "CreateOAuthRequest"));
    return result;
  }();
  return library;
}

class LibraryResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const Library& library = LoadLibrary();
    ASSERT_NE(library.createClient, nullptr) << "liboauthclient.so does not export CreateOAuthClient";
    ASSERT_NE(library.createRequest, nullptr);
    client_.reset(library.createClient());
    request_.reset(library.createRequest());
    ASSERT_TRUE(client_ && request_);
  }
  Owned<IOAuthClient> client_;
  Owned<IOAuthRequest> request_;
};

std::string ResponseBody(IResourceResponse* response) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (response->GetBody(&data, &length) != 1) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

TEST_F(LibraryResource, HttpsRequestCarriesBearerHeadersAndBody) {
  ASSERT_EQ(request_->SetUrl(W(U16(HttpsUrl("/echo/library?x=1")))), 1);
  ASSERT_EQ(request_->SetMethod(W(u"PUT")), 1);
  ASSERT_EQ(request_->SetAccessToken(W(u"library-token")), 1);
  ASSERT_EQ(request_->AddHeader(W(u"X-Test-One"), W(u"one")), 1);
  const std::string body = std::string("bin\0ary", 7);
  ASSERT_EQ(request_->SetBody(reinterpret_cast<const unsigned char*>(body.data()), 7), 1);
  request_->SetOptionFlagA(1);
  request_->SetSecureProtocol(3);  // TLS 1.2 exactly

  IResourceResponse* raw = nullptr;
  ASSERT_EQ(client_->RequestResource(request_.get(), &raw), 1);
  Owned<IResourceResponse> response(raw);
  EXPECT_EQ(response->GetStatusCode(), 200u);
  const std::string echo = ResponseBody(response.get());
  EXPECT_EQ(EchoField(echo, "method"), "PUT");
  EXPECT_EQ(EchoField(echo, "uri"), "/echo/library?x=1");
  EXPECT_EQ(EchoField(echo, "authorization"), "Bearer library-token");
  EXPECT_EQ(EchoField(echo, "x-test-one"), "one");
  EXPECT_EQ(EchoField(echo, "tls"), "TLSv1.2");
  EXPECT_EQ(EchoBody(echo), body);
  const WideChar* headers = nullptr;
  ASSERT_EQ(response->GetHeadersText(&headers), 1);
  EXPECT_EQ(Utf8(headers).rfind("HTTP/2 200", 0), 0u);
  const WideChar* type = nullptr;
  ASSERT_EQ(response->GetHeader(W(u"content-type"), &type), 1);  // HTTP/2 names arrive in lower case
  EXPECT_EQ(Utf8(type), " text/plain");                           // the value as it stands after the colon
  const WideChar* reason = nullptr;
  EXPECT_EQ(response->GetStatusText(&reason), -1);
  std::uintptr_t duration = 0;
  EXPECT_EQ(response->GetResponseValue(&duration), 1);
  EXPECT_GT(duration, 0u);
}

TEST_F(LibraryResource, HttpAnswerGivesStatusCodeReasonAndBody) {
  ASSERT_EQ(request_->SetUrl(W(U16(HttpUrl("/status/404")))), 1);
  ASSERT_EQ(request_->SetMethod(W(u"GET")), 1);
  ASSERT_EQ(request_->SetAccessToken(W(u"t")), 1);
  IResourceResponse* raw = nullptr;
  ASSERT_EQ(client_->RequestResource(request_.get(), &raw), 1);
  Owned<IResourceResponse> response(raw);
  EXPECT_EQ(response->GetStatusCode(), 404u);
  const WideChar* reason = nullptr;
  ASSERT_EQ(response->GetStatusText(&reason), 1);
  EXPECT_EQ(Utf8(reason), "Not Found");
  EXPECT_EQ(ResponseBody(response.get()), "status 404\n");
}

TEST_F(LibraryResource, TransportFailuresPassTheComponentCodeAndLeaveTheOutPointer) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);  // nothing listens there any more
  const std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";

  ASSERT_EQ(request_->SetMethod(W(u"GET")), 1);
  ASSERT_EQ(request_->SetAccessToken(W(u"t")), 1);
  auto* const sentinel = reinterpret_cast<IResourceResponse*>(0x1234);
  IResourceResponse* out = sentinel;
  ASSERT_EQ(request_->SetUrl(W(U16(refused))), 1);
  EXPECT_EQ(client_->RequestResource(request_.get(), &out), kHttpConnectFailed);
  EXPECT_EQ(out, sentinel);

  unsetenv("SSL_CERT_FILE");
  ASSERT_EQ(request_->SetUrl(W(U16(HttpsUrl("/echo")))), 1);
  EXPECT_EQ(client_->RequestResource(request_.get(), &out), kHttpCertificateRejected);
  EXPECT_EQ(out, sentinel);
}

}  // namespace
}  // namespace OAuthClient::Testing
