// PerformExchange on WinHTTP: one request and its answer through a shared session, redirects followed here.
#include "zqhttpclient/exchange.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <new>
#include <vector>

#include "common/ascii.h"
#include "oauthclient/http_client_codes.h"
#include "zqhttpclient/redirect_policy.h"
#include "zqhttpclient/transfer_progress.h"
#include "zqhttpclient/url_check.h"
#include "zqhttpclient/winhttp/cracked_url.h"
#include "zqhttpclient/winhttp/session_registry.h"
#include "zqhttpclient/winhttp/wide_text.h"
#include "zqhttpclient/winhttp/winhttp_handle.h"
#include "zqhttpclient/winhttp/winhttp_result.h"

namespace OAuthClient::Http {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kReadChunkBytes = 64 * 1024;
// The longest header line taken, libcurl's own limit, so that both builds refuse the same answers.
constexpr std::size_t kMaxResponseHeaderLineBytes = 100 * 1024;

struct Failure {
  std::int32_t result;
  std::string text;
};

// The whole-exchange budget. WinHTTP cannot be interrupted from another thread, so each blocking phase is
// given its own limit or what is left of the budget, whichever is shorter.
class Budget {
 public:
  Budget(Clock::time_point start, std::uint32_t totalMs) : end_(start + std::chrono::milliseconds(totalMs)) {}

  // Milliseconds a phase whose own limit is `limitMs` may take now; 0 once the budget is spent (WinHTTP reads
  // 0 as "no limit", so callers fail instead of passing it on).
  DWORD Allow(std::uint32_t limitMs) const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - Clock::now()).count();
    if (left <= 0) return 0;
    return static_cast<DWORD>(std::min<long long>(left, limitMs));
  }
  bool Spent() const { return Clock::now() >= end_; }

 private:
  Clock::time_point end_;
};

Failure BudgetSpent() { return {kHttpTimedOut, "the whole-exchange timeout elapsed"}; }
Failure HeaderTooLarge() { return {kHttpHeaderTooLarge, "the answer's headers exceeded the size limit"}; }

bool SetDword(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof(value)) != FALSE;
}

// Whether the request may use and leave keep-alive connections. WinHTTP may keep one pool for all sessions of
// the process (Wine does), so a connection opened without certificate checks, or with a pinned TLS version,
// could otherwise serve a request that checks certificates or pins another version. Such requests use a
// connection of their own.
bool SharesConnections(const ComponentSettings& settings) {
  return !settings.ignoreCertificateErrors && settings.secureProtocol == 0;
}

// The first value of a decimal Content-Length, if there is one that fits.
std::optional<std::uint64_t> ContentLength(const ResponseCapture& capture) {
  const std::optional<std::string> value = capture.FieldValue("Content-Length");
  if (!value) return std::nullopt;
  std::uint64_t length = 0;
  const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), length);
  if (error != std::errc() || end != value->data() + value->size()) return std::nullopt;
  return length;
}

// One request of the exchange, as WinHTTP sends it: the first, or one a redirect leads to.
struct Hop {
  const RedirectHop& request;
  const CrackedUrl& target;
  std::optional<std::string_view> body;
};

class WinHttpExchange {
 public:
  WinHttpExchange(const ExchangeRequest& request, ResponseCapture* capture, Clock::time_point start)
      : request_(request),
        settings_(*request.settings),
        capture_(capture),
        budget_(start, settings_.EffectiveExchangeTimeoutMs()),
        viaProxy_(settings_.proxy != ComponentSettings::Proxy::kNone) {}

  // Runs the exchange; fills `result` but its duration.
  void Run(ExchangeResult* result);

 private:
  std::optional<Failure> OpenSession();
  std::optional<Failure> SendHop(const Hop& hop, WinHttpHandle* request, DWORD* status);
  std::optional<Failure> Configure(HINTERNET request);
  std::optional<Failure> OfferProxyCredentials(HINTERNET request);
  std::optional<Failure> CaptureHeaders(HINTERNET request);
  std::optional<Failure> ReadBody(HINTERNET request, const Hop& hop, DWORD status);
  std::wstring HeaderLines(const Hop& hop) const;
  Failure Failed(DWORD error) const;

