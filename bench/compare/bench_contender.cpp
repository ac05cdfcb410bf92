// bench_contender: one C/C++ contender of the comparison bench, kept alive between rounds and driven by
// compare.py over its standard input, so that it keeps its connections, loaded libraries and caches across the
// alternating rounds exactly as a long-running host would.
//
//   bench_contender --contender NAME --path token|resource --url URL [--threads N] [--expect any] [--get]
//
// --get sends the token request with GET, the form in the query, as the library does for that method (a static
// file answers GET only, and the large-answer memory figure needs one); --expect any takes any answer that
// arrives.
//
// Contenders (all send the same request to the same URL, User-Agent included, and check every answer):
//   raw          raw libcurl reusing one easy handle (per thread)
//   raw-fresh    raw libcurl with a new easy handle, so a new connection (and TLS handshake), per request
//   floor        raw plus the calls of the token path's component binding per request (load, look-up, unload)
//   component    the HTTP component alone: a new client object per request, configured as the library does
//   library      the library through its exports (RequestToken / RequestResource), loaded as a host loads it
// Over HTTPS every contender trusts the CA named by SSL_CERT_FILE (the component reads it itself).
//
// Protocol, one command a line; every answer is one line:
//   run MS       requests for about MS milliseconds (each thread)   -> "REQUESTS SECONDS"
//   count N      exactly N requests (each thread)                    -> "REQUESTS SECONDS"
//   memory       the process's resident and peak resident memory     -> "RSS_KIB PEAK_KIB"
//   quit
// A wrong answer prints "error TEXT" and ends the process with status 1.
#include <curl/curl.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "oauthclient/exports.h"
#include "oauthclient/http_client.h"

namespace {

using Clock = std::chrono::steady_clock;
using OAuthClient::WideChar;
using WideString = std::basic_string<WideChar>;

constexpr char kClientId[] = "demo-client";
constexpr char kClientSecret[] = "demo-secret";
constexpr char kBasicCredentials[] = "ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ=";  // base64 of "demo-client:demo-secret"
constexpr char kFormBody[] = "grant_type=client_credentials";             // the library's body for this grant
constexpr char kExpectedToken[] = "fixture-access-token";
constexpr char kAccessToken[] = "bench-access-token";
constexpr char kExpectedResource[] = "{\"resource\":\"fixture\",\"ok\":true}";
constexpr char kUserAgent[] = "zqhttpclient/1.0";  // what the component sends when the host sets none
constexpr char kComponentName[] = "libzqhttpclient.so";

WideString Wide(const std::string& ascii) { return WideString(ascii.begin(), ascii.end()); }

bool EqualsAscii(const WideChar* text, const char* ascii) {
  if (text == nullptr) return false;
  for (; *ascii != 0; ++text, ++ascii)
    if (*text != static_cast<WideChar>(*ascii)) return false;
  return *text == 0;
}

struct Options {
  std::string contender;
  std::string path;
  std::string url;
  int threads = 1;
  bool anyAnswer = false;   // --expect any: any answer that arrives counts (for the large-response memory figure)
  bool tokenByGet = false;  // --get
};

// What every contender checks in an answer: the status and, unless any answer will do, the expected content.
struct Expectation {
  bool token = true;
  bool anyAnswer = false;
  bool Holds(long status, const char* body, std::size_t length) const {
    if (anyAnswer) return status > 0;
    if (status != 200) return false;
    if (token) return std::string_view(body, length).find(kExpectedToken) != std::string_view::npos;
    return std::string_view(body, length) == kExpectedResource;
  }
};

class Contender {
 public:
  virtual ~Contender() = default;
  // One request; false (with `error` set) on a wrong answer.
  virtual bool RequestOnce(std::string& error) = 0;
};

size_t AppendTo(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

struct HeaderList {
  curl_slist* list = nullptr;
  HeaderList() = default;
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList() { curl_slist_free_all(list); }
};

// Raw libcurl: the headers, body and options the component uses, the answer collected as it collects it.
class RawCurl : public Contender {
 public:
  RawCurl(const Options& options, Expectation expectation, bool freshPerRequest)
      : url_(options.tokenByGet ? options.url + "?" + kFormBody : options.url),
        expectation_(expectation),
        post_(expectation.token && !options.tokenByGet),
        fresh_(freshPerRequest) {
    if (expectation_.token) {
      headers_.list = curl_slist_append(headers_.list, "Content-Type: application/x-www-form-urlencoded");
      headers_.list =
          curl_slist_append(headers_.list, (std::string("Authorization: Basic ") + kBasicCredentials).c_str());
    } else {
      headers_.list = curl_slist_append(headers_.list, (std::string("Authorization: Bearer ") + kAccessToken).c_str());
    }
    if (const char* ca = std::getenv("SSL_CERT_FILE")) caFile_ = ca;
    if (!fresh_) Configure(NewHandle());
  }

  bool RequestOnce(std::string& error) override {
    if (fresh_) Configure(NewHandle());
    body_.clear();
    head_.clear();
    CURL* easy = easy_.get();
    const CURLcode code = curl_easy_perform(easy);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (code != CURLE_OK || !expectation_.Holds(status, body_.data(), body_.size())) {
      error = std::string("raw libcurl: ") + curl_easy_strerror(code) + ", status " + std::to_string(status);
      return false;
    }
    return true;
  }

 private:
  CURL* NewHandle() {
    easy_.reset(curl_easy_init());
    return easy_.get();
  }

  void Configure(CURL* easy) {
    curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
    if (post_) {
      curl_easy_setopt(easy, CURLOPT_POST, 1L);
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, kFormBody);
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(std::strlen(kFormBody)));
    } else {
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.list);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &AppendTo);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body_);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &AppendTo);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &head_);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // HTTP/1.1 as the component speaks it: left to itself libcurl negotiates HTTP/2 over TLS, a different protocol
    // with costs of its own, and the HTTPS rows would no longer compare like with like.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    if (!caFile_.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, caFile_.c_str());
  }

  std::string url_;
  Expectation expectation_;
  bool post_;
  bool fresh_;
  std::string caFile_;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy_{nullptr, &curl_easy_cleanup};
  HeaderList headers_;
  std::string body_;
  std::string head_;
};

