// PerformExchange: one HTTP request and its answer, driven on a pooled libcurl transfer.
#include "zqhttpclient/exchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <new>

#include "oauthclient/http_client_codes.h"
#include "zqhttpclient/ascii.h"
#include "zqhttpclient/curl_handles.h"
#include "zqhttpclient/curl_result.h"
#include "zqhttpclient/curl_runtime.h"
#include "zqhttpclient/transfer_profile.h"

namespace OAuthClient::Http {
namespace {

using Clock = std::chrono::steady_clock;

// The longest single wait for socket activity; the receive timeout is checked at least this often.
constexpr int kMaxPollMs = 1000;

// Per-transfer state the libcurl callbacks write into.
struct CallbackState {
  ResponseCapture* capture = nullptr;
  bool outOfMemory = false;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<CallbackState*>(user);
  try {
    state->capture->AddHeaderLine(std::string_view(data, size * count));
    return size * count;
  } catch (const std::bad_alloc&) {
    state->outOfMemory = true;
    return 0;
  }
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<CallbackState*>(user);
  try {
    return state->capture->AddBody(std::string_view(data, size * count)) ? size * count : 0;
  } catch (const std::bad_alloc&) {
    state->outOfMemory = true;
    return 0;
  }
}

// Appends one header line in libcurl's syntax: "Name;" sends an empty value ("Name:" would remove the header).
bool AppendHeader(SList* list, const char* line) {
  curl_slist* grown = curl_slist_append(list->get(), line);
  if (grown == nullptr) return false;
  list->release();
  list->reset(grown);
  return true;
}

bool BuildHeaderList(const ExchangeRequest& request, SList* list) {
  const RequestHeaders& headers = *request.headers;
  // One buffer for every line: libcurl copies each line, so the buffer is refilled rather than rebuilt.
  std::string line;
  for (const auto& [name, value] : headers.Fields()) {
    line.assign(name);
    line.append(value.empty() ? ";" : ": ");
    line.append(value);
    if (!AppendHeader(list, line.c_str())) return false;
  }
  if (BodyToSend(request) && !headers.Find("Content-Type")) {
    if (!AppendHeader(list, "Content-Type:")) return false;
  }
  if (!headers.Find("Expect") && !AppendHeader(list, "Expect:")) return false;
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
    case 3: return CURL_SSLVERSION_TLSv1_0 | CURL_SSLVERSION_MAX_TLSv1_0;
    case 4: return CURL_SSLVERSION_TLSv1_1 | CURL_SSLVERSION_MAX_TLSv1_1;
    case 5: return CURL_SSLVERSION_TLSv1_2 | CURL_SSLVERSION_MAX_TLSv1_2;
    case 6: return CURL_SSLVERSION_TLSv1_3 | CURL_SSLVERSION_MAX_TLSv1_3;
    default: return CURL_SSLVERSION_TLSv1_2;
  }
}

void ApplyTls(CURL* easy, const TransferProfile& profile) {
  const TransportSettings& settings = profile.settings;
  curl_easy_setopt(easy, CURLOPT_SSLVERSION, SslVersionFor(settings.secureProtocol));
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

void ApplyProxy(CURL* easy, const TransportSettings& settings) {
  using Proxy = TransportSettings::Proxy;
  if (settings.proxy == Proxy::kNone) {
    // An empty proxy turns libcurl's reading of http_proxy / https_proxy / all_proxy off.
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    return;
  }
  curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxyUrl.c_str());
  if (settings.proxy == Proxy::kWithBypassList) {
    curl_easy_setopt(easy, CURLOPT_NOPROXY, settings.proxyBypassList.c_str());
  } else if (!settings.proxyUser.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
  }
}

void ApplyTimeoutsAndLimits(CURL* easy, const TransportSettings& settings) {
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.EffectiveConnectTimeoutMs()));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(settings.EffectiveExchangeTimeoutMs()));
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(settings.EffectiveMaxResponseBytes()));
  // The request URL's scheme was checked before (CheckRequestUrl); redirect targets are checked here.
  if (settings.followRedirects) {
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, TransportSettings::kMaxRedirects);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
#error "libcurl 7.85 or later is required (CURLOPT_REDIR_PROTOCOLS_STR)"
#endif
  }
}

// Sets what the profile covers on a freshly reset easy handle.
void ConfigureProfile(CURL* easy, const TransferProfile& profile) {
  const TransportSettings& settings = profile.settings;
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  ApplyMethod(easy, profile);
  curl_easy_setopt(easy, CURLOPT_USERAGENT,
                   settings.EffectiveUserAgent());
  ApplyTls(easy, profile);
  ApplyProxy(easy, settings);
  ApplyTimeoutsAndLimits(easy, settings);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
}