  const ExchangeRequest& request_;
  const ComponentSettings& settings_;
  ResponseCapture* capture_;
  Budget budget_;
  bool viaProxy_;
  SharedSession session_;
};

Failure WinHttpExchange::Failed(DWORD error) const {
  const std::int32_t result = TranslateWinHttpError(error, viaProxy_);
  if (result == kHttpTimedOut && budget_.Spent()) return BudgetSpent();
  return {result, DescribeWinHttpError(error, viaProxy_)};
}

std::optional<Failure> WinHttpExchange::OpenSession() {
  auto profile = ProfileOf(settings_);
  if (auto* refusal = std::get_if<ProxyRefusal>(&profile)) return Failure{kHttpBadProxy, refusal->text};
  DWORD error = 0;
  session_ = SessionRegistry::Instance().For(std::get<SessionProfile>(profile), &error);
  if (!session_) return Failed(error);
  // A bypass list of "*" leaves no proxy in the profile: nothing is proxied.
  viaProxy_ = !std::get<SessionProfile>(profile).proxy.empty();
  return std::nullopt;
}

// The caller's header lines (without the credentials when the hop may not carry them), then the component's
// User-Agent, Accept and Content-Length where the caller set none. The lines are UTF-8 (the interface's text
// encoded); WinHTTP takes them as wide text and encodes them again for the wire.
std::wstring WinHttpExchange::HeaderLines(const Hop& hop) const {
  const OutgoingHeaders& headers = *request_.headers;
  std::string lines;
  for (const auto& [name, value] : headers.Fields()) {
    if (!hop.request.sendsCredentials && IsCredentialHeader(name)) continue;
    lines.append(name).append(value.empty() ? ":" : ": ").append(value).append("\r\n");
  }
  if (!headers.Find("User-Agent")) lines.append("User-Agent: ").append(settings_.EffectiveUserAgent()).append("\r\n");
  if (!headers.Find("Accept")) lines.append("Accept: */*\r\n");
  if (hop.body && !headers.Find("Content-Length"))
    lines.append("Content-Length: ").append(std::to_string(hop.body->size())).append("\r\n");
  return Utf8ToWide(lines);
}

std::optional<Failure> WinHttpExchange::Configure(HINTERNET request) {
  // No cookie store shared between requests, and no redirect WinHTTP would follow on its own.
  DWORD disabled = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS;
  if (!SharesConnections(settings_)) disabled |= WINHTTP_DISABLE_KEEP_ALIVE;
  if (!SetDword(request, WINHTTP_OPTION_DISABLE_FEATURE, disabled)) return Failed(GetLastError());
  // WinHTTP stops reading an answer's headers at the size the capture takes (Windows' own default is lower).
  SetDword(request, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, static_cast<DWORD>(kMaxResponseHeaderBytes));
  if (settings_.ignoreCertificateErrors &&
      !SetDword(request, WINHTTP_OPTION_SECURITY_FLAGS,
                SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                    SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE))
    return Failed(GetLastError());
  return std::nullopt;
}

// Answers a proxy's 407 with the user and password set, in the strongest scheme the proxy offers.
std::optional<Failure> WinHttpExchange::OfferProxyCredentials(HINTERNET request) {
  DWORD supported = 0, first = 0, target = 0;
  if (!WinHttpQueryAuthSchemes(request, &supported, &first, &target)) return Failed(GetLastError());
  for (DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM, WINHTTP_AUTH_SCHEME_DIGEST,
                       WINHTTP_AUTH_SCHEME_BASIC}) {
    if ((supported & scheme) == 0) continue;
    const std::wstring user = Utf8ToWide(settings_.proxyUser), password = Utf8ToWide(settings_.proxyPassword);
    if (!WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, scheme, user.c_str(), password.c_str(), nullptr))
      return Failed(GetLastError());
    return std::nullopt;
  }
  return Failure{kHttpProxyFailed, "the proxy asks for an authentication scheme WinHTTP does not offer"};
}

