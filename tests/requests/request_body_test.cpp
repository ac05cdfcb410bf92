// The resource request's body: bytes stored as given, text encoded with its byte-order mark, and read back as
// text in a chosen or a recognised encoding without changing the bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "oauth/requests/oauth_request.h"
#include "oauthclient/text_encoding.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

using Bytes = std::vector<unsigned char>;

class RequestBodyTest : public ::testing::Test {
 protected:
  ~RequestBodyTest() override { r->Release(); }
  // Returns the stored bytes, or {} when GetBody reports no body.
  Bytes Body() {
    const unsigned char* data = nullptr;
    std::uint32_t length = 0;
    return r->GetBody(&data, &length) == 1 ? Bytes(data, data + length) : Bytes();
  }
  void SetBytes(const Bytes& bytes) { ASSERT_EQ(r->SetBody(bytes.data(), std::uint32_t(bytes.size())), 1); }
  IOAuthRequest* r = new COAuthRequest();
};

TEST_F(RequestBodyTest, BytesAreStoredExactlyAndAnEmptyBodyIsNoBody) {
  SetBytes({0x00, 0xFF, 0x0D, 0x0A, 0x00});
  EXPECT_EQ(Body(), (Bytes{0x00, 0xFF, 0x0D, 0x0A, 0x00}));
  EXPECT_EQ(r->SetBody(nullptr, 3), 1);
  EXPECT_EQ(Body(), (Bytes{0, 0, 0})) << "a null source keeps the length, zero-filled";
  SetBytes({});
  const unsigned char* data = nullptr;
  std::uint32_t length = 77;
  const WideChar* text = W(u"kept");
  EXPECT_EQ(r->GetBody(&data, &length), -1);
  EXPECT_EQ(r->GetBodyText(&text, &length, Utf8), -1);
  EXPECT_EQ(r->GetBodyTextDetected(&text, &length), -1);
  EXPECT_TRUE(data == nullptr && length == 77 && Text(text) == u"kept") << "outs untouched";
}

TEST_F(RequestBodyTest, SetBodyTextEncodesWithTheMarkOrLeavesNoBody) {
  const struct {
    const char16_t* text;
    std::uint32_t encoding;
    int result;
    Bytes bytes;
  } cases[] = {
      // (Each encoding's bytes are checked in tests/text.)
      {u"\U0001F600", Utf16Le, 1, {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}},
      {u"\u00E9\u20AC", Utf8, 1, {0xEF, 0xBB, 0xBF, 0xC3, 0xA9, 0xE2, 0x82, 0xAC}},
      {u"\uFEFF", Ansi, 1, {}},  // nothing left after the mark: success without a body
      {nullptr, Utf8, -1, {}},    {u"", Utf8, -1, {}}, {u"   ", Utf8, -1, {}}, {u"\u3000 ", Utf16Le, -1, {}},
      {u"A", 4, -1, {}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(r->SetBodyText(W(u"previous"), Utf8), 1);
    EXPECT_EQ(r->SetBodyText(W(c.text), c.encoding), c.result) << c.encoding;
    EXPECT_EQ(Body(), c.bytes) << c.encoding;
    if (c.encoding != Utf16Le) continue;
    ASSERT_EQ(r->SetBodyText(W(u"previous"), Utf8), 1);
    EXPECT_EQ(r->SetBodyUnicode(W(c.text)), c.result);
    EXPECT_EQ(Body(), c.bytes) << "SetBodyUnicode is SetBodyText in Utf16Le";
  }
}

TEST_F(RequestBodyTest, BodyTextIsDecodedInTheChosenOrRecognisedEncoding) {
  const struct {
    Bytes body;
    std::uint32_t encoding;  // ~0u: recognised by GetBodyTextDetected
    std::u16string text;     // all of the text handed out, terminator excluded
    std::uint32_t length;
  } cases[] = {
      {{0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}, Utf16Le, u"\uFEFF\U0001F600", 3},
      {{0xEF, 0xBB, 0xBF, 0x41}, Ansi, u"\uFEFF\u00EF\u00BB\u00BFA", 4},  // read in another encoding
      {{0xFF, 0xFE, 0x41, 0x00}, ~0u, u"\uFEFFA", 2},
      {{0xFE, 0xFF, 0x00, 0x41}, ~0u, u"\uFEFFA", 2},
      {{0xEF, 0xBB, 0xBF, 0x41}, ~0u, u"\uFEFFA", 2},
      {{0x3C, 0x00, 0x3F, 0x00}, ~0u, u"<?", 2},  // UTF-16LE recognised from "<?" without a mark
      {{0x4F, 0x4B}, ~0u, u"\uFEFFOK", 2},        // nothing recognised: Ansi, which puts an uncounted U+FEFF in front
  };
  for (const auto& c : cases) {
    SetBytes(c.body);
    const WideChar* text = nullptr;
    std::uint32_t length = 0;
    EXPECT_EQ(c.encoding == ~0u ? r->GetBodyTextDetected(&text, &length) : r->GetBodyText(&text, &length, c.encoding),
              1);
    EXPECT_EQ(Text(text), c.text) << c.encoding;
    EXPECT_EQ(length, c.length) << c.encoding;
    EXPECT_EQ(Body(), c.body) << "reading never changes the bytes";
  }
  const WideChar* text = W(u"kept");
  std::uint32_t length = 5;
  EXPECT_EQ(r->GetBodyText(&text, &length, 4), -1);
  SetBytes({'?'});  // Ansi drops a leading "?", leaving nothing
  EXPECT_EQ(r->GetBodyText(&text, &length, Ansi), -1);
  EXPECT_TRUE(Text(text) == u"kept" && length == 5);
}

TEST_F(RequestBodyTest, HandedOutTextAndBytesCanBeStoredAsTheNextBody) {
  // The setters drop the buffers these point into, so they must read them first.
  ASSERT_EQ(r->SetBodyText(W(u"a round trip"), Utf16Le), 1);
  const WideChar* text = nullptr;
  std::uint32_t length = 0;
  ASSERT_EQ(r->GetBodyText(&text, &length, Utf16Le), 1);
  EXPECT_EQ(r->SetBodyText(text + 1, Ansi), 1);
  EXPECT_EQ(Body(), (Bytes{'a', ' ', 'r', 'o', 'u', 'n', 'd', ' ', 't', 'r', 'i', 'p'}));
  const unsigned char* data = nullptr;
  ASSERT_EQ(r->GetBody(&data, &length), 1);
  EXPECT_EQ(r->SetBody(data + 2, 5), 1);
  EXPECT_EQ(Body(), (Bytes{'r', 'o', 'u', 'n', 'd'}));
}

}  // namespace
}  // namespace OAuthClient
