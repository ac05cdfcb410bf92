// Body encodings with byte-order marks, the UTF-16/UTF-8 converters and encoding recognition.
#include "oauth/text/text_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace OAuthClient {
namespace {

using Bytes = ByteBuffer;

struct EncodeRow {
  const char* name;
  std::uint32_t encoding;
  std::u16string text;
  int result;
  Bytes bytes;         // the counted bytes
  std::size_t zeros;   // how many zero bytes follow them
};
// Named by its name: gtest would otherwise print its bytes, unset ones included.
void PrintTo(const EncodeRow& row, std::ostream* out) { *out << row.name; }

class EncodeTextTest : public testing::TestWithParam<EncodeRow> {};

TEST_P(EncodeTextTest, WritesTheMarkTheBytesAndTrailingZeros) {
  const EncodeRow& row = GetParam();
  Bytes out{9};
  ASSERT_EQ(EncodeText(&out, row.text, row.encoding), row.result);
  if (row.result <= 0) {
    EXPECT_EQ(out, Bytes{9}) << "a failure or nothing to write leaves the output alone";
    return;
  }
  Bytes expected = row.bytes;
  expected.resize(row.bytes.size() + row.zeros, 0);
  EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EncodeTextTest,
    testing::Values(EncodeRow{"Utf8WithMarkAndOneZero", TextEncoding::Utf8, u"A", 4, {0xEF, 0xBB, 0xBF, 0x41}, 1},
                    EncodeRow{"Utf16LePairAndTwoZeros", TextEncoding::Utf16Le, u"\U0001F600", 6,
                              {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}, 2},
                    EncodeRow{"Utf16BeGoesThroughUtf8", TextEncoding::Utf16Be, u"\xD800", 4, {0xFE, 0xFF, 0xFF, 0xFD}, 2},
                    EncodeRow{"AnsiDropsTheMark", TextEncoding::Ansi, u"\uFEFFA\u20AC", 2, {0x41, 0x80}, 0},
                    EncodeRow{"AnsiMarkTestReadsTheLowByteOnly", TextEncoding::Ansi, u"\u00FEA", 1, {0x41}, 0},
                    EncodeRow{"AnsiNothingLeftAfterTheMark", TextEncoding::Ansi, u"\uFEFF", 0, {}, 0},
                    EncodeRow{"EmptyUtf8Fails", TextEncoding::Utf8, u"", -1, {}, 0},
                    EncodeRow{"EmptyUtf16BeFails", TextEncoding::Utf16Be, u"", -1, {}, 0},
                    EncodeRow{"UnknownEncodingFails", 4, u"A", -1, {}, 0}),
    [](const testing::TestParamInfo<EncodeRow>& info) { return std::string(info.param.name); });

struct DecodeRow {
  const char* name;
  std::uint32_t encoding;
  Bytes bytes;
  int result;
  std::u16string text;  // what the output holds afterwards ("old" when it was left alone)
};
void PrintTo(const DecodeRow& row, std::ostream* out) { *out << row.name; }

class DecodeTextTest : public testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeTextTest, KeepsTheMarkAsACharacter) {
  const DecodeRow& row = GetParam();
  std::u16string out = u"old";
  EXPECT_EQ(DecodeText(&out, row.bytes.empty() ? nullptr : row.bytes.data(), static_cast<std::uint32_t>(row.bytes.size()),
                       row.encoding),
            row.result);
  EXPECT_EQ(out, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeTextTest,
    testing::Values(
        DecodeRow{"Utf16LeMark", TextEncoding::Utf16Le, {0xFF, 0xFE, 0x41, 0x00}, 2, u"\uFEFFA"},
        DecodeRow{"OddLastByteIgnored", TextEncoding::Utf16Le, {0x41, 0x00, 0x42}, 1, u"A"},
        DecodeRow{"Utf16BePair", TextEncoding::Utf16Be, {0xD8, 0x3D, 0xDE, 0x00}, 2, u"\U0001F600"},
        DecodeRow{"LittleEndianStopsBeforeTrailingHigh", TextEncoding::Utf16Le, {0x41, 0x00, 0x00, 0xD8}, 1, u"A"},
        DecodeRow{"BigEndianTrailingHighIsMalformed", TextEncoding::Utf16Be, {0x00, 0x41, 0xD8, 0x00}, -2, u"old"},
        DecodeRow{"HighWithoutLowIsMalformed", TextEncoding::Utf16Le, {0x00, 0xD8, 0x41, 0x00}, -2, u"old"},
        // A lone low surrogate becomes ED B0 80, which the UTF-8 converter reads as Windows does: ED B0 (a
        // surrogate) as one U+FFFD, then the stray 80 as another.
        DecodeRow{"LoneLowIsTwoReplacements", TextEncoding::Utf16Le, {0x00, 0xDC}, 2, u"\uFFFD\uFFFD"},
        DecodeRow{"Utf8MarkAndReplacement", TextEncoding::Utf8, {0xEF, 0xBB, 0xBF, 0xC3, 0xA9, 0xFF}, 3,
                  u"\uFEFF\u00E9\uFFFD"},
        DecodeRow{"AnsiDropsQuestionMarkAndAddsUncountedMark", TextEncoding::Ansi, {0x3F, 0x41, 0x42}, 2, u"\uFEFFAB"},
        DecodeRow{"AnsiLowByteFeGetsNoMark", TextEncoding::Ansi, {0xFE, 0x41}, 2, u"\u00FEA"},
        DecodeRow{"AnsiOnlyQuestionMarkFails", TextEncoding::Ansi, {0x3F}, -1, u""},
        DecodeRow{"SingleByteHoldsNoUnit", TextEncoding::Utf16Le, {0x41}, -1, u""},
        DecodeRow{"NoBytes", TextEncoding::Utf8, {}, -1, u"old"},
        DecodeRow{"UnknownEncoding", 7, {0x41}, -1, u"old"}),
    [](const testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

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

struct DetectRow {
  const char* name;
  Bytes bytes;
  DetectedEncoding encoding;
};
void PrintTo(const DetectRow& row, std::ostream* out) { *out << row.name; }

class DetectEncodingTest : public testing::TestWithParam<DetectRow> {};

TEST_P(DetectEncodingTest, FollowsTheXmlAutodetectionTable) {
  const DetectRow& row = GetParam();
  EXPECT_EQ(DetectEncoding(row.bytes.empty() ? nullptr : row.bytes.data(), static_cast<std::uint32_t>(row.bytes.size())),
            row.encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectEncodingTest,
    testing::Values(DetectRow{"Ucs4BigEndian", {0x00, 0x00, 0x00, 0x3C}, kDetectedUcs4BigEndian},
                    DetectRow{"Ucs4LittleEndian", {0x3C, 0x00, 0x00, 0x00}, kDetectedUcs4LittleEndian},
                    DetectRow{"Ucs4Order2143", {0x00, 0x00, 0x3C, 0x00}, kDetectedUcs4Order2143},
                    DetectRow{"Ucs4Order3412", {0x00, 0x3C, 0x00, 0x00}, kDetectedUcs4Order3412},
                    DetectRow{"Ebcdic", {0x4C, 0x6F, 0xA7, 0x94}, kDetectedEbcdic},
                    DetectRow{"XmlDeclaration", {0x3C, 0x3F, 0x78, 0x6D, 0x6C}, kDetectedUtf8},
                    DetectRow{"Utf16LeDeclaration", {0x3C, 0x00, 0x3F, 0x00}, kDetectedUtf16LittleEndian},
                    DetectRow{"Utf16BeDeclaration", {0x00, 0x3C, 0x00, 0x3F}, kDetectedUtf16BigEndian},
                    DetectRow{"Utf8Mark", {0xEF, 0xBB, 0xBF}, kDetectedUtf8},
                    DetectRow{"Utf16LeMarkBeforeUcs4Check", {0xFF, 0xFE, 0x00, 0x00}, kDetectedUtf16LittleEndian},
                    DetectRow{"Utf16BeMark", {0xFE, 0xFF}, kDetectedUtf16BigEndian},
                    DetectRow{"AlmostXml", {0x3C, 0x3F, 0x78, 0x6E}, kDetectedNone},
                    DetectRow{"AlmostUtf16Be", {0x00, 0x3C, 0x00, 0x41}, kDetectedNone},
                    DetectRow{"HalfAUtf8Mark", {0xEF, 0xBB}, kDetectedNone},
                    DetectRow{"OneByte", {0xFF}, kDetectedNone}, DetectRow{"NoBytes", {}, kDetectedNone}),
    [](const testing::TestParamInfo<DetectRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace OAuthClient
