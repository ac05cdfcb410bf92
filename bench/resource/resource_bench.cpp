// Resource requests per second: RequestResource of the library (client facade, retriever, HTTP component, a fresh
// HTTP client object per request) and the component alone (CreateHttpClient per request, as the retriever does)
// against raw libcurl reusing one easy handle: the same GET, the same URL, the same headers (Authorization
// "Bearer ..." and User-Agent), to the same nginx. The contenders alternate in rounds so that drift of the
// machine touches all alike. Connection reuse is checked with nginx's accepted-connection counter.
//
//   resource_bench --url URL --status-url URL [--rounds N] [--round-ms MS] [--only raw|component|library]
//
// Prints one line per round and a summary: each rate, the ratios to raw libcurl, and how many new connections
// nginx accepted during each contender's rounds. Every answer is checked (status 200 and the expected body);
// any failure ends the run with exit status 1.
#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "oauthclient/exports.h"
#include "oauthclient/http_client.h"

namespace {

using Clock = std::chrono::steady_clock;
using OAuthClient::WideChar;
using WideString = std::basic_string<WideChar>;

constexpr char kAccessToken[] = "bench-access-token";
constexpr char kUserAgent[] = "zqhttpclient/1.0";  // what the component sends
constexpr char kExpectedBody[] = "{\"resource\":\"fixture\",\"ok\":true}";

WideString Wide(const std::string& ascii) { return WideString(ascii.begin(), ascii.end()); }

struct Options {
  std::string url;
  std::string statusUrl;
  int rounds = 8;
  int roundMilliseconds = 1000;
  std::string only;  // run just this contender ("raw", "component", "library"), e.g. under a profiler
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--url") options.url = argv[i + 1];
    else if (name == "--status-url") options.statusUrl = argv[i + 1];
    else if (name == "--rounds") options.rounds = std::atoi(argv[i + 1]);
    else if (name == "--round-ms") options.roundMilliseconds = std::atoi(argv[i + 1]);
    else if (name == "--only") options.only = argv[i + 1];
    else return false;
  }
  return argc % 2 == 1 && !options.url.empty() && !options.statusUrl.empty() && options.rounds > 0 &&
         options.roundMilliseconds > 0;
}

size_t AppendTo(char* data, size_t size, size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

struct SList {
  curl_slist* list = nullptr;
  ~SList() { curl_slist_free_all(list); }
};

// One contender performs one request and tells whether its answer was right.
class Contender {
 public:
  virtual ~Contender() = default;
  virtual const char* Name() const = 0;
  virtual bool RequestOnce() = 0;
  long long requests = 0;
  double seconds = 0;
  long long newConnections = 0;
  std::vector<double> roundRates;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

class RawCurl : public Contender {
 public:
  explicit RawCurl(const std::string& url) : easy_(curl_easy_init()) {
    headers_.list = curl_slist_append(headers_.list, (std::string("Authorization: Bearer ") + kAccessToken).c_str());
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_.list);
    curl_easy_setopt(easy_, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &AppendTo);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &body_);
  }
  ~RawCurl() override { curl_easy_cleanup(easy_); }
  const char* Name() const override { return "raw libcurl"; }
  bool RequestOnce() override {
    body_.clear();
    long status = 0;
    if (curl_easy_perform(easy_) != CURLE_OK) return false;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    return status == 200 && body_ == kExpectedBody;
  }

 private:
  CURL* easy_;
  SList headers_;
  std::string body_;
};

class ComponentDirect : public Contender {
 public:
  explicit ComponentDirect(const std::string& url) : url_(Wide(url)) {
    void* library = dlopen("libzqhttpclient.so", RTLD_NOW);
    if (library != nullptr)
      factory_ = reinterpret_cast<OAuthClient::CreateHttpClientFunction>(dlsym(library, "CreateHttpClient"));
  }
  const char* Name() const override { return "component"; }
  bool RequestOnce() override {
    if (factory_ == nullptr) return false;
    OAuthClient::IHttpClient* client = factory_();
    if (client == nullptr) return false;
    client->AddRequestHeader(Wide("Authorization").c_str(), bearer_.c_str(), 0);
    bool ok = client->Send(get_.c_str(), url_.c_str()) == 1 && client->GetStatusCode() == 200;
    const unsigned char* data = nullptr;
    std::uint32_t length = 0;
    ok = ok && client->GetResponseBody(&data, &length) == 1 &&
         std::string(reinterpret_cast<const char*>(data), length) == kExpectedBody;
    client->Release();
    return ok;
  }

 private:
  OAuthClient::CreateHttpClientFunction factory_ = nullptr;
  WideString url_, get_ = Wide("GET"), bearer_ = Wide(std::string("Bearer ") + kAccessToken);
};

template <typename T>
struct Releaser {
  void operator()(T* object) const {
    if (object != nullptr) object->Release();
  }
};

