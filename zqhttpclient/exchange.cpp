// PerformExchange: one HTTP request and its answer, driven on a pooled libcurl transfer.
#include "zqhttpclient/exchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

#include "common/ascii.h"
#include "oauthclient/http_client_codes.h"
#include "zqhttpclient/curl_handles.h"
#include "zqhttpclient/curl_result.h"
#include "zqhttpclient/curl_runtime.h"
#include "zqhttpclient/redirect_policy.h"
#include "zqhttpclient/request_framing.h"
#include "zqhttpclient/transfer_profile.h"
#include "zqhttpclient/transfer_progress.h"

namespace OAuthClient::Http {
namespace {

using Clock = std::chrono::steady_clock;

// The URL was checked to be http or https (scheme letters in any case).
bool IsHttpsUrl(std::string_view url) { return url.size() > 5 && (url[4] == 's' || url[4] == 'S'); }

// The longest single wait for socket activity; the receive timeout is checked at least this often.
constexpr int kMaxPollMs = 1000;

using CallbackState = Transfer::CallbackState;

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<CallbackState*>(user);
  try {
    if (!state->capture->AddHeaderLine(std::string_view(data, size * count))) return 0;
    state->bytesReceived += static_cast<curl_off_t>(size * count);
    return size * count;
  } catch (const std::bad_alloc&) {
    state->outOfMemory = true;
    return 0;
  }
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<CallbackState*>(user);
  try {
    if (!state->capture->AddBody(std::string_view(data, size * count))) return 0;
    state->bytesReceived += static_cast<curl_off_t>(size * count);
    ReportBodyProgress(state->capture->Body().size());
    return size * count;
  } catch (const std::bad_alloc&) {
    state->outOfMemory = true;
    return 0;
  }
}

// Called once the connection (new or reused, TLS included) stands, just before the request goes out: from here
// on the receive timeout runs.
int OnRequestReady(void* user, char* /*primaryIp*/, char* /*localIp*/, int /*primaryPort*/, int /*localPort*/) {
  static_cast<CallbackState*>(user)->requestSent = true;
  return CURL_PREREQFUNC_OK;
}

// Appends one header line in libcurl's syntax: "Name;" sends an empty value ("Name:" would remove the header).
bool AppendHeader(SList* list, const char* line) {
  curl_slist* grown = curl_slist_append(list->get(), line);
  if (grown == nullptr) return false;
  static_cast<void>(list->release());  // the grown list starts with the old one and owns it now
  list->reset(grown);
  return true;
}

// Puts a request's header lines together piece by piece, comparing them with the lines the transfer's list was
// built from for as long as they match, so that a request sending the same lines as the one before copies nothing.
// At the first difference the matching part is copied and the rest written after it.
class HeaderLinesWriter {
 public:
  HeaderLinesWriter(const std::string& previous, std::string* lines) : previous_(previous), lines_(lines) {}

  HeaderLinesWriter& operator<<(std::string_view piece) {
    if (matching_) {
      if (previous_.size() - matched_ >= piece.size() &&
          std::memcmp(previous_.data() + matched_, piece.data(), piece.size()) == 0) {
        matched_ += piece.size();
        return *this;
      }
      matching_ = false;
      lines_->assign(previous_, 0, matched_);
    }
    lines_->append(piece);
    return *this;
  }

  // Returns true when the lines written are exactly the previous ones; otherwise `lines` holds them.
  bool SameAsPrevious() {
    if (!matching_) return false;
    if (matched_ == previous_.size()) return true;
    lines_->assign(previous_, 0, matched_);
    return false;
  }

