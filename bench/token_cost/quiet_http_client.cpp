// A silent HTTP client component for the token cost benchmark: every send succeeds at once with a fixed token
// reply, and nothing is recorded, so the benchmark measures the library's own work.
#include <cstdint>

#include "oauthclient/http_client.h"

namespace {

using namespace OAuthClient;

const WideChar kReply[] =
    u"{\"access_token\":\"2YotnFZFEjr1zCsicMWpAA\",\"token_type\":\"Bearer\",\"expires_in\":3600,"
    u"\"refresh_token\":\"tGzv3JOkF0XG5Qx2TlKWIA\",\"scope\":\"read write\"}";
const WideChar kHeaders[] =
    u"HTTP/1.1 200 OK\r\nContent-Type: application/json;charset=UTF-8\r\nCache-Control: no-store\r\n"
    u"Pragma: no-cache\r\n\r\n";
const WideChar kStatusText[] = u"OK";

class QuietHttpClient final : public IHttpClient {
 public:
  std::uint32_t GetInterfaceVersion() override { return kHttpClientInterfaceVersion; }
  void Reset() override {}
  std::int32_t SetUserAgent(const WideChar*) override { return 1; }
  void SetOptionFlagA(Bool8 value) override { flagA_ = value; }
  std::int32_t GetOptionFlagA() override { return flagA_; }
  void SetOptionFlagB(Bool8 value) override { flagB_ = value; }
  std::int32_t GetOptionFlagB() override { return flagB_; }
  void SetStringNone() override {}
  std::int32_t SetStringTriple(const WideChar*, const WideChar*, const WideChar*) override { return 1; }
  std::int32_t SetStringPair(const WideChar*, const WideChar*) override { return 1; }
  void SetSecureProtocol(std::int32_t code) override { protocol_ = code; }
  std::int32_t GetSecureProtocol() override { return protocol_; }
  void SetOptionValueC(std::uint32_t value) override { valueC_ = value; }
  std::uint32_t GetOptionValueC() override { return valueC_; }
  void SetOptionValueA(std::uint32_t value) override { valueA_ = value; }
  void SetOptionValueB(std::uint32_t value) override { valueB_ = value; }
  std::uint32_t GetOptionValueA() override { return valueA_; }
  std::uint32_t GetOptionValueB() override { return valueB_; }
  void SetMaxResponseSize(std::uint32_t) override {}
  std::uint32_t GetMaxResponseSize() override { return 0; }
  std::int32_t AddRequestHeader(const WideChar*, const WideChar*, std::int32_t) override { return 1; }
  std::int32_t RemoveRequestHeader(const WideChar*) override { return 1; }
  std::int32_t SetRequestHeadersText(const WideChar*) override { return 1; }
  void ClearRequestHeaders() override {}
  std::int32_t SendBytes(const WideChar*, const WideChar*, const unsigned char*, std::uint32_t) override { return 1; }
  std::int32_t SendText(const WideChar*, const WideChar*, const WideChar*, std::int32_t) override { return 1; }
  std::int32_t Send(const WideChar*, const WideChar*) override { return 1; }
  std::int32_t GetEffectiveUrl(const WideChar**) override { return -1; }
  std::int32_t GetRedirectCount() override { return 0; }
  std::uint32_t GetElapsedMilliseconds() override { return 0; }
  std::int32_t GetResponseHeader(const WideChar*, const WideChar**) override { return -1; }
  std::uint32_t GetResponseBodyLength() override { return 0; }
  std::int32_t GetResponseHeadersText(const WideChar** out) override { return HandOut(kHeaders, out); }
  std::int32_t GetResponseBody(const unsigned char**, std::uint32_t*) override { return -1; }
  std::int32_t GetResponseContentType(const WideChar**) override { return -1; }
  std::int32_t GetResponseText(const WideChar** out) override { return HandOut(kReply, out); }
  std::int32_t GetLastResult() override { return 1; }
  std::int32_t GetLastErrorText(const WideChar**) override { return -1; }
  std::uint32_t GetStatusCode() override { return 200; }
  std::int32_t GetStatusText(const WideChar** out) override { return HandOut(kStatusText, out); }
  std::int32_t GetResponseValue(std::uintptr_t* out) override {
    if (out == nullptr) return -1;
    *out = 0;
    return 1;
  }
  void Release() override { delete this; }

 private:
  static std::int32_t HandOut(const WideChar* text, const WideChar** out) {
    if (out == nullptr) return -1;
    *out = text;
    return 1;
  }
  std::int32_t flagA_ = 0, flagB_ = 0, protocol_ = 0;
  std::uint32_t valueA_ = 0, valueB_ = 0, valueC_ = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) OAuthClient::IHttpClient* CreateHttpClient() {
  return new QuietHttpClient();
}
