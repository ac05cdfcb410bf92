// Faults: the component against a hostile server (tests/servers/hostile), bad URLs and settings it must refuse.
// Each case ends with its own code within a generous bound; a refusal sends nothing at all; a failure keeps no
// answer and leaves the caller's out-arguments as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "component_fixture.h"

namespace OAuthClient::Testing {
namespace {

using Setup = std::function<void(IHttpClient*)>;

struct Fault {
  const char* name;
  const char* target;  // a path of the hostile server's plain HTTP port, "tls-..." (one of its TLS listeners),
                       // "closed" (a loopback port nobody listens on), or a URL as it stands
  std::int32_t expected;
  Setup setup = nullptr;
  const char* body = nullptr;        // sent with POST; GET when null
  std::uint32_t status = 0;          // the answer's status, when an answer is expected
  const char* unreached = nullptr;   // a path the server must not have been asked for
  const char* answerHas = nullptr;   // text the answer's body holds
  const char* answerLacks = "secret";  // text it must not hold
  int boundSeconds = 10;
};

std::string TargetUrl(std::string_view target) {
  if (target.substr(0, 4) == "tls-") return "https://127.0.0.1:" + PortOf("hostile/" + std::string(target) + ".port") + "/";
  if (target == "closed") return ClosedPortUrl();
  if (target.substr(0, 1) == "/") return "http://127.0.0.1:" + PortOf("hostile.port") + std::string(target);
  return std::string(target);
}

Setup Headers(const char16_t* text) { return [text](IHttpClient* c) { c->SetRequestHeadersText(W(text)); }; }
Setup Header(const char16_t* name, const char16_t* value) {
  return [=](IHttpClient* c) { c->AddRequestHeader(W(name), W(value), 0); };
}
// Credentials that must not travel to another origin, and redirects followed.
const Setup kCredentialsFollowingRedirects = [](IHttpClient* c) {
  c->SetRequestHeadersText(W(u"Authorization: Bearer secret-token\r\nCookie: session=secret-cookie"));
  c->SetOptionFlagB(1);
};
const Setup kFollowRedirects = [](IHttpClient* c) { c->SetOptionFlagB(1); };
Setup ReceiveTimeout(std::uint32_t ms) { return [ms](IHttpClient* c) { c->SetOptionValueB(ms); }; }
Setup Cap(std::uint32_t bytes) { return [bytes](IHttpClient* c) { c->SetMaxResponseSize(bytes); }; }

const Fault kFaults[] = {
    {"UrlNotAUrl", "not a url", kHttpBadUrl},
    {"UrlWithoutHost", "http://", kHttpBadUrl},
    {"UrlWithBlank", "http://exa mple.invalid/", kHttpBadUrl},
    {"UrlWithLineBreak", "http://a.invalid/\r\nX: y", kHttpBadUrl},
    {"UrlOfFtp", "ftp://127.0.0.1/file", kHttpUnsupportedScheme},
    {"UrlOfFile", "file:///etc/passwd", kHttpUnsupportedScheme},
    // A refused setting fails the send; nothing goes out.
    {"ProxyTripleMalformed", "/refused/1", kHttpBadProxy,
     [](IHttpClient* c) { c->SetStringTriple(W(u"http://[bad"), W(u"user"), W(u"secret")); }, "a=1", 0, "/refused/1"},
    {"ProxyPairOtherScheme", "/refused/2", kHttpBadProxy,
     [](IHttpClient* c) { c->SetStringPair(W(u"ftp://127.0.0.1:21"), W(u"")); }, "a=1", 0, "/refused/2"},
    {"HeaderValueWithLineBreak", "/refused/3", kHttpBadHeader, Header(u"Authorization", u"Bearer a\r\nb"), "a=1", 0,
     "/refused/3"},
    {"HeaderTextWithBlankInName", "/refused/4", kHttpBadHeader, Headers(u"Bad Name: v\r\nContent-Type: text/plain"),
     "a=1", 0, "/refused/4"},
    {"HeaderValueWithControlCharacter", "/refused/5", kHttpBadHeader, Header(u"X-Trace", u"a\u0001b"), nullptr, 0,
     "/refused/5"},
    {"HeaderTextSmugglesContentLength", "/refused/6", kHttpBadHeader, Headers(u"X-Trace: abc\r\nContent-Length: 0"),
     "a=1", 0, "/refused/6"},
    {"HeaderTransferEncoding", "/refused/7", kHttpBadHeader, Header(u"Transfer-Encoding", u"chunked"), "a=1", 0,
     "/refused/7"},
    {"RequestHeaderOfTenMegabytes", "/refused/8", kHttpHeaderTooLarge,
     [](IHttpClient* c) { c->AddRequestHeader(W(u"X-Big"), W(std::u16string(10 << 20, u'b')), 0); }, nullptr, 0,
     "/refused/8"},
    {"UserAgentWithLineBreak", "/refused/9", kHttpBadHeader,
     [](IHttpClient* c) { c->SetUserAgent(W(u"agent/2\r\nX-Test: injected")); }, nullptr, 0, "/refused/9"},
    {"ProxyNotAProxy", "/refused/10", kHttpBadProxy, [](IHttpClient* c) { c->SetStringPair(W(u"not a proxy"), W(u"")); },
     nullptr, 0, "/refused/10"},
    // A refusal lasts until the setting is replaced.
    {"RefusedHeaderThenCleared", "/echo/cleared", kHttpOk,
     [](IHttpClient* c) {
       c->AddRequestHeader(W(u"X-Test"), W(u"a\nb"), 0);
       c->ClearRequestHeaders();
     },
     nullptr, 200},
    {"RefusedProxyThenNone", "/echo/direct", kHttpOk,
     [](IHttpClient* c) {
       c->SetStringTriple(W(u""), W(u"user"), W(u"secret"));
       c->SetStringNone();
     },
     nullptr, 200},
    {"ContentLengthMatchingTheBody", "/echo/length", kHttpOk, Header(u"Content-Length", u"3"), "a=1", 200, nullptr,
     "\r\n\r\na=1"},
    // Redirects: another origin gets neither the body nor a credential.
    {"Redirect302OtherOrigin", "/redirect/302/other", kHttpOk, kCredentialsFollowingRedirects, "password=secret-body",
     200, nullptr, "GET /echo/302/other"},
    {"Redirect307OtherOriginWithBody", "/redirect/307/other", kHttpOk, kCredentialsFollowingRedirects,
     "password=secret-body", 307, "/echo/307/other", "moved"},
    {"Redirect308OtherOriginWithoutBody", "/redirect/308/other", kHttpOk, kCredentialsFollowingRedirects, nullptr, 200,
     nullptr, "GET /echo/308/other"},
    {"Redirect307SameOrigin", "/redirect/307/same", kHttpOk, kCredentialsFollowingRedirects, "password=secret-body",
     200, nullptr, "Bearer secret-token", "no such text"},
    {"RedirectToFtp", "/redirect-ftp", kHttpUnsupportedScheme, kFollowRedirects},
    {"RedirectLoop", "/redirect-loop", kHttpTooManyRedirects, kFollowRedirects},
    // Answers that are not HTTP, or too big.
    {"GarbageStatusLine", "/not-http", kHttpSendFailed},
    {"Http09Body", "/http09", kHttpSendFailed},
    {"FourDigitStatus", "/status-2000", kHttpSendFailed},
    {"HugeHeaderLine", "/huge-header-line", kHttpHeaderTooLarge},
    {"TenThousandHeaders", "/many-headers", kHttpHeaderTooLarge},
    {"BodyOverTheCapWithLength", "/large-with-length", kHttpResponseTooLarge, Cap(1000)},
    {"BodyOverTheCapWithoutLength", "/large-without-length", kHttpResponseTooLarge, Cap(1000)},
    // Broken and slow transfers.
    {"ConnectionRefused", "closed", kHttpConnectFailed},
    {"NeverAnswers", "/silent", kHttpTimedOut, ReceiveTimeout(1000)},
    {"StallsAfterHeaders", "/stall-after-headers", kHttpTimedOut, ReceiveTimeout(1000)},
    {"OneBytePerSecond", "/one-byte-per-second", kHttpTimedOut, [](IHttpClient* c) { c->SetOptionValueC(2500); }},
    {"ResetMidBody", "/reset-mid-body", kHttpSendFailed},
    {"TruncatedChunkedBody", "/truncated-chunked", kHttpSendFailed},
    {"BadChunkSize", "/bad-chunk-size", kHttpSendFailed},
    // TLS: the test CA is trusted, yet these servers must fail.
    {"CertificateForAnotherHost", "tls-wrong-host", kHttpCertificateRejected},
    {"ExpiredCertificate", "tls-expired", kHttpCertificateRejected},
    {"TlsVersionRefused", "tls-1.0", kHttpTlsFailed},
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

class HttpClientFault : public ::testing::TestWithParam<Fault> {
 protected:
  static void SetUpTestSuite() { setenv("SSL_CERT_FILE", RunFile("hostile/ca.pem").c_str(), 1); }
  static void TearDownTestSuite() { unsetenv("SSL_CERT_FILE"); }
};

TEST_P(HttpClientFault, EndsWithItsCodeWithinItsBound) {
  const Fault& fault = GetParam();
  Client client = NewClient();
  if (fault.setup) fault.setup(client.get());
  const auto start = std::chrono::steady_clock::now();
  const std::string url = TargetUrl(fault.target);
  EXPECT_EQ(fault.body ? Send(client.get(), "POST", url, fault.body) : Get(client.get(), url), fault.expected);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(fault.boundSeconds));
  EXPECT_EQ(client->GetStatusCode(), fault.status);
  const std::string answer = BodyOf(client.get());
  EXPECT_EQ(answer.find(fault.answerLacks), std::string::npos) << answer;
  if (fault.answerHas) {
    EXPECT_NE(answer.find(fault.answerHas), std::string::npos) << answer;
  }
  if (fault.unreached) {
    Client probe = NewClient();
    ASSERT_EQ(Get(probe.get(), TargetUrl(std::string("/hits?path=") + fault.unreached)), kHttpOk);
    EXPECT_EQ(BodyOf(probe.get()), "0") << fault.unreached << " was asked for";
  }
  if (fault.expected == kHttpOk) return;
  EXPECT_EQ(client->GetLastResult(), fault.expected);
  const WideChar* const sentinel = W(u"sentinel");
  const WideChar* text = sentinel;
  const unsigned char* data = nullptr;
  std::uint32_t length = 42;
  EXPECT_EQ(client->GetResponseHeadersText(&text), -1);
  EXPECT_EQ(client->GetResponseText(&text), -1);
  EXPECT_EQ(client->GetResponseHeader(W(u"Date"), &text), -1);
  EXPECT_EQ(text, sentinel);
  EXPECT_EQ(client->GetResponseBody(&data, &length), -1);
  EXPECT_EQ(length, 42u);
  ASSERT_EQ(client->GetLastErrorText(&text), kHttpOk);
  EXPECT_FALSE(Text(text).empty());
}

INSTANTIATE_TEST_SUITE_P(Hostile, HttpClientFault, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });

TEST(HttpClientArguments, NullAndMalformedArgumentsAreRefused) {
  Client client = NewClient();
  const std::u16string url = U16(TargetUrl("/echo"));
  EXPECT_EQ(client->Send(W(u"GET"), nullptr), kHttpBadUrl);
  EXPECT_EQ(client->Send(nullptr, W(url)), kHttpBadArgument);
  EXPECT_EQ(client->Send(W(u"GET /x HTTP/1.1\r\n"), W(url)), kHttpBadArgument);
  EXPECT_EQ(client->SendBytes(W(u"POST"), W(url), nullptr, 5), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), W(u"x"), -2), kHttpBadArgument);
  EXPECT_EQ(client->GetResponseBody(nullptr, nullptr), kHttpBadArgument);
  EXPECT_EQ(client->SendText(W(u"POST"), W(url), nullptr, -1), kHttpOk) << "a null optional text is empty";
}

}  // namespace
}  // namespace OAuthClient::Testing
