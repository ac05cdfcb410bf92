// RequestBody: the body bytes of a resource request, set as bytes or as encoded text and read back either way.
#ifndef OAUTH_REQUESTS_REQUEST_BODY_H
#define OAUTH_REQUESTS_REQUEST_BODY_H

#include <cstdint>
#include <string>

#include "oauth/text/text_encodings.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Holds the body bytes and the text last handed out by GetText / GetTextDetected. Reading never changes the bytes,
// so a body set in one encoding may be read back in another. Every setter drops the text cache; a handed-out
// text stays valid until the next text getter, the next setter or destruction. Getters with a null out-pointer
// give -1 and write nothing.
class RequestBody {
 public:
  // Stores a copy of `length` bytes followed by two zero bytes. A null `data` with a non-zero length stores that
  // many zero bytes, so the length the host gave is kept. A length of 0 leaves no body. Always 1.
  std::int32_t SetBytes(const unsigned char* data, std::uint32_t length);
  // Writes the bytes and their count. 1, or -1 (outs untouched) when there is no body or it has no bytes.
  std::int32_t GetBytes(const unsigned char** data, std::uint32_t* length) const;
  // Encodes `text` in `encoding` (TextEncoding) with its byte-order mark (FF FE, EF BB BF, FE FF; none for Ansi)
  // and stores the result as the body. 1, or -1 for a null, empty or blank text (only U+0020 and U+3000), an
  // encoding other than 0 to 3 or a failed conversion. Any failure leaves no body, even if one was set before.
  // An Ansi text that encodes to nothing (U+FEFF alone) gives 1 and no body.
  std::int32_t SetText(const WideChar* text, std::uint32_t encoding);
  // Decodes the body in `encoding` into the text cache; writes the text and its count of UTF-16 units. A mark in
  // the body becomes a counted leading U+FEFF; the U+FEFF that Ansi decoding puts in front is not counted.
  // 1, or -1 (outs untouched) without a body or when decoding gives no text.
  std::int32_t GetText(const WideChar** text, std::uint32_t* length, std::uint32_t encoding);
  // As GetText, in the encoding recognised from the body's first bytes: UTF-16 little- or big-endian, UTF-8, and
  // Ansi for everything else.
  std::int32_t GetTextDetected(const WideChar** text, std::uint32_t* length);

 private:
  // Drops the bytes and the text cache.
  void Reset();
  // Decodes the stored bytes (of which there is at least one) and hands the text out.
  std::int32_t DecodeInto(const WideChar** text, std::uint32_t* length, std::uint32_t encoding);

  // Empty means "no body"; otherwise the counted bytes followed by the zero bytes the encoder left.
  ByteBuffer bytes_;
  std::uint32_t length_ = 0;
  // Empty means "no text handed out".
  std::u16string text_;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_REQUEST_BODY_H