// Raw libcurl plus what the token path's binding costs per request however fast the library is: the component is
// loaded (already mapped, so the loader finds it among the loaded objects), its factory looked up, and the
// previous load released.
class Floor : public Contender {
 public:
  Floor(const Options& options, Expectation expectation) : raw_(options, expectation, false) {
    held_ = dlopen(kComponentName, RTLD_NOW | RTLD_LOCAL);  // the library keeps it mapped between grants too
  }
  ~Floor() override {
    if (previous_ != nullptr) dlclose(previous_);
    if (held_ != nullptr) dlclose(held_);
  }
  bool RequestOnce(std::string& error) override {
    if (previous_ != nullptr) dlclose(previous_);  // the previous grant goes first, then the new one binds
    previous_ = dlopen(kComponentName, RTLD_NOW | RTLD_LOCAL);
    if (previous_ == nullptr || dlsym(previous_, "CreateHttpClient") == nullptr) {
      error = std::string("floor: cannot load ") + kComponentName;
      return false;
    }
    return raw_.RequestOnce(error);
  }

 private:
  RawCurl raw_;
  void* held_ = nullptr;
  void* previous_ = nullptr;
};

template <typename T>
struct Releaser {
  void operator()(T* object) const {
    if (object != nullptr) object->Release();
  }
};

// The component alone, called the way the library calls it for this request: a new client object each time.
class Component : public Contender {
 public:
  Component(const Options& options, Expectation expectation)
      : url_(Wide(options.url)), expectation_(expectation), tokenByGet_(options.tokenByGet) {
    if (tokenByGet_) url_ += Wide(std::string("?") + kFormBody);
    module_ = dlopen(kComponentName, RTLD_NOW | RTLD_LOCAL);
    if (module_ != nullptr)
      factory_ = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(module_, "CreateHttpClient"));
  }
  bool RequestOnce(std::string& error) override {
    if (factory_ == nullptr) {
      error = std::string("component: cannot load ") + kComponentName;
      return false;
    }
    std::unique_ptr<OAuthClient::IHttpClient, Releaser<OAuthClient::IHttpClient>> client(factory_());
    std::int32_t result = 0;
    if (expectation_.token) {
      client->AddRequestHeader(contentType_.c_str(), formType_.c_str(), 0);
      client->AddRequestHeader(authorization_.c_str(), basic_.c_str(), 0);
      client->SetOptionFlagB(0);
      client->SetOptionFlagA(0);
      client->SetStringNone();
      client->SetOptionValueA(0);
      client->SetOptionValueB(0);
      client->SetSecureProtocol(0);
      client->SetOptionValueC(0);
      result = tokenByGet_ ? client->Send(get_.c_str(), url_.c_str())
                           : client->SendText(post_.c_str(), url_.c_str(), body_.c_str(), -1);
    } else {
      client->AddRequestHeader(authorization_.c_str(), bearer_.c_str(), 0);
      result = client->Send(get_.c_str(), url_.c_str());
    }
    const unsigned char* data = nullptr;
    std::uint32_t length = 0;
    const long status = result == 1 ? static_cast<long>(client->GetStatusCode()) : 0;
    if (result != 1 || client->GetResponseBody(&data, &length) != 1 ||
        !expectation_.Holds(status, reinterpret_cast<const char*>(data), length)) {
      error = "component: result " + std::to_string(result) + ", status " + std::to_string(status);
      return false;
    }
    return true;
  }

 private:
  void* module_ = nullptr;  // stays loaded for the process, as the library's binding keeps it between grants
  OAuthClient::CreateHttpClientFunction factory_ = nullptr;
  WideString url_;
  Expectation expectation_;
  bool tokenByGet_;
  WideString contentType_ = Wide("Content-Type"), formType_ = Wide("application/x-www-form-urlencoded");
  WideString authorization_ = Wide("Authorization"), basic_ = Wide(std::string("Basic ") + kBasicCredentials);
  WideString bearer_ = Wide(std::string("Bearer ") + kAccessToken);
  WideString post_ = Wide("POST"), get_ = Wide("GET"), body_ = Wide(kFormBody);
};

