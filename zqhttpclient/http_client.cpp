// CHttpClient: the component's IHttpClient, one object per request, sending through a pooled libcurl transfer.
#include "zqhttpclient/http_client.h"

#include <algorithm>
#include <new>
#include <utility>

#include "common/ascii.h"
#include "common/recycling_slot.h"
#include "common/reused_buffer.h"
#include "zqhttpclient/charset_decoder.h"
#include "zqhttpclient/exchange.h"
#include "zqhttpclient/interface_text.h"
#include "zqhttpclient/request_framing.h"
#include "zqhttpclient/response_capture.h"
#include "zqhttpclient/url_check.h"

namespace OAuthClient::Http {
namespace {

// Runs a slot's body so that no exception crosses the boundary.
template <typename Body>
std::int32_t Guarded(Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kHttpOutOfMemory;
  } catch (...) {
    return kHttpOtherFailure;
  }
}

template <typename Body>
void GuardedVoid(Body&& body) {
  try {
    body();
  } catch (...) {
    // Slots without a result have no way to report; the object stays as it was before the failed step.
  }
}

std::string WideToUtf8(const WideChar* text) { return Utf16ToUtf8(WideView(text)); }

// Hands a member text out through `out`; the caller's pointer is touched only on success.
std::int32_t HandOut(const std::u16string& text, const WideChar** out) {
  *out = AsWide(text);
  return kHttpOk;
}

// Turns a bypass list into libcurl's NOPROXY form: entries separated by commas, without blanks. Windows-style
// lists separate with semicolons; "<local>" (plain host names) has no libcurl equivalent and is dropped.
std::string NormalizeBypassList(std::string_view list) {
  std::string out;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find_first_of(",;", start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view entry = TrimHttpSpace(list.substr(start, end - start));
    if (!entry.empty() && entry != "<local>") {
      if (!out.empty()) out.push_back(',');
      out.append(entry);
    }
    start = end + 1;
  }
  return out;
}

// Below this many bytes a body is kept beside its text: dropping it would save little and cost a pass.
constexpr std::size_t kDropBodyFromBytes = 64 * 1024;

bool TextRepeatsBytes(std::u16string_view text, std::string_view bytes) {
  return text.size() == bytes.size() &&
         std::equal(bytes.begin(), bytes.end(), text.begin(),
                    [](char byte, char16_t unit) { return static_cast<unsigned char>(byte) == unit; });
}

RecyclingSlot<CHttpClient> releasedClient;

}  // namespace

void ReceivedAnswer::Clear() {
  if (!filled_) return;
  filled_ = false;
  status = 0;
  contentType = {};
  bodyTextReady = false;
  bodyInText_ = false;
  bodyHandedOut_ = false;
  for (std::string* bytes : {&headerBlock, &body_}) EmptyForReuse(*bytes, kKeptBufferBytes);
  for (std::u16string* text : {&headerBlockText, &reasonText, &contentTypeText, &bodyText, &headerValueText})
    EmptyForReuse(*text, kKeptBufferBytes);
}

void ReceivedAnswer::MakeBodyText() {
  if (bodyTextReady) return;
  DecodeBody(body_, CharsetOfContentType(contentType), &bodyText);
  bodyTextReady = true;
  if (!bodyHandedOut_ && body_.size() >= kDropBodyFromBytes && TextRepeatsBytes(bodyText, body_)) {
    std::string().swap(body_);
    bodyInText_ = true;
  }
}

const std::string& ReceivedAnswer::HandOutBody() {
  if (bodyInText_) {
    body_.resize(bodyText.size());
    std::transform(bodyText.begin(), bodyText.end(), body_.begin(),
                   [](char16_t unit) { return static_cast<char>(static_cast<unsigned char>(unit)); });
    bodyInText_ = false;
  }
  bodyHandedOut_ = true;
  return body_;
}

CHttpClient* CHttpClient::Create() {
  return releasedClient.TakeFilled([](CHttpClient&) {});
}

void CHttpClient::Recycle() {
  settings_ = ComponentSettings();
  headers_.Clear();
  proxyRefused_ = false;
  headerRefused_ = false;
  answer_.Clear();
  answered_ = false;
  lastResult_ = 0;
  durationUs_ = 0;
  redirects_ = 0;
  for (std::string* text : {&effectiveUrl_, &errorText_}) EmptyForReuse(*text, ReceivedAnswer::kKeptBufferBytes);
  for (std::u16string* text : {&effectiveUrlText_, &errorTextWide_})
    EmptyForReuse(*text, ReceivedAnswer::kKeptBufferBytes);
}

