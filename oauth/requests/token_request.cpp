// CTokenRequest: one call to a token endpoint, filled by the host through ITokenRequest.
#include "oauth/requests/token_request.h"

#include <optional>
#include <string>
#include <string_view>

#include "oauth/requests/property_access.h"
#include "oauth/text/boundary_text.h"

namespace OAuthClient {
namespace {

// Grant types that carry resource owner credentials: "password" and extension grants built on it.
constexpr std::u16string_view kPasswordMarker = u"password";

}  // namespace

void CTokenRequest::ClearHeaders() { headers_.Clear(); }

std::int32_t CTokenRequest::AddHeader(const WideChar* name, const WideChar* value) { return headers_.Add(name, value); }

void CTokenRequest::GetHeader(const WideChar* name, const WideChar** out) { headers_.Get(name, out); }

std::int32_t CTokenRequest::AddHeadersText(const WideChar* text) { return headers_.AddText(text); }

void CTokenRequest::GetHeadersText(const WideChar** out) { headers_.GetText(out); }

void CTokenRequest::AddParameter(const WideChar* name, const WideChar* value) {
  // The operation has no result to report a missing name or value with, so such a call is ignored.
  if (name == nullptr || value == nullptr) return;
  parameters_.Add(ViewOf(name), ViewOf(value));
}

void CTokenRequest::AddParametersText(const WideChar* text) { parameters_.AddText(ViewOf(text)); }

std::int32_t CTokenRequest::GetParametersText(const WideChar** out, Bool8 urlEncode) {
  parametersText_.Clear();
  if (parameters_.IsEmpty()) {
    if (out != nullptr) *out = nullptr;
    return 1;
  }
  CompleteParameters();
  std::optional<std::u16string> text = parameters_.ToText(urlEncode != 0);
  if (!text) return -1;
  parametersText_.Set(*text);
  if (out != nullptr) *out = parametersText_.Get();
  return 1;
}

void CTokenRequest::CompleteParameters() {
  CompleteParameter(u"grant_type", grantType_);
  CompleteParameter(u"scope", scope_);
  if (grantType_.View().find(kPasswordMarker) != std::u16string_view::npos) {
    CompleteParameter(u"username", userName_);
    CompleteParameter(u"password", password_);
  }
}

void CTokenRequest::CompleteParameter(const char16_t* name, const StringProperty& property) {
  if (property.IsSet()) parameters_.Add(name, property.View());
}

void CTokenRequest::ClearParameters() {
  parametersText_.Clear();
  parameters_.Clear();
}

void CTokenRequest::Release() { delete this; }

void CTokenRequest::SetOptionFlagA(Bool8 value) { transport_.SetIgnoreCertificateErrors(value); }

std::uint32_t CTokenRequest::GetOptionFlagA() { return transport_.IgnoreCertificateErrors(); }

void CTokenRequest::SetOptionFlagB(Bool8 value) { transport_.SetFollowRedirects(value); }

std::uint32_t CTokenRequest::GetOptionFlagB() { return transport_.FollowRedirects(); }

void CTokenRequest::SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) {
  transport_.SetAuthenticatedProxy(a, b, c);
}

void CTokenRequest::SetStringPair(const WideChar* a, const WideChar* b) { transport_.SetProxyWithBypassList(a, b); }

void CTokenRequest::GetStringTriple(WideChar** a, WideChar** b, WideChar** c) {
  transport_.CopyAuthenticatedProxy(a, b, c);
}

void CTokenRequest::GetStringPair(WideChar** a, WideChar** b) { transport_.CopyProxyWithBypassList(a, b); }

void CTokenRequest::SetOptionValueA(std::uint32_t value) { transport_.SetConnectTimeout(value); }

std::uint32_t CTokenRequest::GetOptionValueA() { return transport_.ConnectTimeout(); }

void CTokenRequest::SetOptionValueB(std::uint32_t value) { transport_.SetReceiveTimeout(value); }

std::uint32_t CTokenRequest::GetOptionValueB() { return transport_.ReceiveTimeout(); }

void CTokenRequest::SetSecureProtocol(std::uint32_t value) { transport_.SetSecureProtocol(value); }

std::uint32_t CTokenRequest::GetSecureProtocol() { return transport_.SecureProtocol(); }

void CTokenRequest::SetOptionValueC(std::uint32_t value) { transport_.SetTotalTimeout(value); }

std::uint32_t CTokenRequest::GetOptionValueC() { return transport_.TotalTimeout(); }

std::int32_t CTokenRequest::SetUrl(const WideChar* url) { return SetProperty(url_, url); }

void CTokenRequest::GetUrl(const WideChar** out) { GetProperty(url_, out); }

std::int32_t CTokenRequest::SetMethod(const WideChar* method) { return SetProperty(method_, method); }

void CTokenRequest::GetMethod(const WideChar** out) { GetProperty(method_, out); }

std::int32_t CTokenRequest::SetGrantType(const WideChar* grantType) { return SetProperty(grantType_, grantType); }

void CTokenRequest::GetGrantType(const WideChar** out) { GetProperty(grantType_, out); }

std::int32_t CTokenRequest::SetClientId(const WideChar* clientId) { return SetProperty(clientId_, clientId); }

void CTokenRequest::GetClientId(const WideChar** out) { GetProperty(clientId_, out); }

std::int32_t CTokenRequest::SetClientSecret(const WideChar* clientSecret) {
  return SetProperty(clientSecret_, clientSecret);
}

void CTokenRequest::GetClientSecret(const WideChar** out) { GetProperty(clientSecret_, out); }

std::int32_t CTokenRequest::SetScope(const WideChar* scope) { return SetProperty(scope_, scope); }

void CTokenRequest::GetScope(const WideChar** out) { GetProperty(scope_, out); }

std::int32_t CTokenRequest::SetUserName(const WideChar* userName) { return SetProperty(userName_, userName); }

void CTokenRequest::GetUserName(const WideChar** out) { GetProperty(userName_, out); }

std::int32_t CTokenRequest::SetPassword(const WideChar* password) { return SetProperty(password_, password); }

void CTokenRequest::GetPassword(const WideChar** out) { GetProperty(password_, out); }

}  // namespace OAuthClient