// The library as a host uses it: loaded by name, its exports looked up, one client and one request kept.
class Library : public Contender {
 public:
  Library(const Options& options, Expectation expectation) : expectation_(expectation) {
    void* library = dlopen("liboauthclient.so", RTLD_NOW);
    if (library == nullptr) return;
    auto createClient = reinterpret_cast<OAuthClient::CreateOAuthClientFunction>(dlsym(library, "CreateOAuthClient"));
    auto createToken = reinterpret_cast<OAuthClient::CreateTokenRequestFunction>(dlsym(library, "CreateTokenRequest"));
    auto createResource =
        reinterpret_cast<OAuthClient::CreateOAuthRequestFunction>(dlsym(library, "CreateOAuthRequest"));
    if (createClient == nullptr || createToken == nullptr || createResource == nullptr) return;
    client_.reset(createClient());
    if (expectation_.token) {
      token_.reset(createToken());
      token_->SetUrl(Wide(options.url).c_str());
      token_->SetMethod(Wide(options.tokenByGet ? "GET" : "POST").c_str());
      token_->SetGrantType(Wide("client_credentials").c_str());
      token_->SetClientId(Wide(kClientId).c_str());
      token_->SetClientSecret(Wide(kClientSecret).c_str());
    } else {
      resource_.reset(createResource());
      resource_->SetUrl(Wide(options.url).c_str());
      resource_->SetMethod(Wide("GET").c_str());
      resource_->SetAccessToken(Wide(kAccessToken).c_str());
    }
  }

  bool RequestOnce(std::string& error) override {
    if (!client_) {
      error = "library: liboauthclient.so or its exports not found";
      return false;
    }
    return expectation_.token ? Token(error) : Resource(error);
  }

 private:
  bool Token(std::string& error) {
    OAuthClient::ITokenResponse* raw = nullptr;
    const std::int32_t result = client_->RequestToken(token_.get(), &raw);
    std::unique_ptr<OAuthClient::ITokenResponse, Releaser<OAuthClient::ITokenResponse>> response(raw);
    const long status = response ? static_cast<long>(response->GetStatusCode()) : 0;
    const WideChar* token = nullptr;
    const bool ok = result == 1 && response &&
                    (expectation_.anyAnswer ? status > 0
                                            : status == 200 && response->GetAccessToken(&token) == 1 &&
                                                  EqualsAscii(token, kExpectedToken));
    if (!ok) error = "library: RequestToken gave " + std::to_string(result) + ", status " + std::to_string(status);
    return ok;
  }

  bool Resource(std::string& error) {
    OAuthClient::IResourceResponse* raw = nullptr;
    const std::int32_t result = client_->RequestResource(resource_.get(), &raw);
    std::unique_ptr<OAuthClient::IResourceResponse, Releaser<OAuthClient::IResourceResponse>> response(raw);
    const unsigned char* data = nullptr;
    std::uint32_t length = 0;
    const long status = response ? static_cast<long>(response->GetStatusCode()) : 0;
    const bool ok = result == 1 && response && response->GetBody(&data, &length) == 1 &&
                    expectation_.Holds(status, reinterpret_cast<const char*>(data), length);
    if (!ok) error = "library: RequestResource gave " + std::to_string(result) + ", status " + std::to_string(status);
    return ok;
  }

