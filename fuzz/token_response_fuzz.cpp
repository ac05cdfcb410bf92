// Fuzzes a whole token response: the input (as UTF-16) up to its first U+0000 is the header text the HTTP client
// object hands over, the rest is the reply text that the response scans for the token endpoint's JSON members.
// Checks the scanner's two results and that its names and values are pieces of the reply, and that the response
// keeps either the members of an error reply or those of a token reply, never both, each a piece of the reply.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "oauth/responses/token_json.h"
#include "oauth/responses/token_response.h"
#include "oauthclient/http_client.h"

namespace {

using namespace OAuthClient;

// An HTTP client object whose last exchange answered with the given header and reply texts; nothing else is used.
class AnsweredHttpClient final : public IHttpClient {
 public:
  AnsweredHttpClient(const std::u16string& headers, const std::u16string& reply) : headers_(headers), reply_(reply) {}
  std::uint32_t GetInterfaceVersion() override { return kHttpClientInterfaceVersion; }
  void Reset() override {}
  std::int32_t SetUserAgent(const WideChar*) override { return 1; }
  void SetOptionFlagA(Bool8) override {}
  std::int32_t GetOptionFlagA() override { return 0; }
  void SetOptionFlagB(Bool8) override {}
  std::int32_t GetOptionFlagB() override { return 0; }
  void SetStringNone() override {}
  std::int32_t SetStringTriple(const WideChar*, const WideChar*, const WideChar*) override { return 1; }
  std::int32_t SetStringPair(const WideChar*, const WideChar*) override { return 1; }
  void SetSecureProtocol(std::int32_t) override {}
  std::int32_t GetSecureProtocol() override { return 0; }
  void SetOptionValueC(std::uint32_t) override {}
  std::uint32_t GetOptionValueC() override { return 0; }
  void SetOptionValueA(std::uint32_t) override {}
  void SetOptionValueB(std::uint32_t) override {}
  std::uint32_t GetOptionValueA() override { return 0; }
  std::uint32_t GetOptionValueB() override { return 0; }
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
  std::int32_t GetResponseHeadersText(const WideChar** out) override { return HandOut(headers_, out); }
  std::int32_t GetResponseBody(const unsigned char**, std::uint32_t*) override { return -1; }
  std::int32_t GetResponseContentType(const WideChar**) override { return -1; }
  std::int32_t GetResponseText(const WideChar** out) override { return HandOut(reply_, out); }
  std::int32_t GetLastResult() override { return 1; }
  std::int32_t GetLastErrorText(const WideChar**) override { return -1; }
  std::uint32_t GetStatusCode() override { return 200; }
  std::int32_t GetStatusText(const WideChar**) override { return -1; }
  std::int32_t GetResponseValue(std::uintptr_t* out) override {
    *out = 0;
    return 1;
  }
  void Release() override {}

 private:
  static std::int32_t HandOut(const std::u16string& text, const WideChar** out) {
    *out = reinterpret_cast<const WideChar*>(text.c_str());
    return 1;
  }
  const std::u16string& headers_;
  const std::u16string& reply_;
};

// Returns the text a getter hands out, or nullopt when it gives -1; the text must be a piece of `reply`.
std::optional<std::u16string> Member(ITokenResponse& response, std::int32_t (ITokenResponse::*getter)(const WideChar**),
                                     const std::u16string& reply) {
  const WideChar* text = nullptr;
  if ((response.*getter)(&text) != 1) return std::nullopt;
  Fuzz::Check(text != nullptr);
  const std::u16string value(reinterpret_cast<const char16_t*>(text));
  Fuzz::Check(reply.find(value) != std::u16string::npos);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const std::u16string input = Fuzz::Utf16Of(data, size);
  const std::size_t split = input.find(u'\0');
  const std::u16string headers = input.substr(0, split);
  const std::u16string reply = split == std::u16string::npos ? std::u16string() : input.substr(split + 1);
  // The reply text crosses the boundary zero-terminated: the scanner sees it up to its first U+0000.
  const std::u16string scanned = reply.substr(0, reply.find(u'\0'));

  const auto result = ParseTokenJson(scanned, [&scanned](std::u16string_view name, std::u16string_view value) {
    Fuzz::Check(scanned.find(name) != std::u16string::npos && scanned.find(value) != std::u16string::npos);
  });
  Fuzz::Check(result == kTokenJsonScanned || result == kTokenJsonNotScanned);

  AnsweredHttpClient client(headers, reply);
  // The response ends through Release, as a host ends it; the next input is read into the recycled object.
  std::unique_ptr<CTokenResponse, void (*)(CTokenResponse*)> owned(CTokenResponse::Create(client),
                                                                   [](CTokenResponse* r) { r->Release(); });
  CTokenResponse& response = *owned;
  const bool isError = Member(response, &ITokenResponse::GetError, scanned).has_value() ||
                       Member(response, &ITokenResponse::GetErrorDescription, scanned).has_value();
  const bool isToken = Member(response, &ITokenResponse::GetAccessToken, scanned).has_value() ||
                       Member(response, &ITokenResponse::GetTokenType, scanned).has_value() ||
                       Member(response, &ITokenResponse::GetRefreshToken, scanned).has_value();
  Fuzz::Check(!(isError && isToken));
  if (isError) Fuzz::Check(response.GetExpiresIn() == 0);
  const WideChar* value = nullptr;
  if (response.GetHeader(reinterpret_cast<const WideChar*>(u"content-type"), &value) == 1)
    Fuzz::Check(value != nullptr);
  return 0;
}
