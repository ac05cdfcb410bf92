// CResourceResponse: copies one answer out of the HTTP client object and hands it to the host.
#include "oauth/responses/resource_response.h"

#include <algorithm>
#include <cstddef>

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

}  // namespace

CResourceResponse::CResourceResponse(IHttpClient& client) {
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
  KeepAnswer(ViewOf(headersText), status, body, body != nullptr ? bodyLength_ : 0);
}

void CResourceResponse::KeepAnswer(std::u16string_view headersText, std::u16string_view statusText,
                                   const unsigned char* body, std::size_t bodyBytes) {
  // The body with its zero byte, rounded up to whole units.
  const std::size_t bodyUnits = bodyBytes == 0 ? 0 : (bodyBytes + 1 + sizeof(char16_t) - 1) / sizeof(char16_t);
  answer_.reserve(headersText.size() + 1 + statusText.size() + 1 + bodyUnits);
  answer_.append(headersText).push_back(0);
  answer_.append(statusText).push_back(0);
  const std::size_t bodyAt = answer_.size();
  answer_.resize(bodyAt + bodyUnits);  // zero units: the body's zero byte, and the padding of an odd length

  const std::u16string_view kept = answer_;
  headersText_ = kept.substr(0, headersText.size());
  statusText_ = kept.substr(headersText.size() + 1, statusText.size());
  headers_.Set(headersText_);
  if (bodyBytes != 0) {
    auto* bytes = reinterpret_cast<unsigned char*>(answer_.data() + bodyAt);
    std::copy(body, body + bodyBytes, bytes);
    body_ = bytes;
  }
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
  if (out == nullptr || headersText_.empty()) return -1;
  *out = AsWide(headersText_.data());
  return 1;
}

std::int32_t CResourceResponse::GetBody(const unsigned char** data, std::uint32_t* length) {
  if (data == nullptr || length == nullptr || !HasBody()) return -1;
  *data = body_;
  *length = bodyLength_;
  return 1;
}

std::int32_t CResourceResponse::GetBodyText(const WideChar** out, std::uint32_t encoding) {
  if (out == nullptr) return -1;
  bodyText_.reset();
  if (!HasBody()) return -1;
  std::u16string text;
  if (DecodeText(&text, body_, bodyLength_, encoding) < 0) return -1;
  bodyText_ = std::move(text);
  return HandOutBodyText(out);
}

std::int32_t CResourceResponse::GetBodyTextDetected(const WideChar** out) {
  if (out == nullptr || !HasBody()) return -1;
  if (bodyText_) return HandOutBodyText(out);
  std::u16string text;
  const TextEncoding encoding = EncodingFromFirstBytes(body_, bodyLength_);
  if (DecodeText(&text, body_, bodyLength_, encoding) <= 0) return -1;
  bodyText_ = std::move(text);
  return HandOutBodyText(out);
}

std::uint32_t CResourceResponse::GetStatusCode() { return statusCode_; }

std::int32_t CResourceResponse::GetStatusText(const WideChar** out) {
  if (out == nullptr || statusText_.empty()) return -1;
  *out = AsWide(statusText_.data());
  return 1;
}

std::int32_t CResourceResponse::GetResponseValue(std::uintptr_t* out) {
  if (out == nullptr) return -1;
  *out = responseValue_;
  return 1;
}

void CResourceResponse::Release() { delete this; }

std::int32_t CResourceResponse::HandOutBodyText(const WideChar** out) const {
  *out = AsWide(bodyText_->c_str());
  return 1;
}

}  // namespace OAuthClient
