// Body encodings with byte-order marks, the UTF-16/UTF-8 converters and encoding recognition.
#include "oauth/text/text_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace OAuthClient {
namespace {

using Bytes = ByteBuffer;

TEST(TextEncodingsTest, EncodeTextWritesEachEncodingWithItsMarkAndTrailingZeros) {
  struct Case {
    std::uint32_t encoding;
    std::u16string text;
    Bytes bytes;
    std::size_t zeros;
  };
  const Case cases[] = {
      {TextEncoding::Utf8, u"A", {0xEF, 0xBB, 0xBF, 0x41}, 1},
      {TextEncoding::Utf16Le, u"\U0001F600", {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}, 2},
      {TextEncoding::Utf16Be, u"\xD800", {0xFE, 0xFF, 0xFF, 0xFD}, 2},  // through UTF-8, so U+FFFD
      {TextEncoding::Ansi, u"\uFEFFA\u20AC", {0x41, 0x80}, 0},
      {TextEncoding::Ansi, u"\u00FEA", {0x41}, 0},  // the mark test reads the low byte only
  };
  for (const Case& c : cases) {
    Bytes out;
    const int count = EncodeText(&out, c.text, c.encoding);
    ASSERT_EQ(count, static_cast<int>(c.bytes.size())) << "encoding " << c.encoding;
    EXPECT_EQ(Bytes(out.begin(), out.begin() + count), c.bytes) << "encoding " << c.encoding;
    const Bytes rest(out.begin() + count, out.end());
    EXPECT_EQ(rest, Bytes(c.zeros == 0 ? 0 : rest.size(), 0)) << "only zeros follow the body";
    EXPECT_GE(rest.size(), c.zeros);
  }
  Bytes untouched{9};
  EXPECT_EQ(EncodeText(&untouched, u"\uFEFF", TextEncoding::Ansi), 0) << "nothing left after the mark";
  EXPECT_EQ(untouched, Bytes{9});
  for (std::uint32_t encoding : {1u, 2u, 3u}) EXPECT_EQ(EncodeText(&untouched, u"", encoding), -1);
  EXPECT_EQ(EncodeText(&untouched, u"A", 4), -1);
}

TEST(TextEncodingsTest, DecodeTextKeepsTheMarkAsACharacter) {
  struct Case {
    std::uint32_t encoding;
    Bytes bytes;
    int result;
    std::u16string text;
  };
  const Case cases[] = {
      {TextEncoding::Utf16Le, {0xFF, 0xFE, 0x41, 0x00}, 2, u"\uFEFFA"},
      {TextEncoding::Utf16Le, {0x41, 0x00, 0x42}, 1, u"A"},  // an odd last byte is ignored
      {TextEncoding::Utf16Be, {0xD8, 0x3D, 0xDE, 0x00}, 2, u"\U0001F600"},
      {TextEncoding::Utf16Le, {0x41, 0x00, 0x00, 0xD8}, 1, u"A"},  // stops before a trailing high surrogate
      // A lone low surrogate becomes ED B0 80, which the UTF-8 converter reads as Windows does: ED B0 (a surrogate)
      // as one U+FFFD, then the stray 80 as another.
      {TextEncoding::Utf16Le, {0x00, 0xDC}, 2, u"\uFFFD\uFFFD"},
      {TextEncoding::Utf8, {0xEF, 0xBB, 0xBF, 0xC3, 0xA9, 0xFF}, 3, u"\uFEFF\u00E9\uFFFD"},
      {TextEncoding::Ansi, {0x3F, 0x41, 0x42}, 2, u"\uFEFFAB"},
      {TextEncoding::Ansi, {0xFE, 0x41}, 2, u"\u00FEA"},  // low byte FE: no mark put in front
      {TextEncoding::Ansi, {0x80}, 1, u"\uFEFF\u20AC"},
  };
  for (const Case& c : cases) {
    std::u16string out;
    EXPECT_EQ(DecodeText(&out, c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()), c.encoding), c.result)
        << "encoding " << c.encoding << ", " << c.bytes.size() << " bytes";
    EXPECT_EQ(out, c.text) << "encoding " << c.encoding << ", " << c.bytes.size() << " bytes";
  }
}

TEST(TextEncodingsTest, DecodeTextFailures) {
  const Bytes ascii{0x41}, badPair{0x00, 0xD8, 0x41, 0x00}, trailingHigh{0x00, 0x41, 0xD8, 0x00}, question{0x3F};
  std::u16string out = u"old";
  EXPECT_EQ(DecodeText(&out, nullptr, 1, TextEncoding::Utf8), -1);
  EXPECT_EQ(DecodeText(&out, ascii.data(), 0, TextEncoding::Utf8), -1);
  EXPECT_EQ(DecodeText(&out, ascii.data(), 1, 7), -1);
  EXPECT_EQ(out, u"old") << "argument failures leave the output alone";
  EXPECT_EQ(DecodeText(&out, badPair.data(), 4, TextEncoding::Utf16Le), -2);
  EXPECT_EQ(DecodeText(&out, trailingHigh.data(), 4, TextEncoding::Utf16Be), -2);
  EXPECT_EQ(DecodeAnsiText(&out, question.data(), 1), -1) << "nothing left to convert after the dropped ?";
  EXPECT_EQ(DecodeText(&out, ascii.data(), 1, TextEncoding::Utf16Le), -1) << "a single byte holds no unit";
  EXPECT_EQ(out, u"") << "a failed conversion empties the output";
}