// Feeds the status line and header lines, as WinHTTP keeps them, to the capture.
std::optional<Failure> WinHttpExchange::CaptureHeaders(HINTERNET request) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return Failed(GetLastError());
  std::wstring raw(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &bytes,
                           WINHTTP_NO_HEADER_INDEX))
    return Failed(GetLastError());
  raw.resize(bytes / sizeof(wchar_t));
  const std::string block = WideToBytes(raw);
  std::string_view rest = block;
  // Every line up to and including the empty one that ends the block.
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 2);
    if (line.size() > kMaxResponseHeaderLineBytes || !capture_->AddHeaderLine(line)) return HeaderTooLarge();
    if (line == "\r\n" || end == std::string_view::npos) break;
    rest.remove_prefix(line.size());
  }
  if (capture_->WithinHeaderBlock() && !capture_->AddHeaderLine("\r\n")) return HeaderTooLarge();
  return std::nullopt;
}

std::optional<Failure> WinHttpExchange::SendHop(const Hop& hop, WinHttpHandle* requestHandle, DWORD* status) {
  WinHttpHandle connection(WinHttpConnect(session_.get(), hop.target.host.c_str(), hop.target.port, 0));
  if (!connection) return Failed(GetLastError());
  const std::wstring method = HeaderBytesToWide(hop.request.method);
  // The path and query go out as the caller wrote them: percent-encoding is the caller's.
  const DWORD flags =
      (hop.target.secure ? WINHTTP_FLAG_SECURE : 0) | WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  WinHttpHandle request(WinHttpOpenRequest(connection.get(), method.c_str(), hop.target.target.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request) return Failed(GetLastError());
  if (auto failure = Configure(request.get())) return failure;

  const std::wstring headers = HeaderLines(hop);
  void* body = hop.body && !hop.body->empty() ? const_cast<char*>(hop.body->data()) : WINHTTP_NO_REQUEST_DATA;
  const DWORD bodyBytes = hop.body ? static_cast<DWORD>(hop.body->size()) : 0;
  bool credentialsOffered = false;
  for (;;) {
    // Name resolution, connect and TLS handshake have the connect timeout; sending and each wait for the answer
    // the receive timeout; every phase at most what is left of the whole-exchange timeout.
    const DWORD connectMs = budget_.Allow(settings_.EffectiveConnectTimeoutMs());
    const DWORD receiveMs = budget_.Allow(settings_.EffectiveReceiveTimeoutMs());
    if (connectMs == 0 || receiveMs == 0) return BudgetSpent();
    if (!WinHttpSetTimeouts(request.get(), static_cast<int>(connectMs), static_cast<int>(connectMs),
                            static_cast<int>(receiveMs), static_cast<int>(receiveMs)) ||
        !SetDword(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, receiveMs))
      return Failed(GetLastError());
    if (!WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), body, bodyBytes,
                            bodyBytes, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
      return Failed(GetLastError());
    DWORD bytes = sizeof(*status);
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, status, &bytes, WINHTTP_NO_HEADER_INDEX))
      return Failed(GetLastError());
    const bool proxyWantsCredentials = *status == 407 && viaProxy_ && !settings_.proxyUser.empty();
    if (!proxyWantsCredentials || credentialsOffered) break;
    if (auto failure = OfferProxyCredentials(request.get())) return failure;
    credentialsOffered = true;
  }
  *requestHandle = std::move(request);
  return CaptureHeaders(requestHandle->get());
}