void CHttpClient::Release() {
  Recycle();
  if (!releasedClient.Park(this)) delete this;
}

std::uint32_t CHttpClient::GetInterfaceVersion() { return kHttpClientInterfaceVersion; }

void CHttpClient::Reset() {
  GuardedVoid([&] {
    settings_ = ComponentSettings();
    headers_.Clear();
    proxyRefused_ = false;
    headerRefused_ = false;
    ForgetLastExchange();
    lastResult_ = 0;
  });
}

std::int32_t CHttpClient::SetUserAgent(const WideChar* userAgent) {
  return Guarded([&] {
    std::string text = WideToUtf8(userAgent);
    if (!IsFieldValueText(text)) return RefuseHeader();
    settings_.userAgent = std::move(text);
    return static_cast<std::int32_t>(kHttpOk);
  });
}

void CHttpClient::SetOptionFlagA(Bool8 value) { settings_.ignoreCertificateErrors = value != 0; }
std::int32_t CHttpClient::GetOptionFlagA() { return settings_.ignoreCertificateErrors ? 1 : 0; }
void CHttpClient::SetOptionFlagB(Bool8 value) { settings_.followRedirects = value != 0; }
std::int32_t CHttpClient::GetOptionFlagB() { return settings_.followRedirects ? 1 : 0; }

void CHttpClient::SetStringNone() {
  GuardedVoid([&] {
    settings_.proxy = ComponentSettings::Proxy::kNone;
    proxyRefused_ = false;
    settings_.proxyUrl.clear();
    settings_.proxyUser.clear();
    settings_.proxyPassword.clear();
    settings_.proxyBypassList.clear();
  });
}

std::int32_t CHttpClient::SetProxy(ComponentSettings::Proxy kind, const WideChar* proxyUrl, const WideChar* second,
                                   const WideChar* third) {
  if (proxyUrl == nullptr) return kHttpBadArgument;
  std::string url = WideToUtf8(proxyUrl);
  if (!IsValidProxyUrl(url)) {
    proxyRefused_ = true;
    return kHttpBadProxy;
  }
  proxyRefused_ = false;
  settings_.proxy = kind;
  settings_.proxyUrl = std::move(url);
  settings_.proxyUser.clear();
  settings_.proxyPassword.clear();
  settings_.proxyBypassList.clear();
  if (kind == ComponentSettings::Proxy::kWithCredentials) {
    settings_.proxyUser = WideToUtf8(second);
    settings_.proxyPassword = WideToUtf8(third);
  } else {
    settings_.proxyBypassList = NormalizeBypassList(WideToUtf8(second));
  }
  return kHttpOk;
}

std::int32_t CHttpClient::SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) {
  return Guarded([&] { return SetProxy(ComponentSettings::Proxy::kWithCredentials, proxyUrl, user, password); });
}

std::int32_t CHttpClient::SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) {
  return Guarded([&] { return SetProxy(ComponentSettings::Proxy::kWithBypassList, proxyUrl, bypassList, nullptr); });
}

void CHttpClient::SetSecureProtocol(std::int32_t code) {
  settings_.secureProtocol = (code >= 3 && code <= 6) ? code : 0;
}
std::int32_t CHttpClient::GetSecureProtocol() { return settings_.secureProtocol; }

void CHttpClient::SetOptionValueC(std::uint32_t milliseconds) { settings_.exchangeTimeoutMs = milliseconds; }
std::uint32_t CHttpClient::GetOptionValueC() { return settings_.exchangeTimeoutMs; }
void CHttpClient::SetOptionValueA(std::uint32_t milliseconds) { settings_.connectTimeoutMs = milliseconds; }
void CHttpClient::SetOptionValueB(std::uint32_t milliseconds) { settings_.receiveTimeoutMs = milliseconds; }
std::uint32_t CHttpClient::GetOptionValueA() { return settings_.connectTimeoutMs; }
std::uint32_t CHttpClient::GetOptionValueB() { return settings_.receiveTimeoutMs; }
void CHttpClient::SetMaxResponseSize(std::uint32_t bytes) { settings_.maxResponseBytes = bytes; }
std::uint32_t CHttpClient::GetMaxResponseSize() { return settings_.EffectiveMaxResponseBytes(); }