// The library is loaded the way a host loads it (dlopen by name, dlsym of the exports).
class Library : public Contender {
 public:
  explicit Library(const std::string& url) {
    void* library = dlopen("liboauthclient.so", RTLD_NOW);
    if (library == nullptr) return;
    auto createClient = reinterpret_cast<OAuthClient::CreateOAuthClientFunction>(dlsym(library, "CreateOAuthClient"));
    auto createRequest =
        reinterpret_cast<OAuthClient::CreateOAuthRequestFunction>(dlsym(library, "CreateOAuthRequest"));
    if (createClient == nullptr || createRequest == nullptr) return;
    client_.reset(createClient());
    request_.reset(createRequest());
    request_->SetUrl(Wide(url).c_str());
    request_->SetMethod(Wide("GET").c_str());
    request_->SetAccessToken(Wide(kAccessToken).c_str());
  }
  bool Available() const { return client_ && request_; }
  const char* Name() const override { return "library"; }
  bool RequestOnce() override {
    OAuthClient::IResourceResponse* raw = nullptr;
    const std::int32_t result = client_->RequestResource(request_.get(), &raw);
    std::unique_ptr<OAuthClient::IResourceResponse, Releaser<OAuthClient::IResourceResponse>> response(raw);
    if (result != 1 || !response || response->GetStatusCode() != 200) {
      if (failures_++ == 0) std::fprintf(stderr, "library: RequestResource gave %d\n", result);
      return false;
    }
    const unsigned char* data = nullptr;
    std::uint32_t length = 0;
    return response->GetBody(&data, &length) == 1 &&
           std::string(reinterpret_cast<const char*>(data), length) == kExpectedBody;
  }

 private:
  std::unique_ptr<OAuthClient::IOAuthClient, Releaser<OAuthClient::IOAuthClient>> client_;
  std::unique_ptr<OAuthClient::IOAuthRequest, Releaser<OAuthClient::IOAuthRequest>> request_;
  int failures_ = 0;
};

// Reads nginx's "accepts" counter over one kept-alive connection of its own (counted once, at the first read).
class AcceptCounter {
 public:
  explicit AcceptCounter(const std::string& url) : easy_(curl_easy_init()) {
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &AppendTo);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &body_);
  }
  ~AcceptCounter() { curl_easy_cleanup(easy_); }
  long long Read() {
    body_.clear();
    if (curl_easy_perform(easy_) != CURLE_OK) return -1;
    // "Active connections: N \nserver accepts handled requests\n A H R \n..."
    const std::size_t at = body_.find("requests\n");
    return at == std::string::npos ? -1 : std::atoll(body_.c_str() + at + 9);
  }

 private:
  CURL* easy_;
  std::string body_;
};

bool RunRound(Contender& contender, AcceptCounter& counter, int milliseconds) {
  const long long acceptsBefore = counter.Read();
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + std::chrono::milliseconds(milliseconds);
  long long done = 0;
  while (Clock::now() < end) {
    for (int i = 0; i < 64; ++i, ++done) {
      if (!contender.RequestOnce()) {
        std::fprintf(stderr, "%s: request %lld failed\n", contender.Name(), contender.requests + done);
        return false;
      }
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const long long acceptsAfter = counter.Read();
  contender.requests += done;
  contender.seconds += seconds;
  contender.newConnections += acceptsAfter - acceptsBefore;
  contender.roundRates.push_back(done / seconds);
  std::printf("  %-12s %9.0f requests/s  (%lld requests, %lld new connections)\n", contender.Name(), done / seconds,
              done, acceptsAfter - acceptsBefore);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: resource_bench --url URL --status-url URL [--rounds N] [--round-ms MS]\n");
    return 2;
  }
  curl_global_init(CURL_GLOBAL_ALL);
  AcceptCounter counter(options.statusUrl);
  if (counter.Read() < 0) {
    std::fprintf(stderr, "cannot read %s\n", options.statusUrl.c_str());
    return 1;
  }
  RawCurl raw(options.url);
  ComponentDirect component(options.url);
  Library library(options.url);
  std::vector<Contender*> contenders = {&raw, &component};
  if (library.Available()) {
    contenders.push_back(&library);
  } else {
    std::printf("library: liboauthclient.so or its exports not found; measuring the component only\n");
  }
  if (!options.only.empty()) {
    std::vector<Contender*> chosen;
    for (Contender* c : contenders)
      if (options.only == (c == &raw ? "raw" : c == &component ? "component" : "library")) chosen.push_back(c);
    if (chosen.empty()) {
      std::fprintf(stderr, "--only: no contender %s\n", options.only.c_str());
      return 2;
    }
    contenders = chosen;
  }
  // Warm-up: every contender opens its connection before timing starts.
  for (Contender* c : contenders)
    if (!c->RequestOnce()) {
      std::fprintf(stderr, "%s: warm-up request failed\n", c->Name());
      return 1;
    }
  for (int round = 1; round <= options.rounds; ++round) {
    std::printf("round %d\n", round);
    for (Contender* c : contenders)
      if (!RunRound(*c, counter, options.roundMilliseconds)) return 1;
  }
  // The machine is shared: besides the overall rate, the median over rounds of the ratio to raw libcurl in the
  // same round is less sensitive to a busy moment.
  const double rawRate = raw.requests > 0 ? raw.requests / raw.seconds : 0;
  std::printf("summary (%d rounds of %d ms each)\n", options.rounds, options.roundMilliseconds);
  for (Contender* c : contenders) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < c->roundRates.size() && i < raw.roundRates.size(); ++i)
      ratios.push_back(c->roundRates[i] / raw.roundRates[i]);
    const double rate = c->requests / c->seconds;
    std::printf("  %-12s %9.0f requests/s  ratio to raw libcurl %.3f (median of rounds %.3f)  new connections %lld "
                "in %lld requests\n",
                c->Name(), rate, rawRate > 0 ? rate / rawRate : 0, Median(ratios), c->newConnections, c->requests);
  }
  curl_global_cleanup();
  return 0;
}
