// COAuthRequest: the protected-resource request that the host fills through IOAuthRequest.
#include "oauth/requests/oauth_request.h"

#include "oauth/requests/property_access.h"
#include "oauthclient/text_encoding.h"

namespace OAuthClient {

void COAuthRequest::ClearHeaders() { headers_.Clear(); }

std::int32_t COAuthRequest::SetUrl(const WideChar* url) { return SetProperty(url_, url); }

void COAuthRequest::GetUrl(const WideChar** out) { GetProperty(url_, out); }

std::int32_t COAuthRequest::AddHeader(const WideChar* name, const WideChar* value) { return headers_.Add(name, value); }

void COAuthRequest::GetHeader(const WideChar* name, const WideChar** out) { headers_.Get(name, out); }

std::int32_t COAuthRequest::AddHeadersText(const WideChar* text) { return headers_.AddText(text); }

void COAuthRequest::GetHeadersText(const WideChar** out) { headers_.GetText(out); }

std::int32_t COAuthRequest::SetAccessToken(const WideChar* token) { return SetProperty(accessToken_, token); }

void COAuthRequest::GetAccessToken(const WideChar** out) { GetProperty(accessToken_, out); }

std::int32_t COAuthRequest::SetBody(const unsigned char* data, std::uint32_t length) {
  return body_.SetBytes(data, length);
}

std::int32_t COAuthRequest::SetBodyText(const WideChar* text, std::uint32_t encoding) {
  return body_.SetText(text, encoding);
}

std::int32_t COAuthRequest::SetBodyUnicode(const WideChar* text) { return body_.SetText(text, Utf16Le); }

std::int32_t COAuthRequest::GetBody(const unsigned char** data, std::uint32_t* length) {
  return body_.GetBytes(data, length);
}

std::int32_t COAuthRequest::GetBodyText(const WideChar** text, std::uint32_t* length, std::uint32_t encoding) {
  return body_.GetText(text, length, encoding);
}

std::int32_t COAuthRequest::GetBodyTextDetected(const WideChar** text, std::uint32_t* length) {
  return body_.GetTextDetected(text, length);
}

void COAuthRequest::Release() { delete this; }

void COAuthRequest::SetOptionFlagA(Bool8 value) { transport_.SetIgnoreCertificateErrors(value); }

std::int32_t COAuthRequest::GetOptionFlagA() { return static_cast<std::int32_t>(transport_.IgnoreCertificateErrors()); }

void COAuthRequest::SetOptionFlagB(Bool8 value) { transport_.SetFollowRedirects(value); }

std::int32_t COAuthRequest::GetOptionFlagB() { return static_cast<std::int32_t>(transport_.FollowRedirects()); }

void COAuthRequest::SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) {
  transport_.SetAuthenticatedProxy(a, b, c);
}

void COAuthRequest::SetStringPair(const WideChar* a, const WideChar* b) { transport_.SetProxyWithBypassList(a, b); }

void COAuthRequest::GetStringTriple(WideChar** a, WideChar** b, WideChar** c) {
  transport_.CopyAuthenticatedProxy(a, b, c);
}

void COAuthRequest::GetStringPair(WideChar** a, WideChar** b) { transport_.CopyProxyWithBypassList(a, b); }

void COAuthRequest::SetOptionValueA(std::uint32_t value) { transport_.SetConnectTimeout(value); }

std::uint32_t COAuthRequest::GetOptionValueA() { return transport_.ConnectTimeout(); }

void COAuthRequest::SetOptionValueB(std::uint32_t value) { transport_.SetReceiveTimeout(value); }

std::uint32_t COAuthRequest::GetOptionValueB() { return transport_.ReceiveTimeout(); }

void COAuthRequest::SetSecureProtocol(std::uint32_t value) { transport_.SetSecureProtocol(value); }

std::uint32_t COAuthRequest::GetSecureProtocol() { return transport_.SecureProtocol(); }

std::int32_t COAuthRequest::SetMethod(const WideChar* method) { return SetProperty(method_, method); }

void COAuthRequest::GetMethod(const WideChar** out) { GetProperty(method_, out); }

void COAuthRequest::SetOptionValueC(std::uint32_t value) { transport_.SetTotalTimeout(value); }

std::uint32_t COAuthRequest::GetOptionValueC() { return transport_.TotalTimeout(); }

}  // namespace OAuthClient
