// CGrantDelegate: the common base of the grant flows: the hold on the HTTP client component and the token request
// procedure that every flow follows.
#include "oauth/grants/grant_delegate.h"

#include <optional>

#include "oauth/grants/basic_authorization.h"
#include "oauth/grants/token_request_text.h"
#include "oauth/responses/token_response.h"
#include "oauth/text/boundary_text.h"

namespace OAuthClient {

namespace {

constexpr std::int32_t kNotSent = -1;

// Uses the request's own "Authorization" header when it has one (it travels in the request's header text);
// otherwise adds the Basic client authorization. 1 or -1.
std::int32_t AuthorizeClient(ITokenRequest& request, IHttpClient& client, BasicAuthorizationCache* cache) {
  const WideChar* ownAuthorization = nullptr;
  request.GetHeader(AsWide(u"Authorization"), &ownAuthorization);
  if (!IsNullOrEmpty(ownAuthorization)) return 1;
  return AddBasicAuthorization(request, client, cache);
}

// With "GET" the form goes into the URL's query: the URL is not examined, so one that already has a query gets a
// second "?" (hosts rely on that exact URL). Otherwise the form is the body, sent as UTF-8.
std::int32_t SendForm(IHttpClient& client, const GrantFlow& flow, const WideChar* method, const WideChar* url,
                      const std::u16string& body, bool isGet) {
  if (flow.emptyForm == EmptyForm::kSentWithoutBody && body.empty()) return client.Send(method, url);
  if (isGet) {
    std::u16string urlWithQuery(ViewOf(url));
    urlWithQuery.append(u"?").append(body);
    return client.Send(method, AsWide(urlWithQuery.c_str()));
  }
  return client.SendText(method, url, AsWide(body.c_str()), -1);
}

}  // namespace

CGrantDelegate::CGrantDelegate() = default;

CGrantDelegate::~CGrantDelegate() {
  // The HTTP client object goes first, while its library is still loaded; binding_ unloads the library after.
  client_.reset();
}

IHttpClient* CGrantDelegate::ForwardingTarget() const { return binding_.IsBound() ? client_.get() : nullptr; }

void CGrantDelegate::SetOptionFlagA(Bool8 value) {
  if (IHttpClient* client = ForwardingTarget()) client->SetOptionFlagA(value);
}

std::int32_t CGrantDelegate::GetOptionFlagA() {
  IHttpClient* client = ForwardingTarget();
  return client != nullptr ? client->GetOptionFlagA() : 0;
}

void CGrantDelegate::SetOptionFlagB(Bool8 value) {
  if (IHttpClient* client = ForwardingTarget()) client->SetOptionFlagB(value);
}

std::int32_t CGrantDelegate::GetOptionFlagB() {
  IHttpClient* client = ForwardingTarget();
  return client != nullptr ? client->GetOptionFlagB() : 0;
}

std::int32_t CGrantDelegate::SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) {
  IHttpClient* client = ForwardingTarget();
  return client != nullptr ? client->SetStringTriple(a, b, c) : -3;
}

std::int32_t CGrantDelegate::SetStringPair(const WideChar* a, const WideChar* b) {
  IHttpClient* client = ForwardingTarget();
  return client != nullptr ? client->SetStringPair(a, b) : -4;
}

void CGrantDelegate::SetOptionValueA(std::uint32_t value) {
  if (IHttpClient* client = ForwardingTarget()) client->SetOptionValueA(value);
}

void CGrantDelegate::SetOptionValueB(std::uint32_t value) {
  if (IHttpClient* client = ForwardingTarget()) client->SetOptionValueB(value);
}

std::int32_t CGrantDelegate::RunTokenRequest(ITokenRequest* request, ITokenResponse** response, const GrantFlow& flow) {
  request_ = request;
  if (request == nullptr || response == nullptr) return kNotSent;
  if (!binding_.IsBound()) return kNotSent;
  client_.reset(binding_.CreateClient());
  if (!client_) return kNotSent;
  return ConfigureAndSend(*request, response, flow);
}

// The HTTP client object stays held when this ends early with -1; see the class comment.
std::int32_t CGrantDelegate::ConfigureAndSend(ITokenRequest& request, ITokenResponse** response,
                                              const GrantFlow& flow) {
  IHttpClient& client = *client_;
  if (flow.clientAuth == ClientAuth::kBasic && AuthorizeClient(request, client, basicCache_) != 1) return kNotSent;

  const TransportCopy transport =
      ApplyTransportSettings(request, client, TransportPolicy{flow.proxyStep, UnknownSecureProtocol::kRefuse});
  switch (transport.outcome) {
    case TransportCopy::Outcome::kApplied:
      break;
    case TransportCopy::Outcome::kProxySettingRefused:
      client_.reset();
      return transport.componentCode;
    case TransportCopy::Outcome::kSecureProtocolRefused:
      return kNotSent;
  }

  // Method and URL are used in place, not copied: the text of a request's property stays valid until that property
  // is set again, and the calls made before the send replace only the request's caches (header and form text).
  const WideChar* method = nullptr;
  request.GetMethod(&method);
  if (IsNullOrEmpty(method)) return kNotSent;
  const WideChar* url = nullptr;
  request.GetUrl(&url);
  if (IsNullOrEmpty(url)) return kNotSent;

  // The header text is a cache of the request; the component takes its own copy right away.
  const WideChar* headers = nullptr;
  request.GetHeadersText(&headers);
  if (!IsNullOrEmpty(headers)) client.SetRequestHeadersText(headers);

  // Only the exact, upper-case "GET" puts the form into the query: methods are case-sensitive (RFC 9110 9.1).
  const bool isGet = ViewOf(method) == u"GET";
  const std::optional<std::u16string> body = flow.buildForm(request, isGet);
  if (!body) return kNotSent;

  const std::int32_t result = SendForm(client, flow, method, url, *body, isGet);
  if (result == 1) *response = CTokenResponse::Create(client);
  client_.reset();
  return result;
}

}  // namespace OAuthClient
