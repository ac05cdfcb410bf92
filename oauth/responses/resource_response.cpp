// CResourceResponse: copies one answer out of the HTTP client object and hands it to the host.
#include "oauth/responses/resource_response.h"

#include <cstddef>
#include <string_view>

#include "common/recycling_slot.h"

#include "oauth/text/boundary_text.h"
#include "oauth/text/text_encodings.h"

namespace OAuthClient {
namespace {

// The encoding a body is read in when the host does not name one. Only the UTF-16 recognitions change it: bodies
// of this field are JSON, XML or HTML, for which UTF-8 is the default (RFC 8259 section 8.1), and the UCS-4 and
// EBCDIC patterns are too rare to be worth a guess.
TextEncoding EncodingFromFirstBytes(const unsigned char* bytes, std::uint32_t count) {
  switch (DetectEncoding(bytes, count)) {
    case kDetectedUtf16LittleEndian:
      return Utf16Le;
    case kDetectedUtf16BigEndian:
      return Utf16Be;
    default:
      return Utf8;
  }
}

RecyclingSlot<CResourceResponse> releasedResponse;

}  // namespace

CResourceResponse* CResourceResponse::Create(IHttpClient& client) {
  return releasedResponse.TakeFilled([&client](CResourceResponse& response) { response.ReadFrom(client); });
}

void CResourceResponse::ReadFrom(IHttpClient& client) {
  client.GetResponseValue(&responseValue_);
  statusCode_ = client.GetStatusCode();

  // Each text stays valid until its own getter is called again, the next send or the object's release, so the three
  // are read first and copied together.
  const WideChar* statusText = nullptr;
  const std::u16string_view status =
      client.GetStatusText(&statusText) == 1 ? ViewOf(statusText) : std::u16string_view();

  const WideChar* headersText = nullptr;
  client.GetResponseHeadersText(&headersText);

  const unsigned char* body = nullptr;
  client.GetResponseBody(&body, &bodyLength_);
  const std::u16string_view headers = ViewOf(headersText);
  const std::size_t bodyBytes = body != nullptr ? bodyLength_ : 0;
  answer_.Reserve(AnswerCopy::RoomFor(headers) + AnswerCopy::RoomFor(status) + AnswerCopy::RoomForBytes(bodyBytes));
  headersText_ = answer_.AddText(headers);
  statusText_ = answer_.AddText(status);
  body_ = answer_.AddBytes(body, bodyBytes);
  headers_.Set(answer_.View(headersText_));  // after the last copy, so the view into the buffer stays valid
}

std::int32_t CResourceResponse::GetHeader(const WideChar* name, const WideChar** out) {
  if (name == nullptr || out == nullptr) return -1;
  const std::optional<std::u16string_view> value = headers_.Find(ViewOf(name));
  if (!value) return -1;
  lastHeaderValue_ = std::u16string(*value);
  *out = AsWide(lastHeaderValue_->c_str());
  return 1;
}

std::int32_t CResourceResponse::GetHeadersText(const WideChar** out) {
  if (out == nullptr || headersText_.IsEmpty()) return -1;
  *out = answer_.Text(headersText_);
  return 1;
}

std::int32_t CResourceResponse::GetBody(const unsigned char** data, std::uint32_t* length) {
  if (data == nullptr || length == nullptr || !HasBody()) return -1;
  *data = answer_.Bytes(body_);
  *length = bodyLength_;
  return 1;
}

std::int32_t CResourceResponse::GetBodyText(const WideChar** out, std::uint32_t encoding) {
  if (out == nullptr) return -1;
  bodyText_.reset();
  if (!HasBody()) return -1;
  std::u16string text;
  if (DecodeText(&text, answer_.Bytes(body_), bodyLength_, encoding) < 0) return -1;
  bodyText_ = std::move(text);
  return HandOutBodyText(out);
}

std::int32_t CResourceResponse::GetBodyTextDetected(const WideChar** out) {
  if (out == nullptr || !HasBody()) return -1;
  if (bodyText_) return HandOutBodyText(out);
  std::u16string text;
  const TextEncoding encoding = EncodingFromFirstBytes(answer_.Bytes(body_), bodyLength_);
  if (DecodeText(&text, answer_.Bytes(body_), bodyLength_, encoding) <= 0) return -1;
  bodyText_ = std::move(text);
  return HandOutBodyText(out);
}

std::uint32_t CResourceResponse::GetStatusCode() { return statusCode_; }

std::int32_t CResourceResponse::GetStatusText(const WideChar** out) {
  if (out == nullptr || statusText_.IsEmpty()) return -1;
  *out = answer_.Text(statusText_);
  return 1;
}

std::int32_t CResourceResponse::GetResponseValue(std::uintptr_t* out) {
  if (out == nullptr) return -1;
  *out = responseValue_;
  return 1;
}

void CResourceResponse::Recycle() {
  statusCode_ = 0;
  responseValue_ = 0;
  answer_.Clear();
  headersText_ = {};
  statusText_ = {};
  body_ = {};
  bodyLength_ = 0;
  lastHeaderValue_.reset();
  bodyText_.reset();
  headers_ = ResponseHeaders(/*foldNames=*/false);
}

void CResourceResponse::Release() {
  Recycle();
  if (!releasedResponse.Park(this)) delete this;
}

std::int32_t CResourceResponse::HandOutBodyText(const WideChar** out) const {
  *out = AsWide(bodyText_->c_str());
  return 1;
}

}  // namespace OAuthClient