// Runs a converter over `in` with `capacity` output bytes; gives the result, the bytes written and consumed.
using Converter = int (*)(unsigned char*, int*, const unsigned char*, int*);
std::vector<int> Convert(Converter convert, const Bytes& in, int capacity, Bytes* written = nullptr) {
  Bytes out(static_cast<std::size_t>(capacity) + 1, 0);
  int outLength = capacity;
  int inLength = static_cast<int>(in.size());
  const int result = convert(out.data(), &outLength, in.data(), &inLength);
  if (written != nullptr) *written = Bytes(out.begin(), out.begin() + outLength);
  return {result, outLength, inLength};
}

TEST(TextEncodingsTest, Utf16ToUtf8ReportsWhatItWroteAndConsumed) {
  // A, e-acute (2 bytes), a pair (4 bytes), then a high surrogate followed by A.
  const Bytes in{0x41, 0x00, 0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, 0x41, 0x00};
  Bytes written;
  EXPECT_EQ(Convert(Utf16LeToUtf8, in, 16, &written), (std::vector<int>{-2, 7, 8}));
  EXPECT_EQ(written, (Bytes{0x41, 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80}));
  EXPECT_EQ(Convert(Utf16LeToUtf8, Bytes(in.begin(), in.begin() + 8), 3), (std::vector<int>{3, 3, 4}))
      << "stops before the code point that does not fit";
  EXPECT_EQ(Convert(Utf16LeToUtf8, {0x41, 0x00, 0x42}, 16), (std::vector<int>{1, 1, 2})) << "odd count";
  EXPECT_EQ(Convert(Utf16LeToUtf8, {0x41, 0x00, 0x00, 0xD8}, 16), (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(Convert(Utf16BeToUtf8, {0x00, 0x41, 0xD8, 0x00}, 16), (std::vector<int>{-2, 1, 2}));
}

TEST(TextEncodingsTest, Utf8ToUtf16StopsAtWhatDoesNotFit) {
  const Bytes in{0x41, 0xF0, 0x9F, 0x98, 0x80, 0xE2, 0x82};  // A, a pair, a truncated sequence
  Bytes written;
  EXPECT_EQ(Convert(Utf8ToUtf16Be, in, 16, &written), (std::vector<int>{6, 6, 5}));
  EXPECT_EQ(written, (Bytes{0x00, 0x41, 0xD8, 0x3D, 0xDE, 0x00}));
  EXPECT_EQ(Convert(Utf8ToUtf16Le, in, 5), (std::vector<int>{2, 2, 1})) << "no room for the pair";
  EXPECT_EQ(Convert(Utf8ToUtf16Le, {0x41, 0x80}, 16)[0], -2);
  int length = 4, inLength = 4;
  unsigned char out[4];
  EXPECT_EQ(Utf8ToUtf16Le(nullptr, &length, in.data(), &inLength), -1);
  EXPECT_EQ(Utf8ToUtf16Le(out, nullptr, in.data(), &inLength), -1);
  EXPECT_EQ(Utf8ToUtf16Le(out, &length, nullptr, &inLength), 0);
  EXPECT_EQ(length + inLength, 0);
}

TEST(TextEncodingsTest, DetectEncodingFollowsTheXmlAutodetectionTable) {
  const std::pair<Bytes, DetectedEncoding> cases[] = {
      {{0x00, 0x00, 0x00, 0x3C}, kDetectedUcs4BigEndian},     {{0x3C, 0x00, 0x00, 0x00}, kDetectedUcs4LittleEndian},
      {{0x00, 0x00, 0x3C, 0x00}, kDetectedUcs4Order2143},     {{0x00, 0x3C, 0x00, 0x00}, kDetectedUcs4Order3412},
      {{0x4C, 0x6F, 0xA7, 0x94}, kDetectedEbcdic},            {{0x3C, 0x3F, 0x78, 0x6D, 0x6C}, kDetectedUtf8},
      {{0x3C, 0x00, 0x3F, 0x00}, kDetectedUtf16LittleEndian}, {{0x00, 0x3C, 0x00, 0x3F}, kDetectedUtf16BigEndian},
      {{0xEF, 0xBB, 0xBF}, kDetectedUtf8},                    {{0xFF, 0xFE, 0x00, 0x00}, kDetectedUtf16LittleEndian},
      {{0xFE, 0xFF}, kDetectedUtf16BigEndian},                {{0xFF, 0xFE}, kDetectedUtf16LittleEndian},
      {{0x3C, 0x3F, 0x78, 0x6E}, kDetectedNone},              {{0x00, 0x3C, 0x00, 0x41}, kDetectedNone},
      {{0xEF, 0xBB}, kDetectedNone},                          {{0xFF}, kDetectedNone},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [bytes, expected] = cases[i];
    EXPECT_EQ(DetectEncoding(bytes.data(), static_cast<std::uint32_t>(bytes.size())), expected) << "case " << i;
  }
  EXPECT_EQ(DetectEncoding(nullptr, 4), kDetectedNone);
}

}  // namespace
}  // namespace OAuthClient
