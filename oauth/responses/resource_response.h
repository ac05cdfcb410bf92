// CResourceResponse: a protected resource's answer (status, headers, body) as the host reads it.
#ifndef OAUTH_RESPONSES_RESOURCE_RESPONSE_H
#define OAUTH_RESPONSES_RESOURCE_RESPONSE_H

#include <cstdint>
#include <optional>
#include <string>

#include "common/recycling_slot.h"
#include "oauth/responses/answer_copy.h"
#include "oauth/responses/response_headers.h"
#include "oauthclient/http_client.h"
#include "oauthclient/resource_response.h"

namespace OAuthClient {

// Made by the resource retriever from the HTTP client object right after a send that returned 1; it copies
// everything it keeps and never touches that object again (nor releases it). The host owns it and ends it with
// Release. Missing parts of the answer are not errors: no status text, no headers or no body leave the getters
// answering -1.
//
// Texts and bytes handed out are the response's own buffers, valid until the operation that replaces them runs
// again (GetHeader for the header value, GetBodyText / GetBodyTextDetected for the text) or until Release.
//
// Choices of this implementation: a null out argument gives -1 from every getter (GetResponseValue included) and
// nothing is written or dropped; a null header name gives -1.
//
// Objects are recycled as the component's are: Release empties one, overwriting what it copied of the answer, and
// parks it in a RecyclingSlot, where Create takes it from, so that a request's response costs no allocation for
// itself or its buffer.
class CResourceResponse final : public IResourceResponse {
 public:
  // Reads the answer from `client`, calling exactly GetResponseValue, GetStatusCode, GetStatusText,
  // GetResponseHeadersText and GetResponseBody, each once, in that order, with their outputs preset to null / 0.
  // Throws std::bad_alloc.
  static CResourceResponse* Create(IHttpClient& client);
  CResourceResponse(const CResourceResponse&) = delete;
  CResourceResponse& operator=(const CResourceResponse&) = delete;

  // Looks the name up exactly (letter case counts, the received spelling); on a hit copies the value, empty or
  // not, into the header value that *out then points at. -1 leaves *out and the previous value untouched.
  std::int32_t GetHeader(const WideChar* name, const WideChar** out) override;
  // The status line and headers exactly as received, unparsed. -1 when none came.
  std::int32_t GetHeadersText(const WideChar** out) override;
  // The body bytes (followed by one zero byte that *length does not count). -1 when there is no body, also when
  // the component reported a length but no bytes.
  std::int32_t GetBody(const unsigned char** data, std::uint32_t* length) override;
  // Drops the text held, then decodes the body afresh in `encoding` (TextEncoding, with a byte-order mark in the
  // body kept as a leading U+FEFF). -1, with no text held, for no body, an encoding other than 0 to 3, or a
  // conversion failure (malformed UTF-16).
  std::int32_t GetBodyText(const WideChar** out, std::uint32_t encoding) override;
  // Hands out the text already held (from either body-text call), or decodes the body in the encoding its first
  // bytes show: UTF-16 LE or BE by their mark or "<?" pattern, UTF-8 for everything else (plain ASCII included).
  // -1 for no body or a decoding that gives nothing.
  std::int32_t GetBodyTextDetected(const WideChar** out) override;
  // Returns the HTTP status code itself (for example 404), not a result code.
  std::uint32_t GetStatusCode() override;
  // The reason phrase, when the component gave one.
  std::int32_t GetStatusText(const WideChar** out) override;
  // The component's response value, passed on unchanged (the HTTP client component documents its meaning); 1,
  // even when it is 0.
  std::int32_t GetResponseValue(std::uintptr_t* out) override;
  void Release() override;

 private:
  CResourceResponse() = default;
  // The slot makes objects, and deletes a parked one when the library is unloaded.
  friend class RecyclingSlot<CResourceResponse>;

  ~CResourceResponse() = default;

  void ReadFrom(IHttpClient& client);
  // Returns every member to its state in a new object, keeping the storage of a small buffer.
  void Recycle();

  bool HasBody() const { return !body_.IsEmpty(); }
  // Points *out at the text held; returns 1.
  std::int32_t HandOutBodyText(const WideChar** out) const;

  std::uint32_t statusCode_ = 0;
  std::uintptr_t responseValue_ = 0;
  AnswerCopy answer_;  // the header text, the status text and the body bytes
  AnswerCopy::Part headersText_;
  AnswerCopy::Part statusText_;
  AnswerCopy::Part body_;
  std::uint32_t bodyLength_ = 0;                   // as the component reported it, even without bytes
  std::optional<std::u16string> lastHeaderValue_;  // may hold an empty value, handed out as ""
  std::optional<std::u16string> bodyText_;
  ResponseHeaders headers_{/*foldNames=*/false};  // indexes the header text in answer_; names looked up exactly
};

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_RESOURCE_RESPONSE_H