std::int32_t CHttpClient::AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) {
  return Guarded([&]() -> std::int32_t {
    if (name == nullptr || value == nullptr || flags != 0) return kHttpBadArgument;
    return headers_.Set(WideView(name), WideView(value)) ? kHttpOk : RefuseHeader();
  });
}

std::int32_t CHttpClient::RemoveRequestHeader(const WideChar* name) {
  return Guarded([&]() -> std::int32_t {
    if (name == nullptr) return kHttpBadArgument;
    return headers_.Remove(WideToUtf8(name)) ? kHttpOk : kHttpBadHeader;
  });
}

std::int32_t CHttpClient::SetRequestHeadersText(const WideChar* text) {
  return Guarded([&]() -> std::int32_t {
    if (text == nullptr) return kHttpBadArgument;
    return headers_.SetFromText(WideToUtf8(text)) ? kHttpOk : RefuseHeader();
  });
}

void CHttpClient::ClearRequestHeaders() {
  headers_.Clear();
  headerRefused_ = false;
}

std::int32_t CHttpClient::RefuseHeader() {
  headerRefused_ = true;
  return kHttpBadHeader;
}

std::int32_t CHttpClient::SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                                    std::uint32_t length) {
  return Guarded([&]() -> std::int32_t {
    if (data == nullptr && length != 0) return Fail(kHttpBadArgument, "body bytes missing");
    if (length == 0) return Perform(method, url, std::nullopt);
    return Perform(method, url, std::string_view(reinterpret_cast<const char*>(data), length));
  });
}

std::int32_t CHttpClient::SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                                   std::int32_t length) {
  return Guarded([&]() -> std::int32_t {
    if (length < -1 || (text == nullptr && length > 0)) return Fail(kHttpBadArgument, "body text missing");
    const std::u16string_view units =
        length == -1 ? WideView(text)
                     : std::u16string_view(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
    if (units.empty()) return Perform(method, url, std::nullopt);
    const std::string body = Utf16ToUtf8(units);
    return Perform(method, url, std::string_view(body));
  });
}

std::int32_t CHttpClient::Send(const WideChar* method, const WideChar* url) {
  return Guarded([&] { return Perform(method, url, std::nullopt); });
}

std::int32_t CHttpClient::Fail(std::int32_t result, std::string text) {
  ForgetLastExchange();
  lastResult_ = result;
  errorText_ = std::move(text);
  return result;
}

void CHttpClient::ForgetLastExchange() {
  answer_.Clear();
  answered_ = false;
  durationUs_ = 0;
  redirects_ = 0;
  EmptyForReuse(effectiveUrl_, ReceivedAnswer::kKeptBufferBytes);  // its storage takes the next URL
  errorText_.clear();
}

std::int32_t CHttpClient::Perform(const WideChar* method, const WideChar* url, std::optional<std::string_view> body) {
  ForgetLastExchange();
  lastResult_ = 0;
  if (method == nullptr) return Fail(kHttpBadArgument, "no method");
  const std::string methodText = WideToUtf8(method);
  if (!IsHttpToken(methodText)) return Fail(kHttpBadArgument, "the method is not an HTTP token");
  if (url == nullptr) return Fail(kHttpBadUrl, "no URL");
  // Written into the storage of the last exchange's URL, which the exchange hands back as its effective URL.
  std::string urlText = std::move(effectiveUrl_);
  urlText.clear();
  AppendUtf16AsUtf8(WideView(url), &urlText);
  if (const std::int32_t check = CheckRequestUrl(urlText); check != kHttpOk)
    return Fail(check, check == kHttpUnsupportedScheme ? "only http and https URLs are allowed" : "malformed URL");
  // A setting the host meant to be in force was refused: sending without it would fail open.
  if (proxyRefused_) return Fail(kHttpBadProxy, "a proxy setting was refused");
  if (headerRefused_) return Fail(kHttpBadHeader, "a request header was refused");
  switch (CheckRequestFraming(headers_, settings_.userAgent, BodyToSend(methodText, body))) {
    case kHttpOk:
      break;
    case kHttpHeaderTooLarge:
      return Fail(kHttpHeaderTooLarge, "the request headers exceed the size limit");
    default:
      return Fail(kHttpBadHeader, "a Content-Length or Transfer-Encoding header would change the framing");
  }

  ResponseCapture capture(settings_.EffectiveMaxResponseBytes(), answer_.TakeBuffers());
  ExchangeResult result = PerformExchange({methodText, std::move(urlText), body, &headers_, &settings_}, &capture);
  answer_.Receive(capture.TakeBuffers());

  lastResult_ = result.result;
  durationUs_ = result.durationUs;
  redirects_ = result.redirects;
  effectiveUrl_ = std::move(result.effectiveUrl);
  errorText_ = std::move(result.errorText);
  if (result.result == kHttpOk) {
    answered_ = true;
    answer_.status = result.status;
    if (const auto type = capture.ContentTypeIn(answer_.headerBlock)) answer_.contentType = *type;
  } else {
    answer_.Clear();  // what a failed exchange received is never handed out
  }
  return lastResult_;
}

std::int32_t CHttpClient::GetEffectiveUrl(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (effectiveUrl_.empty()) return -1;
    effectiveUrlText_ = Utf8ToUtf16(effectiveUrl_);
    return HandOut(effectiveUrlText_, out);
  });
}