  Expectation expectation_;
  std::unique_ptr<OAuthClient::IOAuthClient, Releaser<OAuthClient::IOAuthClient>> client_;
  std::unique_ptr<OAuthClient::ITokenRequest, Releaser<OAuthClient::ITokenRequest>> token_;
  std::unique_ptr<OAuthClient::IOAuthRequest, Releaser<OAuthClient::IOAuthRequest>> resource_;
};

std::unique_ptr<Contender> MakeContender(const Options& options) {
  Expectation expectation;
  expectation.token = options.path == "token";
  expectation.anyAnswer = options.anyAnswer;
  const std::string& name = options.contender;
  if (name == "raw") return std::make_unique<RawCurl>(options, expectation, false);
  if (name == "raw-fresh") return std::make_unique<RawCurl>(options, expectation, true);
  if (name == "floor") return std::make_unique<Floor>(options, expectation);
  if (name == "component") return std::make_unique<Component>(options, expectation);
  if (name == "library") return std::make_unique<Library>(options, expectation);
  return nullptr;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--get") {
      options.tokenByGet = true;
      --i;
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[i + 1];
    if (name == "--contender") options.contender = value;
    else if (name == "--path") options.path = value;
    else if (name == "--url") options.url = value;
    else if (name == "--threads") options.threads = std::atoi(value);
    else if (name == "--expect") options.anyAnswer = std::string(value) == "any";
    else return false;
  }
  return !options.contender.empty() && (options.path == "token" || options.path == "resource") &&
         !options.url.empty() && options.threads >= 1 && options.threads <= 64;
}

// Resident and peak resident memory in KiB, from /proc/self/status.
std::string MemoryLine() {
  long rss = -1, peak = -1;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      std::sscanf(line, "VmRSS: %ld", &rss);
      std::sscanf(line, "VmHWM: %ld", &peak);
    }
    std::fclose(status);
  }
  return std::to_string(rss) + " " + std::to_string(peak);
}

// Runs every thread's contender for `milliseconds` (or exactly `count` requests each); the answer line, or an
// "error" line when any request went wrong.
std::string RunBatch(std::vector<std::unique_ptr<Contender>>& contenders, long milliseconds, long count) {
  std::atomic<long> total{0};
  std::atomic<bool> failed{false};
  std::string firstError;
  std::atomic_flag errorTaken = ATOMIC_FLAG_INIT;
  const auto start = Clock::now();
  const auto end = start + std::chrono::milliseconds(milliseconds);
  auto work = [&](Contender& contender) {
    long done = 0;
    std::string error;
    while (!failed.load(std::memory_order_relaxed) && (count > 0 ? done < count : Clock::now() < end)) {
      if (!contender.RequestOnce(error)) {
        failed = true;
        if (!errorTaken.test_and_set()) firstError = error;
        break;
      }
      ++done;
    }
    total += done;
  };
  if (contenders.size() == 1) {
    work(*contenders.front());
  } else {
    std::vector<std::thread> threads;
    for (auto& contender : contenders) threads.emplace_back(work, std::ref(*contender));
    for (auto& thread : threads) thread.join();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (failed) return "error " + firstError;
  char line[64];
  std::snprintf(line, sizeof line, "%ld %.6f", total.load(), seconds);
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: bench_contender --contender raw|raw-fresh|floor|component|library --path token|resource "
                 "--url URL [--threads N] [--expect any] [--get]\n");
    return 2;
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  int status = 0;
  {
    std::vector<std::unique_ptr<Contender>> contenders;
    for (int i = 0; i < options.threads; ++i) contenders.push_back(MakeContender(options));
    if (contenders.front() == nullptr) {
      std::fprintf(stderr, "bench_contender: no contender %s\n", options.contender.c_str());
      return 2;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
      std::string answer;
      if (line.rfind("run ", 0) == 0) answer = RunBatch(contenders, std::atol(line.c_str() + 4), 0);
      else if (line.rfind("count ", 0) == 0) answer = RunBatch(contenders, 0, std::atol(line.c_str() + 6));
      else if (line == "memory") answer = MemoryLine();
      else if (line.rfind("url ", 0) == 0) {
        // The same contender, new objects, another URL: the one-time costs of the process stay paid.
        contenders.clear();
        options.url = line.substr(4);
        for (int i = 0; i < options.threads; ++i) contenders.push_back(MakeContender(options));
        answer = "ok";
      } else if (line == "quit") break;
      else answer = "error unknown command: " + line;
      std::cout << answer << std::endl;
      if (answer.rfind("error", 0) == 0) {
        status = 1;
        break;
      }
    }
  }
  curl_global_cleanup();
  return status;
}