 private:
  const std::string& previous_;
  std::string* lines_;
  bool matching_ = true;
  std::size_t matched_ = 0;
};

// Writes the hop's header lines in libcurl's syntax, one per "\n" ("Name;" sends an empty value, "Name:" would
// remove the header; no accepted field holds a line break, so "\n" cannot occur inside one), without the
// credentials when the hop may not carry them. The transfer's header list is rebuilt only when these lines differ
// from those it was built from: successive requests of one kind send the same lines, and a rebuild costs two
// allocations per line. The easy handle is pointed at a rebuilt list here; an unchanged one it already points at.
// "Expect:" keeps libcurl from asking for "100-continue", which it does only for bodies above a size (1 MiB in
// current releases, 1 KiB in old ones): up to 1 KiB the line is left out, as it would change nothing on the wire
// and libcurl scans every entry of the list for several names on every request.
bool PrepareHeaderList(const OutgoingHeaders& headers, const RedirectHop& hop, std::optional<std::string_view> body,
                       Transfer& transfer) {
  constexpr std::size_t kNeverExpectUpToBytes = 1024;
  std::string& lines = transfer.nextHeaderLines;
  HeaderLinesWriter writer(transfer.headerLines, &lines);
  for (const auto& [name, value] : headers.Fields()) {
    if (!hop.sendsCredentials && IsCredentialHeader(name)) continue;
    writer << name << (value.empty() ? ";" : ": ") << value << "\n";
  }
  if (body && !headers.Find("Content-Type")) writer << "Content-Type:\n";
  if (body && body->size() > kNeverExpectUpToBytes && !headers.Find("Expect")) writer << "Expect:\n";
  const bool same = writer.SameAsPrevious();
  if (same && transfer.headers) {
    if (!transfer.headerListSet) curl_easy_setopt(transfer.easy.get(), CURLOPT_HTTPHEADER, transfer.headers.get());
    transfer.headerListSet = true;
    return true;
  }
  if (same) lines = transfer.headerLines;  // no list was built from these lines yet

  SList list;
  std::string line;  // libcurl copies each line, so one buffer serves them all
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = lines.find('\n', start);
    line.assign(lines, start, end - start);
    if (!AppendHeader(&list, line.c_str())) return false;
    start = end + 1;
  }
  curl_easy_setopt(transfer.easy.get(), CURLOPT_HTTPHEADER, list.get());
  transfer.headerListSet = true;
  transfer.headers = std::move(list);
  transfer.headerLines.swap(lines);
  return true;
}

// The method part of the profile; the body itself is set per request (ApplyBody).
void ApplyMethod(CURL* easy, const TransferProfile& profile) {
  const std::string& method = profile.method;
  if (method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (!profile.hasBody && method == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else if (method != "POST" || !profile.hasBody) {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
}

// POSTFIELDS is not copied: the caller's bytes outlive the transfer, which ends inside PerformExchange.
void ApplyBody(CURL* easy, std::string_view body) {
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
}

long SslVersionFor(std::int32_t secureProtocol) {
  switch (secureProtocol) {
    case 3:
      return CURL_SSLVERSION_TLSv1_0 | CURL_SSLVERSION_MAX_TLSv1_0;
    case 4:
      return CURL_SSLVERSION_TLSv1_1 | CURL_SSLVERSION_MAX_TLSv1_1;
    case 5:
      return CURL_SSLVERSION_TLSv1_2 | CURL_SSLVERSION_MAX_TLSv1_2;
    case 6:
      return CURL_SSLVERSION_TLSv1_3 | CURL_SSLVERSION_MAX_TLSv1_3;
    default:
      return CURL_SSLVERSION_TLSv1_2;
  }
}

void ApplyTls(CURL* easy, const TransferProfile& profile) {
  const ComponentSettings& settings = profile.settings;
  curl_easy_setopt(easy, CURLOPT_SSLVERSION, SslVersionFor(settings.secureProtocol));
  // HTTP/1.1 also over TLS, where libcurl would offer HTTP/2 by ALPN: HTTP/2 lower-cases every header name, and
  // hosts look response headers up by their exact spelling.
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  if (settings.ignoreCertificateErrors) {
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    return;
  }
  // Peer and host verification are libcurl's defaults on a reset handle, against the system's CA store unless
  // the process names another bundle the way OpenSSL-based tools read it.
  if (!profile.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, profile.caFile.c_str());
  if (!profile.caDir.empty()) curl_easy_setopt(easy, CURLOPT_CAPATH, profile.caDir.c_str());
}

// Only the host's proxy setting is in force, never the process environment's. Without a proxy, a NOPROXY list
// of "*" (every host goes direct) keeps libcurl from reading http_proxy / https_proxy / all_proxy and no_proxy;
// it costs nothing per request, where an empty proxy would be copied for every request. With a proxy, a NOPROXY
// list of its own (the host's bypass list, or none) keeps libcurl from reading no_proxy / NO_PROXY, which would
// let the environment route around the proxy the host named.
void ApplyProxy(CURL* easy, const ComponentSettings& settings) {
  using Proxy = ComponentSettings::Proxy;
  if (settings.proxy == Proxy::kNone) {
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    return;
  }
  const bool bypassList = settings.proxy == Proxy::kWithBypassList;
  curl_easy_setopt(easy, CURLOPT_NOPROXY, bypassList ? settings.proxyBypassList.c_str() : "");
  curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxyUrl.c_str());
  if (!bypassList && !settings.proxyUser.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
  }
}

// libcurl never follows a redirect itself: PerformExchange does, hop by hop, as DecideRedirect says. The
// whole-exchange timeout is set per hop (ConfigureRequest), with what is left of it.
void ApplyTimeoutsAndLimits(CURL* easy, const ComponentSettings& settings) {
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.EffectiveConnectTimeoutMs()));
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.EffectiveMaxResponseBytes()));
}