std::int32_t CHttpClient::GetRedirectCount() { return redirects_; }

std::uint32_t CHttpClient::GetElapsedMilliseconds() { return static_cast<std::uint32_t>(durationUs_ / 1000); }

std::int32_t CHttpClient::GetResponseHeader(const WideChar* name, const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (name == nullptr || out == nullptr) return kHttpBadArgument;
    if (!answered_) return -1;
    const std::optional<std::string_view> value = FindHeaderField(answer_.headerBlock, WideToUtf8(name));
    if (!value) return -1;
    AssignHeaderBytesAsUtf16(*value, &answer_.headerValueText);
    return HandOut(answer_.headerValueText, out);
  });
}

std::uint32_t CHttpClient::GetResponseBodyLength() {
  return answered_ ? static_cast<std::uint32_t>(answer_.BodyLength()) : 0;
}

std::int32_t CHttpClient::GetResponseHeadersText(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (!answered_ || answer_.headerBlock.empty()) return -1;
    if (answer_.headerBlockText.empty()) AssignHeaderBytesAsUtf16(answer_.headerBlock, &answer_.headerBlockText);
    return HandOut(answer_.headerBlockText, out);
  });
}

std::int32_t CHttpClient::GetResponseBody(const unsigned char** data, std::uint32_t* length) {
  return Guarded([&]() -> std::int32_t {
    if (data == nullptr || length == nullptr) return kHttpBadArgument;
    if (!answered_) return -1;
    const std::string& body = answer_.HandOutBody();
    *data = body.empty() ? nullptr : reinterpret_cast<const unsigned char*>(body.data());
    *length = static_cast<std::uint32_t>(body.size());
    return kHttpOk;
  });
}

std::int32_t CHttpClient::GetResponseContentType(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (!answered_ || answer_.contentType.empty()) return -1;
    AssignHeaderBytesAsUtf16(answer_.contentType, &answer_.contentTypeText);
    return HandOut(answer_.contentTypeText, out);
  });
}

std::int32_t CHttpClient::GetResponseText(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (!answered_) return -1;
    answer_.MakeBodyText();
    return HandOut(answer_.bodyText, out);
  });
}

std::int32_t CHttpClient::GetLastResult() { return lastResult_; }

std::int32_t CHttpClient::GetLastErrorText(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (lastResult_ == 0 || lastResult_ == kHttpOk) return -1;
    errorTextWide_ = Utf8ToUtf16(errorText_.empty() ? std::string("transport failure") : errorText_);
    return HandOut(errorTextWide_, out);
  });
}

std::uint32_t CHttpClient::GetStatusCode() { return answered_ ? answer_.status : 0; }

std::int32_t CHttpClient::GetStatusText(const WideChar** out) {
  return Guarded([&]() -> std::int32_t {
    if (out == nullptr) return kHttpBadArgument;
    if (!answered_) return -1;
    const std::optional<std::string_view> reason = ReasonPhraseIn(answer_.headerBlock);
    if (!reason) return -1;
    AssignHeaderBytesAsUtf16(*reason, &answer_.reasonText);
    return HandOut(answer_.reasonText, out);
  });
}

std::int32_t CHttpClient::GetResponseValue(std::uintptr_t* out) {
  if (out == nullptr) return kHttpBadArgument;
  *out = static_cast<std::uintptr_t>(durationUs_);
  return kHttpOk;
}

}  // namespace OAuthClient::Http
