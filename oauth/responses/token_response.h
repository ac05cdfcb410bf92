// CTokenResponse: the token endpoint's answer (status, headers, reply text and the OAuth members of its JSON reply).
#ifndef OAUTH_RESPONSES_TOKEN_RESPONSE_H
#define OAUTH_RESPONSES_TOKEN_RESPONSE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/recycling_slot.h"
#include "oauth/responses/answer_copy.h"
#include "oauth/responses/compact_text.h"
#include "oauth/responses/response_headers.h"
#include "oauth/responses/token_json.h"
#include "oauthclient/http_client.h"
#include "oauthclient/token_response.h"

namespace OAuthClient {

// Made by a grant flow from the HTTP client object right after a send that returned 1; it copies everything it
// keeps and never touches that object again. The host owns it and ends it with Release.
//
// The reply is an error reply when its JSON object has an "error" member (whatever the HTTP status): then only
// "error", "error_description", "error_uri" and "state" are kept (RFC 6749 section 5.2). Otherwise it is a token
// reply and only "token_type", "access_token", "refresh_token" and "expires_in" are kept (section 5.1). Empty
// member values are not stored, so their getters give -1.
//
// Choices of this implementation: a null out argument gives -1 from every getter (GetResponseValue included) and
// nothing is written; a null header name gives -1.
//
// Objects are recycled as resource responses are (see CResourceResponse): Release empties one, overwriting what it
// copied of the answer (tokens among it), and parks it for the next Create.
class CTokenResponse final : public ITokenResponse {
 public:
  // Reads the answer from `client`, calling exactly GetResponseText, GetResponseValue, GetStatusCode,
  // GetStatusText, GetResponseHeadersText and GetResponseText again, in that order. Throws std::bad_alloc.
  static CTokenResponse* Create(IHttpClient& client);
  CTokenResponse(const CTokenResponse&) = delete;
  CTokenResponse& operator=(const CTokenResponse&) = delete;

  // Looks the name up with ASCII letters upper-cased; on a hit copies the value (empty or not) into the response's
  // header value, which the out text points at until the next GetHeader. -1 leaves *out untouched.
  std::int32_t GetHeader(const WideChar* name, const WideChar** out) override;
  std::int32_t GetHeadersText(const WideChar** out) override;
  std::int32_t GetResponseText(const WideChar** out) override;
  std::uint32_t GetStatusCode() override;
  std::int32_t GetStatusText(const WideChar** out) override;
  std::int32_t GetTokenType(const WideChar** out) override;
  std::int32_t GetAccessToken(const WideChar** out) override;
  std::int32_t GetRefreshToken(const WideChar** out) override;
  // "expires_in" read as the C runtime's _wtol reads it (a string "3600" counts too); 0 when absent.
  std::int32_t GetExpiresIn() override;
  std::int32_t GetError(const WideChar** out) override;
  std::int32_t GetErrorDescription(const WideChar** out) override;
  std::int32_t GetErrorUri(const WideChar** out) override;
  std::int32_t GetState(const WideChar** out) override;
  // The HTTP component's response value, passed on unchanged.
  std::int32_t GetResponseValue(std::uintptr_t* out) override;
  void Release() override;

 private:
  CTokenResponse() = default;
  // The slot makes objects, and deletes a parked one when the library is unloaded.
  friend class RecyclingSlot<CTokenResponse>;

  ~CTokenResponse() = default;

  // Returns every member to its state in a new object, keeping the storage of small buffers.
  void Recycle();

  // The members a response keeps, an error reply's (RFC 6749 section 5.2, through kState) before a token reply's
  // (section 5.1), and the value of each that a reply has.
  enum KeptMember : std::size_t {
    kError,
    kErrorDescription,
    kErrorUri,
    kState,
    kTokenType,
    kAccessToken,
    kRefreshToken,
    kExpiresIn,
    kKeptMemberCount,
  };
  using KeptMembers = std::array<std::optional<std::u16string_view>, kKeptMemberCount>;

  // Returns the KeptMember of a member name, or kKeptMemberCount for a name the response does not keep.
  static std::size_t KeptMemberIndex(std::u16string_view name);
  void ReadAnswer(IHttpClient& client);
  // Copies the header text, the status text and the members the reply keeps (RFC 6749 section 5.1 or 5.2) into
  // answer_; `members` is null when the reply was not scanned.
  void KeepAnswer(std::u16string_view headersText, std::u16string_view statusText, const KeptMembers* members);
  // Points *out at a kept text: 1, or -1 (out untouched) when the text is absent or out is null.
  std::int32_t HandOut(AnswerCopy::Part part, const WideChar** out) const;

  std::uint32_t statusCode_ = 0;
  std::int32_t expiresIn_ = 0;
  std::uintptr_t responseValue_ = 0;
  CompactText responseText_;  // a large answer is kept at one byte per unit until a host asks for it
  AnswerCopy answer_;         // the header text, the status text and the kept members' values
  AnswerCopy::Part headersText_;
  AnswerCopy::Part statusText_;
  std::array<AnswerCopy::Part, kKeptMemberCount> members_;  // kExpiresIn's stays empty: expiresIn_ holds it
  std::optional<std::u16string> headerValue_;               // may hold an empty value, which GetHeader hands out as ""
  ResponseHeaders headers_{/*foldNames=*/true};             // indexes the header text in answer_
};

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_TOKEN_RESPONSE_H
