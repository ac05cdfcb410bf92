// CTokenRequest: one call to a token endpoint, filled by the host through ITokenRequest.
#ifndef OAUTH_REQUESTS_TOKEN_REQUEST_H
#define OAUTH_REQUESTS_TOKEN_REQUEST_H

#include <cstdint>

#include "oauth/requests/form_parameters.h"
#include "oauth/requests/request_header_store.h"
#include "oauth/requests/stored_transport_settings.h"
#include "oauth/text/string_property.h"
#include "oauthclient/token_request.h"

namespace OAuthClient {

// Holds the endpoint, the credentials, the headers, the form parameters and the transport settings; performs no
// I/O. A new request has every text unset, every number 0, no headers and no parameters. Made with new, ended
// only through Release.
class CTokenRequest final : public ITokenRequest {
 public:
  CTokenRequest() = default;
  CTokenRequest(const CTokenRequest&) = delete;
  CTokenRequest& operator=(const CTokenRequest&) = delete;

  void ClearHeaders() override;
  std::int32_t AddHeader(const WideChar* name, const WideChar* value) override;
  void GetHeader(const WideChar* name, const WideChar** out) override;
  std::int32_t AddHeadersText(const WideChar* text) override;
  void GetHeadersText(const WideChar** out) override;
  void AddParameter(const WideChar* name, const WideChar* value) override;
  void AddParametersText(const WideChar* text) override;
  std::int32_t GetParametersText(const WideChar** out, Bool8 urlEncode) override;
  void ClearParameters() override;
  void Release() override;
  void SetOptionFlagA(Bool8 value) override;
  std::uint32_t GetOptionFlagA() override;
  void SetOptionFlagB(Bool8 value) override;
  std::uint32_t GetOptionFlagB() override;
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
  void SetOptionValueC(std::uint32_t value) override;
  std::uint32_t GetOptionValueC() override;
  std::int32_t SetUrl(const WideChar* url) override;
  void GetUrl(const WideChar** out) override;
  std::int32_t SetMethod(const WideChar* method) override;
  void GetMethod(const WideChar** out) override;
  std::int32_t SetGrantType(const WideChar* grantType) override;
  void GetGrantType(const WideChar** out) override;
  std::int32_t SetClientId(const WideChar* clientId) override;
  void GetClientId(const WideChar** out) override;
  std::int32_t SetClientSecret(const WideChar* clientSecret) override;
  void GetClientSecret(const WideChar** out) override;
  std::int32_t SetScope(const WideChar* scope) override;
  void GetScope(const WideChar** out) override;
  std::int32_t SetUserName(const WideChar* userName) override;
  void GetUserName(const WideChar** out) override;
  std::int32_t SetPassword(const WideChar* password) override;
  void GetPassword(const WideChar** out) override;

 private:
  // Only Release destroys the object.
  ~CTokenRequest() = default;

  // Inserts the parameters that the properties give and the host did not: grant_type, scope, and for every grant
  // type containing "password" (RFC 6749 section 4.3.2) username and password. They stay until ClearParameters.
  void CompleteParameters();
  // Inserts (name, property) when the property is set and the name is absent.
  void CompleteParameter(const char16_t* name, const StringProperty& property);

  StringProperty url_;
  StringProperty method_;
  StringProperty grantType_;
  StringProperty clientId_;
  StringProperty clientSecret_;
  StringProperty scope_;
  StringProperty userName_;
  StringProperty password_;
  RequestHeaderStore headers_;
  StringProperty parametersText_;
  StoredTransportSettings transport_;
  FormParameters parameters_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_TOKEN_REQUEST_H
