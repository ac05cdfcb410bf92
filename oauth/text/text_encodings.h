// Conversions between UTF-16 text and bytes: code pages, whole bodies with byte-order marks, and recognition of a
// body's encoding from its first bytes.
#ifndef OAUTH_TEXT_TEXT_ENCODINGS_H
#define OAUTH_TEXT_TEXT_ENCODINGS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "oauthclient/text_encoding.h"

namespace OAuthClient {

// Body bytes. A body made by EncodeText keeps the zero bytes that follow the data (see EncodeText); the byte count
// that matters is the one the function returns.
using ByteBuffer = std::vector<unsigned char>;

// Converts `text` to bytes in `codePage` (Platform::kCodePageAnsi or kCodePageUtf8). Returns the byte count and
// stores exactly those bytes in *out; returns 0 (out untouched) when the converter reports nothing to convert (an
// empty text), and -1 (out emptied) when the conversion fails or memory runs out.
int WideToMultiByte(ByteBuffer* out, std::u16string_view text, std::uint32_t codePage);

// Converts `count` bytes in `codePage` to UTF-16 (count as MultiByteToWideChar takes it: 0 fails, -1 reads up to
// and including a terminator). Returns the number of units (stored in *out) or -1 (out emptied).
int MultiByteToWide(std::u16string* out, const unsigned char* bytes, int count, std::uint32_t codePage);

// Encodes `text` as a body in `encoding` (TextEncoding), mark included. Returns the body's byte count, or -1 for
// an unknown encoding, an empty text (Utf8, Utf16Le, Utf16Be) or a failed conversion; *out is replaced only on
// success. For Ansi a first unit whose low byte is FE or FF is left out (U+FEFF, but U+00FE and U+00FF too), and
// 0 (out untouched) means nothing remained. *out holds the counted bytes followed by exactly one zero byte for Utf8
// and two for Utf16Le / Utf16Be; for Ansi exactly the counted bytes. The UTF-16 bodies are made through UTF-8, so a
// lone surrogate comes out as U+FFFD.
int EncodeText(ByteBuffer* out, std::u16string_view text, std::uint32_t encoding);

// Decodes `count` body bytes in `encoding`. Returns the number of UTF-16 units converted, or -1 (a null or empty
// body, an unknown encoding, a failed conversion, a UTF-16 body too short to hold a unit) or -2 (malformed UTF-16).
// Argument failures leave *out alone; a failed conversion empties it. A mark in the body becomes a leading U+FEFF
// that is counted. UTF-16 bodies are read through UTF-8: a lone low surrogate is written as its three-byte form,
// which the UTF-8 converter then reads as three U+FFFD. For Ansi, see DecodeAnsiText.
int DecodeText(std::u16string* out, const unsigned char* bytes, std::uint32_t count, std::uint32_t encoding);

// Decodes ANSI bytes; a first byte "?" is dropped. When the text's first unit has a low byte of FD or less, *out
// gets U+FEFF in front, which the returned count does not include. A body of the single byte "?" gives -1.
int DecodeAnsiText(std::u16string* out, const unsigned char* bytes, std::uint32_t count);

// UTF-16 (little- or big-endian bytes) to UTF-8. On entry *outLength is the output capacity and *inLength the input
// byte count (an odd count is reduced by one); on return they hold the bytes written and consumed (up to the last
// whole code point written). Returns the bytes written, or -2 for a high surrogate not followed by a low one (and,
// big-endian only, a trailing high surrogate; little-endian stops before it and succeeds); a lone low surrogate is
// written like any other unit. Conversion stops, successfully, before a code point that does not fit. A null
// outLength or inLength, or a negative length, gives -1; a null in or out gives 0 with both lengths 0.
int Utf16LeToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength);
int Utf16BeToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength);

// UTF-8 to UTF-16 (little- or big-endian bytes), with the same in/out lengths. Returns the bytes written (always
// even), -1 for a null out, outLength or inLength, -2 for an invalid lead byte (80-BF, F8-FF). A null input or a
// negative length gives 0 with both lengths 0. Conversion stops, successfully and without consuming it, at a
// truncated last sequence, a value of 0x110000 or more, or a unit or pair that does not fit; a byte that is not a
// continuation byte ends a sequence early. Meant for the system converter's own UTF-8.
int Utf8ToUtf16Le(unsigned char* out, int* outLength, const unsigned char* in, int* inLength);
int Utf8ToUtf16Be(unsigned char* out, int* outLength, const unsigned char* in, int* inLength);

// Encodings that DetectEncoding recognises (the XML 1.0 autodetection table).
enum DetectedEncoding : std::int32_t {
  kDetectedNone = 0,
  kDetectedUcs4BigEndian = 1,      // 00 00 00 3C
  kDetectedUcs4LittleEndian = 2,   // 3C 00 00 00
  kDetectedUcs4Order2143 = 3,      // 00 00 3C 00
  kDetectedUcs4Order3412 = 4,      // 00 3C 00 00
  kDetectedEbcdic = 5,             // 4C 6F A7 94
  kDetectedUtf8 = 6,               // 3C 3F 78 6D, or EF BB BF
  kDetectedUtf16LittleEndian = 7,  // 3C 00 3F 00, or FF FE
  kDetectedUtf16BigEndian = 8,     // 00 3C 00 3F, or FE FF
};

// Recognises a body's encoding from its first bytes; 0 for a null buffer, fewer than 2 bytes, or no match.
DetectedEncoding DetectEncoding(const unsigned char* bytes, std::uint32_t count);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_TEXT_ENCODINGS_H
