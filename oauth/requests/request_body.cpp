// RequestBody: the body bytes of a resource request, set as bytes or as encoded text and read back either way.
#include "oauth/requests/request_body.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "oauth/text/ascii_case.h"
#include "oauth/text/boundary_text.h"
#include "oauthclient/text_encoding.h"

namespace OAuthClient {
namespace {

// Zero bytes kept after the counted bytes, so a text body always ends in a UTF-16 terminator.
constexpr std::size_t kTerminatorBytes = 2;

// Maps what DetectEncoding recognised to the encoding the body is decoded in. Without a recognised form the body
// is taken as Ansi (the resource response takes UTF-8 instead; a request body is the host's own text).
std::uint32_t DecodingFor(DetectedEncoding detected) {
  switch (detected) {
    case kDetectedUtf16LittleEndian:
      return Utf16Le;
    case kDetectedUtf16BigEndian:
      return Utf16Be;
    case kDetectedUtf8:
      return Utf8;
    default:
      return Ansi;
  }
}

}  // namespace

void RequestBody::Reset() {
  text_.clear();
  text_.shrink_to_fit();
  bytes_.clear();
  bytes_.shrink_to_fit();
  length_ = 0;
}

std::int32_t RequestBody::SetBytes(const unsigned char* data, std::uint32_t length) {
  // The source may be the body's own bytes (from GetBytes), so it is copied before the old body is dropped.
  ByteBuffer bytes(static_cast<std::size_t>(length) + kTerminatorBytes, 0);
  if (data != nullptr && length != 0) std::copy(data, data + length, bytes.begin());
  Reset();
  bytes_ = std::move(bytes);
  length_ = length;
  return 1;
}

std::int32_t RequestBody::GetBytes(const unsigned char** data, std::uint32_t* length) const {
  if (data == nullptr || length == nullptr) return -1;
  if (bytes_.empty() || length_ == 0) return -1;
  *data = bytes_.data();
  *length = length_;
  return 1;
}

std::int32_t RequestBody::SetText(const WideChar* text, std::uint32_t encoding) {
  // The text may be the one this body's cache handed out, so it is encoded before the cache is dropped.
  const std::u16string_view view = ViewOf(text);
  ByteBuffer encoded;
  const int count = IsBlank(view) ? -1 : EncodeText(&encoded, view, encoding);
  Reset();
  if (count < 0) return -1;
  if (count > 0) {
    bytes_ = std::move(encoded);
    length_ = static_cast<std::uint32_t>(count);
  }
  return 1;
}

std::int32_t RequestBody::GetText(const WideChar** text, std::uint32_t* length, std::uint32_t encoding) {
  if (text == nullptr || length == nullptr) return -1;
  if (bytes_.empty() || length_ == 0) return -1;
  return DecodeInto(text, length, encoding);
}

std::int32_t RequestBody::GetTextDetected(const WideChar** text, std::uint32_t* length) {
  if (text == nullptr || length == nullptr) return -1;
  if (bytes_.empty()) return -1;
  return DecodeInto(text, length, DecodingFor(DetectEncoding(bytes_.data(), length_)));
}

std::int32_t RequestBody::DecodeInto(const WideChar** text, std::uint32_t* length, std::uint32_t encoding) {
  text_.clear();
  text_.shrink_to_fit();
  std::u16string decoded;
  const int count = DecodeText(&decoded, bytes_.data(), length_, encoding);
  if (count < 1 || decoded.empty()) return -1;
  text_ = std::move(decoded);
  *text = AsWide(text_.c_str());
  *length = static_cast<std::uint32_t>(count);
  return 1;
}

}  // namespace OAuthClient
