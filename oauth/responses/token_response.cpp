// CTokenResponse: the token endpoint's answer (status, headers, reply text and the OAuth members of its JSON reply).
#include "oauth/responses/token_response.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "oauth/platform/wide_to_long.h"
#include "oauth/text/boundary_text.h"
#include "oauth/text/same_text.h"

namespace OAuthClient {

namespace {

// Points *out at a stored text: 1, or -1 (out untouched) when the text is absent or out is null.
std::int32_t HandOut(const StringProperty& property, const WideChar** out) {
  if (out == nullptr || !property.IsSet()) return -1;
  *out = property.Get();
  return 1;
}

}  // namespace

CTokenResponse::CTokenResponse(IHttpClient& client) { ReadAnswer(client); }

void CTokenResponse::ReadAnswer(IHttpClient& client) {
  const WideChar* text = nullptr;
  client.GetResponseText(&text);
  responseText_.Set(ViewOf(text));

  client.GetResponseValue(&responseValue_);
  statusCode_ = client.GetStatusCode();

  const WideChar* statusText = nullptr;
  if (client.GetStatusText(&statusText) == 1) statusText_.Set(statusText);

  const WideChar* headersText = nullptr;
  client.GetResponseHeadersText(&headersText);
  headersText_.Set(headersText);
  headers_.Set(headersText_.View());

  // The reply is asked for again and scanned only when this second read succeeds. The scan reads the component's
  // buffer in place: nothing calls the component until the members are copied out.
  const WideChar* reply = nullptr;
  if (client.GetResponseText(&reply) != 1 || IsNullOrEmpty(reply)) return;
  // Only the kept members are noted as the scan reports them, each with its first value (a repeated name keeps
  // it), so nothing is collected for the rest of the reply.
  KeptMembers members;
  const auto noteMember = [&members](std::u16string_view name, std::u16string_view value) {
    const std::size_t index = KeptMemberIndex(name);
    if (index < kKeptMemberCount && !members[index]) members[index] = value;
  };
  if (ParseTokenJson(ViewOf(reply), noteMember) == kTokenJsonScanned) TakeMembers(members);
}

std::size_t CTokenResponse::KeptMemberIndex(std::u16string_view name) {
  static constexpr std::array<std::u16string_view, kKeptMemberCount> kNames = {
      u"error",      u"error_description", u"error_uri",     u"state",
      u"token_type", u"access_token",      u"refresh_token", u"expires_in"};
  const auto kept =
      std::find_if(kNames.begin(), kNames.end(), [name](std::u16string_view known) { return SameText(known, name); });
  return static_cast<std::size_t>(kept - kNames.begin());
}

void CTokenResponse::TakeMembers(const KeptMembers& members) {
  // An "error" member makes an error reply even with an empty value or a 200 status (RFC 6749 section 5.2).
  if (members[kError]) {
    TakeMember(members[kError], &error_);
    TakeMember(members[kErrorDescription], &errorDescription_);
    TakeMember(members[kErrorUri], &errorUri_);
    TakeMember(members[kState], &state_);
    return;
  }
  TakeMember(members[kTokenType], &tokenType_);
  TakeMember(members[kAccessToken], &accessToken_);
  TakeMember(members[kRefreshToken], &refreshToken_);
  // Read like _wtol, which also accepts the quoted "3600" that some servers send and stops at the line break or
  // blank that a bare value keeps.
  if (members[kExpiresIn]) expiresIn_ = Platform::WideToLong(std::u16string(*members[kExpiresIn]).c_str());
}

void CTokenResponse::TakeMember(const std::optional<std::u16string_view>& value, StringProperty* property) {
  if (value) property->Set(*value);
}

std::int32_t CTokenResponse::GetHeader(const WideChar* name, const WideChar** out) {
  if (name == nullptr || out == nullptr) return -1;
  const std::optional<std::u16string_view> value = headers_.Find(ViewOf(name));
  if (!value) return -1;
  headerValue_ = std::u16string(*value);
  *out = AsWide(headerValue_->c_str());
  return 1;
}

std::int32_t CTokenResponse::GetHeadersText(const WideChar** out) { return HandOut(headersText_, out); }
std::int32_t CTokenResponse::GetResponseText(const WideChar** out) {
  if (out == nullptr || !responseText_.IsSet()) return -1;
  *out = responseText_.Get();
  return 1;
}
std::uint32_t CTokenResponse::GetStatusCode() { return statusCode_; }
std::int32_t CTokenResponse::GetStatusText(const WideChar** out) { return HandOut(statusText_, out); }
std::int32_t CTokenResponse::GetTokenType(const WideChar** out) { return HandOut(tokenType_, out); }
std::int32_t CTokenResponse::GetAccessToken(const WideChar** out) { return HandOut(accessToken_, out); }
std::int32_t CTokenResponse::GetRefreshToken(const WideChar** out) { return HandOut(refreshToken_, out); }
std::int32_t CTokenResponse::GetExpiresIn() { return expiresIn_; }
std::int32_t CTokenResponse::GetError(const WideChar** out) { return HandOut(error_, out); }
std::int32_t CTokenResponse::GetErrorDescription(const WideChar** out) { return HandOut(errorDescription_, out); }
std::int32_t CTokenResponse::GetErrorUri(const WideChar** out) { return HandOut(errorUri_, out); }
std::int32_t CTokenResponse::GetState(const WideChar** out) { return HandOut(state_, out); }

std::int32_t CTokenResponse::GetResponseValue(std::uintptr_t* out) {
  if (out == nullptr) return -1;
  *out = responseValue_;
  return 1;
}

void CTokenResponse::Release() { delete this; }

}  // namespace OAuthClient
