// CResourceRetriever: one protected-resource request through a fresh HTTP client object.
#include "oauth/resource/resource_retriever.h"

#include <string>
#include <string_view>

#include "oauth/http/transport_settings_copy.h"
#include "oauth/responses/resource_response.h"
#include "oauth/text/boundary_text.h"
#include "oauth/text/same_text.h"
#include "oauth/text/secret_wipe.h"

namespace OAuthClient {
namespace {

void ApplyRequestHeaders(IOAuthRequest& request, IHttpClient& client) {
  const WideChar* headersText = nullptr;
  request.GetHeadersText(&headersText);
  if (!IsNullOrEmpty(headersText)) client.SetRequestHeadersText(headersText);
}

}  // namespace

// RFC 6750 section 2.1. A request that carries its own Authorization header (any letter case of the name) has it
// sent in its header text and gets no Bearer header. The token goes out exactly as stored: it is already in the
// b64token form the server issued. Returns false when there is neither that header nor a token.
bool CResourceRetriever::AddBearerAuthorization(IOAuthRequest& request, IHttpClient& client) {
  const WideChar* ownAuthorization = nullptr;
  request.GetHeader(AsWide(u"Authorization"), &ownAuthorization);
  if (!IsNullOrEmpty(ownAuthorization)) return true;

  const WideChar* token = nullptr;
  request.GetAccessToken(&token);
  if (IsNullOrEmpty(token)) return false;
  client.AddRequestHeader(AsWide(u"Authorization"), AsWide(BearerValueFor(ViewOf(token))), 0);
  return true;
}

// A host sends one token again and again until it expires, so the value is built only when the token changes.
const char16_t* CResourceRetriever::BearerValueFor(std::u16string_view token) {
  constexpr std::u16string_view kScheme = u"Bearer ";
  const std::u16string_view held = bearerValue_;
  if (held.size() == kScheme.size() + token.size() && SameText(held.substr(kScheme.size()), token)) {
    return bearerValue_.c_str();
  }
  WipeSecret(bearerValue_);
  bearerValue_.reserve(kScheme.size() + token.size());  // one buffer: no reallocation leaves a copy behind
  bearerValue_.append(kScheme).append(token);
  return bearerValue_.c_str();
}

CResourceRetriever::CResourceRetriever() = default;

CResourceRetriever::~CResourceRetriever() { WipeSecret(bearerValue_); }

std::int32_t CResourceRetriever::Retrieve(IOAuthRequest* request, IResourceResponse** response) {
  if (!binding_.IsBound() || request == nullptr || response == nullptr) return -1;
  client_.reset(binding_.CreateClient());
  if (!client_) return -1;
  const std::int32_t result = SendRequest(*request);
  // The response copies what it keeps, so the object can go right after; the host owns the response from here.
  if (result == 1) *response = CResourceResponse::Create(*client_);
  client_.reset();
  return result;
}

std::int32_t CResourceRetriever::SendRequest(IOAuthRequest& request) {
  IHttpClient& client = *client_;
  // Unlike a token request, a resource request with an unknown secure protocol is still sent, with the default.
  ApplyTransportSettings(request, client, kResourceTransport);
  ApplyRequestHeaders(request, client);
  if (!AddBearerAuthorization(request, client)) return -1;

  const WideChar* method = nullptr;
  request.GetMethod(&method);
  if (IsNullOrEmpty(method)) return -1;
  const WideChar* url = nullptr;
  request.GetUrl(&url);
  if (IsNullOrEmpty(url)) return -1;

  const unsigned char* body = nullptr;
  std::uint32_t length = 0;
  request.GetBody(&body, &length);
  if (body != nullptr && length != 0) return client.SendBytes(method, url, body, length);
  return client.Send(method, url);
}

}  // namespace OAuthClient
