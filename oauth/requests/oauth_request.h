// COAuthRequest: the protected-resource request that the host fills through IOAuthRequest.
#ifndef OAUTH_REQUESTS_OAUTH_REQUEST_H
#define OAUTH_REQUESTS_OAUTH_REQUEST_H

#include <cstdint>

#include "oauth/requests/request_body.h"
#include "oauth/requests/request_header_store.h"
#include "oauth/requests/stored_transport_settings.h"
#include "oauth/text/string_property.h"
#include "oauthclient/oauth_request.h"

namespace OAuthClient {

// Holds URL, method, access token, headers, body and transport settings; performs no I/O. A new request has every
// text and the body unset, every number 0 and no headers. Made with new, ended only through Release.
class COAuthRequest final : public IOAuthRequest {
 public:
  COAuthRequest() = default;
  COAuthRequest(const COAuthRequest&) = delete;
  COAuthRequest& operator=(const COAuthRequest&) = delete;

  void ClearHeaders() override;
  std::int32_t SetUrl(const WideChar* url) override;
  void GetUrl(const WideChar** out) override;
  std::int32_t AddHeader(const WideChar* name, const WideChar* value) override;
  void GetHeader(const WideChar* name, const WideChar** out) override;
  std::int32_t AddHeadersText(const WideChar* text) override;
  void GetHeadersText(const WideChar** out) override;
  std::int32_t SetAccessToken(const WideChar* token) override;
  void GetAccessToken(const WideChar** out) override;
  std::int32_t SetBody(const unsigned char* data, std::uint32_t length) override;
  std::int32_t SetBodyText(const WideChar* text, std::uint32_t encoding) override;
  std::int32_t SetBodyUnicode(const WideChar* text) override;
  std::int32_t GetBody(const unsigned char** data, std::uint32_t* length) override;
  std::int32_t GetBodyText(const WideChar** text, std::uint32_t* length, std::uint32_t encoding) override;
  std::int32_t GetBodyTextDetected(const WideChar** text, std::uint32_t* length) override;
  void Release() override;
  void SetOptionFlagA(Bool8 value) override;
  std::int32_t GetOptionFlagA() override;
  void SetOptionFlagB(Bool8 value) override;
  std::int32_t GetOptionFlagB() override;
  void SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) override;
  void SetStringPair(const WideChar* a, const WideChar* b) override;
  void GetStringTriple(WideChar** a, WideChar** b, WideChar** c) override;
  void GetStringPair(WideChar** a, WideChar** b) override;
  void SetOptionValueA(std::uint32_t value) override;
  std::uint32_t GetOptionValueA() override;
  void SetOptionValueB(std::uint32_t value) override;
  std::uint32_t GetOptionValueB() override;
  void SetSecureProtocol(std::uint32_t value) override;
  std::uint32_t GetSecureProtocol() override;
  std::int32_t SetMethod(const WideChar* method) override;
  void GetMethod(const WideChar** out) override;
  void SetOptionValueC(std::uint32_t value) override;
  std::uint32_t GetOptionValueC() override;

 private:
  // Only Release destroys the object.
  ~COAuthRequest() = default;

  StringProperty url_;
  StringProperty method_;
  StringProperty accessToken_;
  RequestHeaderStore headers_;
  RequestBody body_;
  StoredTransportSettings transport_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_OAUTH_REQUEST_H
