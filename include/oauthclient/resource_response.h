// IResourceResponse: the protected resource's answer, handed to the host by IOAuthClient::RequestResource.
#ifndef OAUTHCLIENT_RESOURCE_RESPONSE_H
#define OAUTHCLIENT_RESOURCE_RESPONSE_H

#include <cstdint>

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the slots below is the ABI. No virtual destructor: the object ends through Release.
// Getters give 1 and point their outputs at the response's own buffers, or -1 with the outputs untouched.
class IResourceResponse {
 public:
  // Looks a response header up by its exact name (letter case counts).
  virtual std::int32_t GetHeader(const WideChar* name, const WideChar** out) = 0;
  // The status line and headers exactly as received.
  virtual std::int32_t GetHeadersText(const WideChar** out) = 0;
  // The body bytes and their count; -1 when there is no body.
  virtual std::int32_t GetBody(const unsigned char** data, std::uint32_t* length) = 0;
  // Decodes the body in the given TextEncoding (valid until the next body-text call or Release).
  virtual std::int32_t GetBodyText(const WideChar** out, std::uint32_t encoding) = 0;
  // The body as text in the encoding its first bytes show (UTF-8 when none), or the text already decoded.
  virtual std::int32_t GetBodyTextDetected(const WideChar** out) = 0;
  // Returns the HTTP status code itself.
  virtual std::uint32_t GetStatusCode() = 0;
  // The HTTP reason phrase, when the server sent one.
  virtual std::int32_t GetStatusText(const WideChar** out) = 0;
  // The HTTP component's response value (see the component's header); always 1.
  virtual std::int32_t GetResponseValue(std::uintptr_t* out) = 0;
  // Destroys the response.
  virtual void Release() = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_RESOURCE_RESPONSE_H