// Sets what the profile covers on a freshly reset easy handle, and points the handle at the transfer's callback
// state and error buffer, which live as long as the handle.
void ConfigureProfile(Transfer& transfer, const TransferProfile& profile) {
  CURL* easy = transfer.easy.get();
  const ComponentSettings& settings = profile.settings;
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  ApplyMethod(easy, profile);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.EffectiveUserAgent());
  ApplyTls(easy, profile);
  ApplyProxy(easy, settings);
  ApplyTimeoutsAndLimits(easy, settings);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &OnRequestReady);
  CallbackState* state = &transfer.callbacks;
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, state);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, state);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, state);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.errorBuffer);
}

// Sets what changes from one request to the next. The URL only when it is not the one the handle already holds:
// libcurl keeps a set URL and reads it afresh for every transfer, and setting it copies and frees a string.
// Returns false when libcurl could not take the URL.
bool ConfigureRequest(Transfer& transfer, const std::string& url, std::optional<std::string_view> body,
                      long timeoutMs) {
  CURL* easy = transfer.easy.get();
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, timeoutMs);
  if (url != transfer.url || url.empty()) {
    transfer.url.clear();  // held no more should the setting fail
    if (curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) != CURLE_OK) return false;
    transfer.url = url;
  }
  if (body) ApplyBody(easy, *body);
  return true;
}

// Bytes moved so far in either direction; a change means the peer is alive. What arrived is counted by the
// callbacks; what went out libcurl counts.
curl_off_t BytesMoved(CURL* easy, const CallbackState& state) {
  curl_off_t up = 0;
  curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &up);
  return up + state.bytesReceived;
}

