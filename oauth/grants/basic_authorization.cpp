// Basic client authentication for the token endpoint (RFC 6749 section 2.3.1, RFC 7617).
#include "oauth/grants/basic_authorization.h"

#include <string>

#include "oauth/grants/token_request_text.h"
#include "common/base64.h"
#include "oauth/platform/code_page.h"
#include "oauth/text/text_encodings.h"
#include "oauth/text/boundary_text.h"

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
  if (byteCount <= 0) return std::nullopt;

  const std::string base64 =
      Base64Encode(std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(byteCount)));

  std::u16string wide;
  const int units = MultiByteToWide(&wide, reinterpret_cast<const unsigned char*>(base64.data()),
                                    static_cast<int>(base64.size()), Platform::kCodePageAnsi);
  if (units <= 0) return std::nullopt;
  return wide;
}

std::int32_t AddBasicAuthorization(ITokenRequest& request, IHttpClient& client) {
  const std::u16string clientId = ReadText(request, &ITokenRequest::GetClientId);
  if (clientId.empty()) return -1;
  // The secret is used before the request is called again, so its own buffer serves; the identifier is copied,
  // as a request may hand both out of one buffer.
  const WideChar* clientSecret = nullptr;
  request.GetClientSecret(&clientSecret);
  if (IsNullOrEmpty(clientSecret)) return -1;

  const std::optional<std::u16string> credentials = EncodeBasicCredentials(clientId, ViewOf(clientSecret));
  if (!credentials) return -1;

  const std::u16string authorization = u"Basic " + *credentials;
  client.AddRequestHeader(AsWide(u"Content-Type"), AsWide(u"application/x-www-form-urlencoded"), 0);
  client.AddRequestHeader(AsWide(u"Authorization"), AsWide(authorization.c_str()), 0);
  return 1;
}

}  // namespace OAuthClient