// Sets what changes from one request to the next. Returns false when libcurl could not take the URL.
bool ConfigureRequest(CURL* easy, const std::string& url, std::optional<std::string_view> body, curl_slist* headers,
                      CallbackState* state, char* errorBuffer) {
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
  if (curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) != CURLE_OK) return false;
  if (body) ApplyBody(easy, *body);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, state);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, state);
  return true;
}

// Bytes moved so far in either direction; a change means the peer is alive.
curl_off_t BytesMoved(CURL* easy) {
  curl_off_t up = 0, down = 0;
  long headerBytes = 0;
  curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &up);
  curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &down);
  curl_easy_getinfo(easy, CURLINFO_HEADER_SIZE, &headerBytes);
  return up + down + headerBytes;
}

// Drives the transfer to its end. The receive timeout is this loop's: it counts from the moment the request
// could be sent (connection and TLS handshake done; those have the connect timeout) and restarts whenever bytes
// move. Returns libcurl's result, with receiveTimedOut set when the loop gave up.
void RunTransfer(CURL* easy, CURLM* multi, const TransportSettings& settings, TransferOutcome* outcome) {
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
      curl_off_t pretransfer = 0;
      curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
      if (pretransfer > 0) {
        requestSent = true;
        lastActivity = now;
        moved = BytesMoved(easy);
      }
    } else if (const curl_off_t nowMoved = BytesMoved(easy); nowMoved != moved) {
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
    case kHttpResponseTooLarge: return "the response body exceeded the size limit";
    case kHttpOutOfMemory: return "out of memory";
    default: break;
  }
  if (curlText != nullptr && curlText[0] != '\0') return curlText;
  return curl_easy_strerror(code);
}

void ReadTransferInfo(CURL* easy, ExchangeResult* result) {
  long status = 0, redirects = 0;
  curl_off_t total = 0;
  char* effective = nullptr;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects);
  curl_easy_getinfo(easy, CURLINFO_TOTAL_TIME_T, &total);
  curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
  result->status = static_cast<std::uint32_t>(status);
  result->redirects = static_cast<std::int32_t>(redirects);
  result->durationUs = static_cast<std::uint64_t>(total);
  if (effective != nullptr) result->effectiveUrl = effective;
}

}  // namespace

void PrepareTransport() { CurlRuntime::Instance(); }

ExchangeResult PerformExchange(const ExchangeRequest& request, ResponseCapture* capture) {
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
    CURL* easy = transfer->easy.get();
    const std::optional<std::string_view> body = BodyToSend(request);
    const CaLocations ca = CaLocationsOfEnvironment();
    if (!transfer->profile || !transfer->profile->Matches(*request.settings, request.method, body.has_value(), ca)) {
      TransferProfile profile = ProfileFor(*request.settings, request.method, body.has_value(), ca);
      runtime.Pool().Reset(*transfer);
      ConfigureProfile(easy, profile);
      transfer->profile = std::move(profile);
    }
    SList headers;
    CallbackState state{capture, false};
    // libcurl writes a zero-terminated message here; only the first byte has to say "none yet".
    char errorBuffer[CURL_ERROR_SIZE];
    errorBuffer[0] = '\0';
    TransferOutcome outcome;
    outcome.viaProxy = request.settings->proxy != TransportSettings::Proxy::kNone;
    if (!BuildHeaderList(request, &headers) ||
        !ConfigureRequest(easy, request.url, body, headers.get(), &state, errorBuffer)) {
      outcome.code = CURLE_OUT_OF_MEMORY;
    } else {
      RunTransfer(easy, transfer->multi.get(), *request.settings, &outcome);
    }
    outcome.bodyTooLarge = capture->Overflowed();
    result.result = state.outOfMemory ? kHttpOutOfMemory : TranslateOutcome(outcome);
    ReadTransferInfo(easy, &result);
    if (result.result != kHttpOk) {
      if (outcome.receiveTimedOut) {
        result.errorText = "no data arrived within the receive timeout";
      } else {
        result.errorText = ErrorTextFor(result.result, errorBuffer, outcome.code);
      }
    }
    // The buffers the handle points at end here. A handle whose exchange failed is configured afresh by its
    // next user, so no state of a failure carries over.
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
    if (result.result != kHttpOk) transfer->profile.reset();
  } catch (const std::bad_alloc&) {
    result.result = kHttpOutOfMemory;
    result.errorText.clear();
  }
  return result;
}

}  // namespace OAuthClient::Http