// Drives the transfer to its end. The receive timeout is this loop's: it counts from the moment the request
// could be sent (connection and TLS handshake done; those have the connect timeout) and restarts whenever bytes
// move. Returns libcurl's result, with receiveTimedOut set when the loop gave up.
void RunTransfer(CURL* easy, CURLM* multi, const CallbackState& state, const ComponentSettings& settings,
                 TransferOutcome* outcome) {
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
    outcome->code = CURLE_FAILED_INIT;
    return;
  }
  const auto receiveTimeout = std::chrono::milliseconds(settings.EffectiveReceiveTimeoutMs());
  bool requestSent = false;
  curl_off_t moved = 0;
  Clock::time_point lastActivity = Clock::now();
  int running = 1;
  for (;;) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      outcome->code = CURLE_OUT_OF_MEMORY;
      break;
    }
    if (running == 0) {
      int queued = 0;
      while (CURLMsg* message = curl_multi_info_read(multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) outcome->code = message->data.result;
      break;
    }
    const Clock::time_point now = Clock::now();
    if (!requestSent) {
      if (state.requestSent) {
        requestSent = true;
        lastActivity = now;
        moved = BytesMoved(easy, state);
      }
    } else if (const curl_off_t nowMoved = BytesMoved(easy, state); nowMoved != moved) {
      moved = nowMoved;
      lastActivity = now;
    }
    int waitMs = kMaxPollMs;
    if (requestSent) {
      const auto left = receiveTimeout - std::chrono::duration_cast<std::chrono::milliseconds>(now - lastActivity);
      if (left.count() <= 0) {
        outcome->receiveTimedOut = true;
        break;
      }
      waitMs = static_cast<int>(std::min<long long>(left.count(), kMaxPollMs));
    }
    curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
  }
  // Removing an unfinished transfer closes its connection, so a stalled server is not reused.
  curl_multi_remove_handle(multi, easy);
}

std::string ErrorTextFor(std::int32_t result, const char* curlText, CURLcode code) {
  switch (result) {
    case kHttpResponseTooLarge:
      return "the response body exceeded the size limit";
    case kHttpHeaderTooLarge:
      return "the answer's headers exceeded the size limit";
    case kHttpOutOfMemory:
      return "out of memory";
    default:
      break;
  }
  if (curlText != nullptr && curlText[0] != '\0') return curlText;
  return curl_easy_strerror(code);
}

// Reads the hop's status and URL into `result`; returns where the answer redirects to ("" when nowhere, and
// unread unless the status is a redirect's). libcurl follows no redirect itself, so the URL it ended on is nearly
// always the hop's own, byte for byte: then *endedOnHopUrl is set and no copy is made (the caller takes the hop's
// URL instead).
std::string ReadTransferInfo(CURL* easy, const std::string& hopUrl, ExchangeResult* result, bool* endedOnHopUrl) {
  long status = 0;
  char* effective = nullptr;
  char* redirect = nullptr;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
  if (status >= 300 && status < 400) curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &redirect);
  result->status = static_cast<std::uint32_t>(status);
  *endedOnHopUrl = effective != nullptr && hopUrl == effective;
  if (effective != nullptr && !*endedOnHopUrl) result->effectiveUrl = effective;
  return redirect != nullptr ? redirect : "";
}

// What one hop needs besides the transfer.
struct Hop {
  const RedirectHop& request;
  std::optional<std::string_view> body;
  long timeoutMs;
};

