// ITokenResponse: the token endpoint's answer, handed to the host by IOAuthClient::RequestToken.
#ifndef OAUTHCLIENT_TOKEN_RESPONSE_H
#define OAUTHCLIENT_TOKEN_RESPONSE_H

#include <cstdint>

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the slots below is the ABI. No virtual destructor: the object ends through Release.
// Text getters give 1 and point *out at the response's own text (valid until Release; GetHeader's until the next
// GetHeader), or -1 with *out untouched when the text is absent.
class ITokenResponse {
 public:
  // Looks a response header up, ignoring the case of ASCII letters. 1 or -1.
  virtual std::int32_t GetHeader(const WideChar* name, const WideChar** out) = 0;
  // The status line and headers exactly as received.
  virtual std::int32_t GetHeadersText(const WideChar** out) = 0;
  // The reply body as text, exactly as received.
  virtual std::int32_t GetResponseText(const WideChar** out) = 0;
  // Returns the HTTP status code itself.
  virtual std::uint32_t GetStatusCode() = 0;
  // The HTTP reason phrase, when the server sent one.
  virtual std::int32_t GetStatusText(const WideChar** out) = 0;
  // "token_type" of a token reply.
  virtual std::int32_t GetTokenType(const WideChar** out) = 0;
  // "access_token" of a token reply.
  virtual std::int32_t GetAccessToken(const WideChar** out) = 0;
  // "refresh_token" of a token reply.
  virtual std::int32_t GetRefreshToken(const WideChar** out) = 0;
  // Returns "expires_in" of a token reply as a number (0 when absent).
  virtual std::int32_t GetExpiresIn() = 0;
  // "error" of an error reply.
  virtual std::int32_t GetError(const WideChar** out) = 0;
  // "error_description" of an error reply.
  virtual std::int32_t GetErrorDescription(const WideChar** out) = 0;
  // "error_uri" of an error reply.
  virtual std::int32_t GetErrorUri(const WideChar** out) = 0;
  // "state" of an error reply.
  virtual std::int32_t GetState(const WideChar** out) = 0;
  // The HTTP component's response value (see the component's header); always 1.
  virtual std::int32_t GetResponseValue(std::uintptr_t* out) = 0;
  // Destroys the response.
  virtual void Release() = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TOKEN_RESPONSE_H
