// Basic client authentication for the token endpoint (RFC 6749 section 2.3.1, RFC 7617).
#include "oauth/grants/basic_authorization.h"

#include <optional>
#include <string>
#include <utility>

#include "common/base64.h"
#include "oauth/grants/basic_authorization_cache.h"
#include "oauth/platform/code_page.h"
#include "oauth/text/boundary_text.h"
#include "oauth/text/secret_wipe.h"
#include "oauth/text/text_encodings.h"

namespace OAuthClient {

namespace {

bool StartsWithByteOrderMarkByte(std::u16string_view text) {
  if (text.empty()) return false;
  const unsigned lowByte = static_cast<unsigned>(text.front()) & 0xFFu;
  return lowByte == 0xFEu || lowByte == 0xFFu;
}

}  // namespace

std::optional<std::u16string> EncodeBasicCredentials(std::u16string_view clientId, std::u16string_view clientSecret) {
  std::u16string joined;
  joined.reserve(clientId.size() + 1 + clientSecret.size());
  joined.append(clientId).append(u":").append(clientSecret);

  std::u16string_view credentials = joined;
  if (StartsWithByteOrderMarkByte(credentials)) credentials.remove_prefix(1);

  ByteBuffer bytes;
  const int byteCount = WideToMultiByte(&bytes, credentials, Platform::kCodePageAnsi);
  WipeSecret(joined);
  if (byteCount <= 0) {
    WipeSecret(bytes);
    return std::nullopt;
  }

  std::string base64 =
      Base64Encode(std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(byteCount)));
  WipeSecret(bytes);

  std::u16string wide;
  const int units = MultiByteToWide(&wide, reinterpret_cast<const unsigned char*>(base64.data()),
                                    static_cast<int>(base64.size()), Platform::kCodePageAnsi);
  WipeSecret(base64);
  if (units <= 0) {
    WipeSecret(wide);
    return std::nullopt;
  }
  return wide;
}

std::int32_t AddBasicAuthorization(ITokenRequest& request, IHttpClient& client, BasicAuthorizationCache* cache) {
  std::optional<BasicAuthorizationCache> forThisRequest;  // made only without a client's cache
  BasicAuthorizationCache& entry = cache != nullptr ? *cache : forThisRequest.emplace();
  // The identifier is compared (and copied when it is new) before the secret is asked for, as a request may hand
  // both out of one buffer; the secret is used before the request is called again, so its own buffer serves.
  const WideChar* clientIdText = nullptr;
  request.GetClientId(&clientIdText);
  if (IsNullOrEmpty(clientIdText)) return -1;
  const bool sameClientId = entry.HoldsClientId(ViewOf(clientIdText));
  std::u16string clientId = sameClientId ? std::u16string() : std::u16string(ViewOf(clientIdText));
  const WideChar* clientSecret = nullptr;
  request.GetClientSecret(&clientSecret);
  if (IsNullOrEmpty(clientSecret)) return -1;

  if (!sameClientId || !entry.HoldsSecret(ViewOf(clientSecret))) {
    if (sameClientId) clientId = entry.ClientId();
    if (!entry.Store(std::move(clientId), ViewOf(clientSecret))) return -1;
  }
  client.AddRequestHeader(AsWide(u"Content-Type"), AsWide(u"application/x-www-form-urlencoded"), 0);
  client.AddRequestHeader(AsWide(u"Authorization"), AsWide(entry.HeaderValue()), 0);
  return 1;
}

}  // namespace OAuthClient
