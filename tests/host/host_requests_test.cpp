// A host's view of the request objects: made by the factories of the library loaded at run time, filled through
// the public interfaces, and read back by calling the virtual-table slots by their documented numbers, as hosts
// that keep a table of slot numbers do; a getter found in the wrong slot shows as a wrong value or a crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "oauthclient/oauthclient.h"
#include "tests/host/host_library.h"
#include "tests/requests/test_text.h"

namespace OAuthClient {
namespace {

// Calls slot `slot` (numbered from 1, in declaration order) of the object's virtual table.
template <typename Result, typename... Args>
Result Slot(void* object, int slot, Args... args) {
  using Function = Result (*)(void*, Args...);
  return (*static_cast<Function**>(object))[slot - 1](object, args...);
}

// Reads a text through the getter at `slot`.
std::u16string TextAt(void* object, int slot) {
  const WideChar* out = nullptr;
  Slot<void>(object, slot, &out);
  return Text(out);
}

// Reads the caller-owned copies of the string triple (slot) and pair (slot + 1), frees them, and joins them.
std::u16string CopiesAt(void* object, int tripleSlot) {
  WideChar* copies[5] = {};
  Slot<void>(object, tripleSlot, &copies[0], &copies[1], &copies[2]);
  Slot<void>(object, tripleSlot + 1, &copies[3], &copies[4]);
  std::u16string joined;
  for (WideChar* copy : copies) {
    joined += Text(copy) + u"|";
    FreeCallerCopy(copy);
  }
  return joined;
}

class HostRequestsTest : public ::testing::Test {
 protected:
  HostLibrary library_{OAUTHCLIENT_LIBRARY_PATH};
  CreateOAuthRequestFunction createOAuthRequest_ = library_.Find<CreateOAuthRequestFunction>("CreateOAuthRequest");
  CreateTokenRequestFunction createTokenRequest_ = library_.Find<CreateTokenRequestFunction>("CreateTokenRequest");
};

TEST_F(HostRequestsTest, ResourceRequestIsFilledAndReadBackSlotBySlot) {
  ASSERT_NE(createOAuthRequest_, nullptr);
  IOAuthRequest* r = createOAuthRequest_();
  EXPECT_EQ(r->SetUrl(W(u"https://api.example.test/items?q=1")) + r->SetMethod(W(u"PATCH")) +
                r->SetAccessToken(W(u"tok.en")) + r->AddHeadersText(W(u"Accept: text/plain\r\nX-Trace: 7")) +
                r->SetBodyText(W(u"{\"a\":\"\u00E9\"}"), Utf8),
            5);
  r->SetOptionFlagA(1);
  r->SetOptionFlagB(0xFF);
  r->SetOptionValueA(1500);
  r->SetOptionValueB(2500);
  r->SetSecureProtocol(3);
  r->SetOptionValueC(60000);
  r->SetStringTriple(W(u"http://127.0.0.1:3128"), W(u"user"), W(u"pass"));
  r->SetStringPair(W(u"http://127.0.0.1:3129"), W(u"localhost"));

  EXPECT_EQ(TextAt(r, 3), u"https://api.example.test/items?q=1");
  EXPECT_EQ(TextAt(r, 32), u"PATCH");
  EXPECT_EQ(TextAt(r, 9), u"tok.en");
  EXPECT_EQ(TextAt(r, 7), u"Accept: text/plain\r\nX-Trace: 7");
  const WideChar* out = nullptr;
  Slot<void>(r, 5, W(u"x-trace"), &out);
  EXPECT_EQ(Text(out), u" 7");
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  EXPECT_EQ(Slot<std::int32_t>(r, 13, &data, &length), 1);
  EXPECT_EQ(length, 13u);
  EXPECT_EQ(Slot<std::int32_t>(r, 14, &out, &length, std::uint32_t{Utf8}), 1);
  EXPECT_EQ(Text(out, length), u"\uFEFF{\"a\":\"\u00E9\"}");
  EXPECT_EQ(Slot<std::int32_t>(r, 15, &out, &length), 1);
  EXPECT_EQ(length, 10u);
  EXPECT_EQ(Slot<std::int32_t>(r, 18) * 1000 + Slot<std::int32_t>(r, 20), 1255);
  EXPECT_EQ(CopiesAt(r, 23), u"http://127.0.0.1:3128|user|pass|http://127.0.0.1:3129|localhost|");
  EXPECT_EQ(Slot<std::uint32_t>(r, 26), 1500u);
  EXPECT_EQ(Slot<std::uint32_t>(r, 28), 2500u);
  EXPECT_EQ(Slot<std::uint32_t>(r, 30), 3u);
  EXPECT_EQ(Slot<std::uint32_t>(r, 34), 60000u);

  Slot<void>(r, 16);  // Release
}

TEST_F(HostRequestsTest, TokenRequestIsFilledAndReadBackSlotBySlot) {
  ASSERT_NE(createTokenRequest_, nullptr);
  ITokenRequest* r = createTokenRequest_();
  EXPECT_EQ(r->SetUrl(W(u"u")) + r->SetMethod(W(u"m")) + r->SetGrantType(W(u"password")) +
                r->SetClientId(W(u"id")) + r->SetClientSecret(W(u"secret")) + r->SetScope(W(u"read write")) +
                r->SetUserName(W(u"alice")) + r->SetPassword(W(u"p&w")) + r->AddHeader(W(u"Accept"), W(u"*/*")),
            9);
  r->AddParameter(W(u"audience"), W(u"api"));
  r->SetOptionFlagA(0x80);
  r->SetOptionFlagB(1);
  r->SetStringTriple(W(u"a"), W(u"b"), W(u"c"));
  r->SetStringPair(W(u"d"), W(u"e"));
  r->SetOptionValueA(19);
  r->SetOptionValueB(21);
  r->SetSecureProtocol(9);
  r->SetOptionValueC(25);
  const char16_t* texts[] = {u"u", u"m", u"password", u"id", u"secret", u"read write", u"alice", u"p&w"};
  for (int get = 28; get <= 42; get += 2) EXPECT_EQ(TextAt(r, get), texts[(get - 28) / 2]) << get;
  EXPECT_EQ(TextAt(r, 5), u"Accept:*/*");
  const WideChar* out = nullptr;
  EXPECT_EQ(Slot<std::int32_t>(r, 8, &out, Bool8{1}), 1);
  EXPECT_EQ(Text(out), u"audience=api&grant_type=password&password=p%26w&scope=read+write&username=alice");
  EXPECT_EQ(Slot<std::uint32_t>(r, 12) + Slot<std::uint32_t>(r, 14), 129u);
  EXPECT_EQ(CopiesAt(r, 17), u"a|b|c|d|e|");
  for (int get : {20, 22, 24, 26}) EXPECT_EQ(Slot<std::uint32_t>(r, get), get == 24 ? 9u : get - 1u) << get;

  Slot<void>(r, 10);  // Release
}

// A token request loads the HTTP component and its grant unloads it again; nothing the request leaves behind may
// keep the library mapped once the host unloads it (a host that unloads and reloads would otherwise keep old code).
TEST(HostUnload, LibraryIsUnmappedAfterATokenRequest) {
  const void* libraryCode = nullptr;  // an export's address, looked up again once the library is unloaded
  {
    HostLibrary library(OAUTHCLIENT_LIBRARY_PATH);
    const auto createClient = library.Find<CreateOAuthClientFunction>("CreateOAuthClient");
    const auto createTokenRequest = library.Find<CreateTokenRequestFunction>("CreateTokenRequest");
    ASSERT_TRUE(createClient != nullptr && createTokenRequest != nullptr);
    libraryCode = reinterpret_cast<const void*>(createClient);
    IOAuthClient* client = createClient();
    ITokenRequest* request = createTokenRequest();
    request->SetUrl(W(u"http://127.0.0.1:1/token"));  // nothing listens: the send fails, the load was real
    request->SetMethod(W(u"POST"));
    request->SetGrantType(W(u"client_credentials"));
    request->SetClientId(W(u"id"));
    request->SetClientSecret(W(u"secret"));
    ITokenResponse* response = nullptr;
    // -1 would mean the component was not found beside the library; nothing listening gives a transport code.
    EXPECT_NE(client->RequestToken(request, &response), -1);
    if (response != nullptr) response->Release();
    request->Release();
    client->Release();
  }
  EXPECT_EQ(FolderOfLoadedObject(libraryCode), "") << "an address in the library's code still belongs to a loaded object";
}

}  // namespace
}  // namespace OAuthClient