// Sends one request of the chain on `transfer` and fills `result` with its outcome (its effective URL only when it
// is not the hop's own; *endedOnHopUrl says so). Returns the answer's redirect target ("" for none, or when the hop
// failed).
std::string SendHop(Transfer& transfer, TransferPool& pool, const ExchangeRequest& request, const Hop& hop,
                    std::optional<CaLocations>* ca, ResponseCapture* capture, ExchangeResult* result,
                    bool* endedOnHopUrl) {
  CURL* easy = transfer.easy.get();
  const std::string& method = hop.request.method;
  // The CA locations matter to TLS only: a plain HTTP hop neither reads them nor reconfigures a handle for them.
  const bool tls = IsHttpsUrl(hop.request.url);
  if (tls && !*ca) *ca = CaLocationsOfEnvironment();
  if (!transfer.profile ||
      !transfer.profile->Matches(*request.settings, method, hop.body.has_value(), tls ? &**ca : nullptr)) {
    if (!*ca) *ca = CaLocationsOfEnvironment();
    TransferProfile profile = ProfileFor(*request.settings, method, hop.body.has_value(), **ca);
    pool.Reset(transfer);
    ConfigureProfile(transfer, profile);
    transfer.profile = std::move(profile);
  }
  CallbackState& state = transfer.callbacks;
  state = CallbackState{capture, false, false, 0};
  // libcurl writes a zero-terminated message there; only the first byte has to say "none yet".
  transfer.errorBuffer[0] = '\0';
  TransferOutcome outcome;
  outcome.viaProxy = request.settings->proxy != ComponentSettings::Proxy::kNone;
  if (!PrepareHeaderList(*request.headers, hop.request, hop.body, transfer) ||
      !ConfigureRequest(transfer, hop.request.url, hop.body, hop.timeoutMs)) {
    outcome.code = CURLE_OUT_OF_MEMORY;
  } else {
    RunTransfer(easy, transfer.multi.get(), state, *request.settings, &outcome);
  }
  outcome.bodyTooLarge = capture->Overflowed();
  outcome.headerTooLarge = capture->HeaderTooLarge();
  outcome.withinResponseHeaders = capture->WithinHeaderBlock();
  result->result = state.outOfMemory ? kHttpOutOfMemory : TranslateOutcome(outcome);
  std::string target = ReadTransferInfo(easy, hop.request.url, result, endedOnHopUrl);
  if (result->result != kHttpOk) {
    result->errorText = outcome.receiveTimedOut ? "no data arrived within the receive timeout"
                                                : ErrorTextFor(result->result, transfer.errorBuffer, outcome.code);
    target.clear();
  }
  state.capture = nullptr;
  // A handle whose exchange failed is configured afresh by its next user, so no state of a failure carries over.
  if (result->result != kHttpOk) transfer.profile.reset();
  return target;
}

}  // namespace

void PrepareTransport() { CurlRuntime::Instance(); }

ExchangeResult PerformExchange(ExchangeRequest request, ResponseCapture* capture) {
  ExchangeResult result;
  try {
    CurlRuntime& runtime = CurlRuntime::Instance();
    if (!runtime.Available()) {
      result.result = kHttpTransportUnavailable;
      result.errorText = "the transport library could not be initialised";
      return result;
    }
    TransferLease transfer = runtime.Pool().Acquire();
    if (!transfer) {
      result.result = kHttpOutOfMemory;
      result.errorText = "could not make a transfer handle";
      return result;
    }
    std::optional<CaLocations> ca;  // read at the first hop that needs them
    const std::optional<std::string_view> body = BodyToSend(request.method, request.body);
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline =
        start + std::chrono::milliseconds(request.settings->EffectiveExchangeTimeoutMs());
    RedirectHop hop{std::move(request.url), std::string(request.method), body.has_value(), true};
    bool endedOnHopUrl = false;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) {
        result.result = kHttpTimedOut;
        result.errorText = "the exchange timeout elapsed";
        break;
      }
      const std::optional<std::string_view> hopBody = hop.sendsBody ? body : BodyToSend(hop.method, std::nullopt);
      const std::string target = SendHop(*transfer, runtime.Pool(), request, Hop{hop, hopBody, static_cast<long>(left)},
                                         &ca, capture, &result, &endedOnHopUrl);
      if (result.result != kHttpOk || !request.settings->followRedirects) break;
      RedirectDecision decision = DecideRedirect(hop, body ? body->size() : 0, result.status, target);
      if (decision.action == RedirectAction::kAnswer) break;
      if (decision.action == RedirectAction::kUnsupportedScheme) {
        result.result = kHttpUnsupportedScheme;
        result.errorText = "a redirect named another scheme than http or https";
        break;
      }
      if (result.redirects == ComponentSettings::kMaxRedirects) {
        result.result = kHttpTooManyRedirects;
        result.errorText = "too many redirects";
        break;
      }
      ++result.redirects;
      if (endedOnHopUrl) result.effectiveUrl = hop.url;  // the next hop may time out before it is sent
      endedOnHopUrl = false;
      hop = std::move(decision.next);
    }
    if (endedOnHopUrl) result.effectiveUrl = std::move(hop.url);
    result.durationUs =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
  } catch (const std::bad_alloc&) {
    result.result = kHttpOutOfMemory;
    result.errorText.clear();
  }
  return result;
}

}  // namespace OAuthClient::Http
