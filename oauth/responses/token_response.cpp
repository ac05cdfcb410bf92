// CTokenResponse: the token endpoint's answer (status, headers, reply text and the OAuth members of its JSON reply).
#include "oauth/responses/token_response.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/recycling_slot.h"
#include "oauth/platform/wide_to_long.h"
#include "oauth/text/boundary_text.h"
#include "oauth/text/same_text.h"

namespace OAuthClient {
namespace {

RecyclingSlot<CTokenResponse> releasedResponse;

}  // namespace

CTokenResponse* CTokenResponse::Create(IHttpClient& client) {
  return releasedResponse.TakeFilled([&client](CTokenResponse& response) { response.ReadAnswer(client); });
}

void CTokenResponse::Recycle() {
  statusCode_ = 0;
  expiresIn_ = 0;
  responseValue_ = 0;
  responseText_.Clear();
  answer_.Clear();
  headersText_ = {};
  statusText_ = {};
  members_.fill({});
  headerValue_.reset();
  headers_ = ResponseHeaders(/*foldNames=*/true);
}

void CTokenResponse::ReadAnswer(IHttpClient& client) {
  const WideChar* text = nullptr;
  client.GetResponseText(&text);
  responseText_.Set(ViewOf(text));

  client.GetResponseValue(&responseValue_);
  statusCode_ = client.GetStatusCode();

  // The status and header texts stay valid until their own getter is called again, the next send or the object's
  // release, so they are copied together with the members at the end.
  const WideChar* statusText = nullptr;
  const std::u16string_view status =
      client.GetStatusText(&statusText) == 1 ? ViewOf(statusText) : std::u16string_view();

  const WideChar* headersText = nullptr;
  client.GetResponseHeadersText(&headersText);
  const std::u16string_view headers = ViewOf(headersText);

  // The reply is asked for again and scanned only when this second read succeeds. The scan reads the component's
  // buffer in place: nothing calls the component until the members are copied out.
  const WideChar* reply = nullptr;
  if (client.GetResponseText(&reply) != 1 || IsNullOrEmpty(reply)) {
    KeepAnswer(headers, status, nullptr);
    return;
  }
  // Only the kept members are noted as the scan reports them, each with its first value (a repeated name keeps
  // it), so nothing is collected for the rest of the reply.
  KeptMembers members;
  const auto noteMember = [&members](std::u16string_view name, std::u16string_view value) {
    const std::size_t index = KeptMemberIndex(name);
    if (index < kKeptMemberCount && !members[index]) members[index] = value;
  };
  const bool scanned = ParseTokenJson(ViewOf(reply), noteMember) == kTokenJsonScanned;
  KeepAnswer(headers, status, scanned ? &members : nullptr);
}

std::size_t CTokenResponse::KeptMemberIndex(std::u16string_view name) {
  static constexpr std::array<std::u16string_view, kKeptMemberCount> kNames = {
      u"error",      u"error_description", u"error_uri",     u"state",
      u"token_type", u"access_token",      u"refresh_token", u"expires_in"};
  const auto kept =
      std::find_if(kNames.begin(), kNames.end(), [name](std::u16string_view known) { return SameText(known, name); });
  return static_cast<std::size_t>(kept - kNames.begin());
}

void CTokenResponse::KeepAnswer(std::u16string_view headersText, std::u16string_view statusText,
                                const KeptMembers* members) {
  // An "error" member makes an error reply even with an empty value or a 200 status (RFC 6749 section 5.2). Only
  // the members of the reply's kind are kept, and empty values are not (their getters give -1).
  std::array<std::u16string_view, kKeptMemberCount> values{};  // empty for what is not kept
  if (members != nullptr) {
    const bool isError = (*members)[kError].has_value();
    for (std::size_t member = 0; member < kExpiresIn; ++member) {
      const bool ofTheReplysKind = (member <= kState) == isError;
      if (ofTheReplysKind && (*members)[member]) values[member] = *(*members)[member];
    }
    // Read like _wtol, which also accepts the quoted "3600" that some servers send and stops at the line break or
    // blank that a bare value keeps.
    if (!isError && (*members)[kExpiresIn]) {
      expiresIn_ = Platform::WideToLong(std::u16string(*(*members)[kExpiresIn]).c_str());
    }
  }

  std::size_t room = AnswerCopy::RoomFor(headersText) + AnswerCopy::RoomFor(statusText);
  for (const std::u16string_view value : values) room += AnswerCopy::RoomFor(value);
  answer_.Reserve(room);
  headersText_ = answer_.AddText(headersText);
  statusText_ = answer_.AddText(statusText);
  for (std::size_t member = 0; member < kKeptMemberCount; ++member) members_[member] = answer_.AddText(values[member]);
  headers_.Set(answer_.View(headersText_));  // after the last copy, so the view into the buffer stays valid
}

std::int32_t CTokenResponse::HandOut(AnswerCopy::Part part, const WideChar** out) const {
  if (out == nullptr || part.IsEmpty()) return -1;
  *out = answer_.Text(part);
  return 1;
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
std::int32_t CTokenResponse::GetTokenType(const WideChar** out) { return HandOut(members_[kTokenType], out); }
std::int32_t CTokenResponse::GetAccessToken(const WideChar** out) { return HandOut(members_[kAccessToken], out); }
std::int32_t CTokenResponse::GetRefreshToken(const WideChar** out) { return HandOut(members_[kRefreshToken], out); }
std::int32_t CTokenResponse::GetExpiresIn() { return expiresIn_; }
std::int32_t CTokenResponse::GetError(const WideChar** out) { return HandOut(members_[kError], out); }
std::int32_t CTokenResponse::GetErrorDescription(const WideChar** out) {
  return HandOut(members_[kErrorDescription], out);
}
std::int32_t CTokenResponse::GetErrorUri(const WideChar** out) { return HandOut(members_[kErrorUri], out); }
std::int32_t CTokenResponse::GetState(const WideChar** out) { return HandOut(members_[kState], out); }

std::int32_t CTokenResponse::GetResponseValue(std::uintptr_t* out) {
  if (out == nullptr) return -1;
  *out = responseValue_;
  return 1;
}

void CTokenResponse::Release() {
  Recycle();
  if (!releasedResponse.Park(this)) delete this;
}

}  // namespace OAuthClient