std::optional<Failure> WinHttpExchange::ReadBody(HINTERNET request, const Hop& hop, DWORD status) {
  const bool bodyless = hop.request.method == "HEAD" || status == 204 || status == 304;
  // The announced length, or none (read as the largest value: no shortfall can be told then).
  const std::uint64_t announced = bodyless ? 0 : ContentLength(*capture_).value_or(UINT64_MAX);
  if (announced != UINT64_MAX && announced > settings_.EffectiveMaxResponseBytes())
    return Failure{kHttpResponseTooLarge, "the response body exceeded the size limit"};
  std::vector<char> buffer(kReadChunkBytes);
  std::uint64_t received = 0;
  for (;;) {
    const DWORD receiveMs = budget_.Allow(settings_.EffectiveReceiveTimeoutMs());
    if (receiveMs == 0) return BudgetSpent();
    if (!SetDword(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, receiveMs)) return Failed(GetLastError());
    // Waits for what has arrived, then takes only that, so that a slow body cannot outlast the budget by
    // filling a large read a few bytes at a time.
    DWORD available = 0, read = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return Failed(GetLastError());
    if (available == 0) break;
    if (!WinHttpReadData(request, buffer.data(), std::min<DWORD>(available, kReadChunkBytes), &read))
      return Failed(GetLastError());
    if (read == 0) break;
    received += read;
    if (!capture_->AddBody(std::string_view(buffer.data(), read)))
      return Failure{kHttpResponseTooLarge, "the response body exceeded the size limit"};
    ReportBodyProgress(received);
  }
  if (announced != UINT64_MAX && received < announced)
    return Failure{kHttpSendFailed, "the connection closed before the whole body arrived"};
  return std::nullopt;
}

void WinHttpExchange::Run(ExchangeResult* result) {
  const auto fail = [&](Failure failure) {
    result->result = failure.result;
    result->errorText = std::move(failure.text);
  };
  result->effectiveUrl = request_.url;
  if (auto failure = OpenSession()) return fail(std::move(*failure));
  const std::optional<std::string_view> body = BodyToSend(request_.method, request_.body);
  RedirectHop hop{request_.url, std::string(request_.method), body.has_value(), true};
  for (;;) {
    const std::optional<CrackedUrl> target = CrackHttpUrl(Utf8ToWide(hop.url));
    if (!target) return fail({kHttpBadUrl, "malformed URL"});
    WinHttpHandle request;
    DWORD status = 0;
    const std::optional<std::string_view> hopBody = hop.sendsBody ? body : BodyToSend(hop.method, std::nullopt);
    if (auto failure = SendHop(Hop{hop, *target, hopBody}, &request, &status)) return fail(std::move(*failure));
    result->status = status;
    RedirectDecision decision;
    if (settings_.followRedirects) {
      // The Location resolved against the URL it answers, as an absolute URL in UTF-8 ("" when there is none).
      std::string location;
      if (const std::optional<std::string> value = capture_->FieldValue("Location")) {
        const std::optional<std::wstring> resolved = ResolveLocation(Utf8ToWide(hop.url), HeaderBytesToWide(*value));
        if (!resolved) return fail({kHttpBadUrl, "the redirect's Location is not a URL"});
        location = WideToUtf8(*resolved);
      }
      decision = DecideRedirect(hop, body ? body->size() : 0, status, location);
    }
    if (decision.action == RedirectAction::kAnswer) {
      if (auto failure = ReadBody(request.get(), Hop{hop, *target, hopBody}, status)) return fail(std::move(*failure));
      result->result = kHttpOk;
      return;
    }
    if (decision.action == RedirectAction::kUnsupportedScheme)
      return fail({kHttpUnsupportedScheme, "a redirect named another scheme than http or https"});
    if (CheckRequestUrl(decision.next.url) != kHttpOk)
      return fail({kHttpBadUrl, "the redirect's Location is not a URL"});
    if (result->redirects == ComponentSettings::kMaxRedirects)
      return fail({kHttpTooManyRedirects, "too many redirects"});
    ++result->redirects;
    hop = std::move(decision.next);
    result->effectiveUrl = hop.url;
  }
}

}  // namespace

void PrepareTransport() { SessionRegistry::Instance(); }

ExchangeResult PerformExchange(ExchangeRequest request, ResponseCapture* capture) {
  const Clock::time_point start = Clock::now();
  ExchangeResult result;
  try {
    WinHttpExchange(request, capture, start).Run(&result);
  } catch (const std::bad_alloc&) {
    result.result = kHttpOutOfMemory;
    result.errorText = "out of memory";
  }
  result.durationUs =
      static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
  return result;
}

}  // namespace OAuthClient::Http
