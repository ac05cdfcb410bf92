// The recording test double of the HTTP client component: a libzqhttpclient.so whose objects log every call they
// receive in one process-wide log and answer as the test scripted them (see http_client_double.h).
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/utf8_utf16.h"
#include "oauthclient/http_client.h"

#if defined(_WIN32)
#define DOUBLE_API extern "C" __declspec(dllexport)
#else
#define DOUBLE_API extern "C" __attribute__((visibility("default")))
#endif

namespace OAuthClient {
namespace {

// UTF-16 to UTF-8 for the log; a lone surrogate becomes U+FFFD so every text logs as valid UTF-8.
std::string ToUtf8(const WideChar* text, std::size_t count) {
  return Utf16ToUtf8(std::basic_string_view<WideChar>(text, count));
}

// A zero-terminated boundary text as it appears in the log; a null pointer is "<null>".
std::string Text(const WideChar* text) {
  if (text == nullptr) return "<null>";
  std::size_t count = 0;
  while (text[count] != 0) ++count;
  return ToUtf8(text, count);
}

// Everything the test scripted and everything the objects recorded; lives while the double is loaded.
struct DoubleState {
  std::vector<std::string> calls;
  std::map<std::string, std::int64_t> results;
  std::map<std::string, std::basic_string<WideChar>> texts;
  std::optional<std::string> body;
  std::uintptr_t responseValue = 0;
  int live = 0;
};

std::mutex stateMutex;
DoubleState state;

// Runs `use` on the state under its lock.
template <typename Use>
auto Locked(Use use) {
  std::lock_guard<std::mutex> lock(stateMutex);
  return use(state);
}

// Logs "operation(args,...)" and returns the operation's name.
const char* Log(const char* operation, std::initializer_list<std::string> args = {}) {
  std::string line = std::string(operation) + '(';
  const char* separator = "";
  for (const std::string& arg : args) {
    line += separator + arg;
    separator = ",";
  }
  Locked([&](DoubleState& s) { s.calls.push_back(line + ')'); });
  return operation;
}

// The scripted result of `operation`, or `fallback` when none was scripted.
std::int64_t Result(const std::string& operation, std::int64_t fallback) {
  return Locked([&](DoubleState& s) {
    auto it = s.results.find(operation);
    return it == s.results.end() ? fallback : it->second;
  });
}
std::int32_t Int(const std::string& operation, std::int64_t fallback) {
  return static_cast<std::int32_t>(Result(operation, fallback));
}
std::uint32_t Unsigned(const std::string& operation, std::uint32_t fallback) {
  return static_cast<std::uint32_t>(Result(operation, fallback));
}

// One HTTP client object. Texts and bytes it hands out are copies it owns, freed by Release, so a caller that
// reads them after Release is caught by the address sanitizer.
class RecordingHttpClient final : public IHttpClient {
 public:
  std::uint32_t GetInterfaceVersion() override { return Unsigned(Log(__func__), kHttpClientInterfaceVersion); }
  void Reset() override {
    Log(__func__);
    *this = RecordingHttpClient();
  }
  std::int32_t SetUserAgent(const WideChar* userAgent) override { return Int(Log(__func__, {Text(userAgent)}), 1); }
  void SetOptionFlagA(Bool8 value) override { Log(__func__, {std::to_string(value)}); flagA_ = value != 0; }
  std::int32_t GetOptionFlagA() override { return Int(Log(__func__), flagA_); }
  void SetOptionFlagB(Bool8 value) override { Log(__func__, {std::to_string(value)}); flagB_ = value != 0; }
  std::int32_t GetOptionFlagB() override { return Int(Log(__func__), flagB_); }
  void SetStringNone() override { Log(__func__); }
  std::int32_t SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) override {
    return Int(Log(__func__, {Text(proxyUrl), Text(user), Text(password)}), 1);
  }
  std::int32_t SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) override {
    return Int(Log(__func__, {Text(proxyUrl), Text(bypassList)}), 1);
  }
  void SetSecureProtocol(std::int32_t code) override { Log(__func__, {std::to_string(code)}); secureProtocol_ = code; }
  std::int32_t GetSecureProtocol() override { return Int(Log(__func__), secureProtocol_); }
  void SetOptionValueC(std::uint32_t value) override { Log(__func__, {std::to_string(value)}); valueC_ = value; }
  std::uint32_t GetOptionValueC() override { return Unsigned(Log(__func__), valueC_); }
  void SetOptionValueA(std::uint32_t value) override { Log(__func__, {std::to_string(value)}); valueA_ = value; }
  void SetOptionValueB(std::uint32_t value) override { Log(__func__, {std::to_string(value)}); valueB_ = value; }
  std::uint32_t GetOptionValueA() override { return Unsigned(Log(__func__), valueA_); }
  std::uint32_t GetOptionValueB() override { return Unsigned(Log(__func__), valueB_); }
  void SetMaxResponseSize(std::uint32_t value) override {
    Log(__func__, {std::to_string(value)});
    maxResponseSize_ = value;
  }
  std::uint32_t GetMaxResponseSize() override { return Unsigned(Log(__func__), maxResponseSize_); }
  std::int32_t AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) override {
    return Int(Log(__func__, {Text(name), Text(value), std::to_string(flags)}), 1);
  }
  std::int32_t RemoveRequestHeader(const WideChar* name) override { return Int(Log(__func__, {Text(name)}), 1); }
  std::int32_t SetRequestHeadersText(const WideChar* text) override { return Int(Log(__func__, {Text(text)}), 1); }
  void ClearRequestHeaders() override { Log(__func__); }
  std::int32_t SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                         std::uint32_t length) override {
    std::string bytes = data == nullptr ? "<null>" : std::string(reinterpret_cast<const char*>(data), length);
    return Sent(Log(__func__, {Text(method), Text(url), bytes, std::to_string(length)}));
  }
  std::int32_t SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                        std::int32_t length) override {
    std::string body = text == nullptr || length < 0 ? Text(text) : ToUtf8(text, static_cast<std::size_t>(length));
    return Sent(Log(__func__, {Text(method), Text(url), body, std::to_string(length)}));
  }
  std::int32_t Send(const WideChar* method, const WideChar* url) override {
    return Sent(Log(__func__, {Text(method), Text(url)}));
  }
  std::int32_t GetEffectiveUrl(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::int32_t GetRedirectCount() override { return Int(Log(__func__), 0); }
  std::uint32_t GetElapsedMilliseconds() override { return Unsigned(Log(__func__), 0); }
  std::int32_t GetResponseHeader(const WideChar* name, const WideChar** out) override {
    return HandOutText(std::string(Log(__func__, {Text(name)})) + ":" + Text(name), out);
  }
  std::uint32_t GetResponseBodyLength() override {
    Log(__func__);
    return Unsigned(__func__, Locked([](DoubleState& s) { return s.body ? std::uint32_t(s.body->size()) : 0; }));
  }
  std::int32_t GetResponseHeadersText(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::int32_t GetResponseBody(const unsigned char** data, std::uint32_t* length) override {
    Log(__func__);
    std::optional<std::string> body = Locked([](DoubleState& s) { return s.body; });
    if (!body) return Int(__func__, -1);
    body_ = std::move(*body);
    if (data != nullptr) *data = reinterpret_cast<const unsigned char*>(body_.data());
    if (length != nullptr) *length = static_cast<std::uint32_t>(body_.size());
    return Int(__func__, 1);
  }
  std::int32_t GetResponseContentType(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::int32_t GetResponseText(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::int32_t GetLastResult() override { return Int(Log(__func__), lastResult_); }
  std::int32_t GetLastErrorText(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::uint32_t GetStatusCode() override { return Unsigned(Log(__func__), 200); }
  std::int32_t GetStatusText(const WideChar** out) override { return HandOutText(Log(__func__), out); }
  std::int32_t GetResponseValue(std::uintptr_t* out) override {
    Log(__func__);
    if (out == nullptr) return Int(__func__, -1);
    *out = Locked([](DoubleState& s) { return s.responseValue; });
    return Int(__func__, 1);
  }
  void Release() override {
    Log(__func__);
    Locked([](DoubleState& s) { --s.live; });
    delete this;
  }

 private:
  std::int32_t Sent(const char* operation) { return lastResult_ = Int(operation, 1); }
  // Points *out at this object's copy of the text scripted under `key` (1 by default), or leaves *out untouched
  // when none was scripted (-1 by default).
  std::int32_t HandOutText(const std::string& key, const WideChar** out) {
    const bool scripted = Locked([&](DoubleState& s) {
      auto it = s.texts.find(key);
      if (it == s.texts.end()) return false;
      if (out != nullptr) *out = (handedOut_[key] = it->second).c_str();
      return true;
    });
    return Int(key, scripted ? 1 : -1);
  }

  bool flagA_ = false;
  bool flagB_ = false;
  std::int32_t secureProtocol_ = 0;
  std::uint32_t valueA_ = 0;
  std::uint32_t valueB_ = 0;
  std::uint32_t valueC_ = 0;
  std::uint32_t maxResponseSize_ = 0;
  std::int32_t lastResult_ = 0;
  std::map<std::string, std::basic_string<WideChar>> handedOut_;
  std::string body_;
};

}  // namespace
}  // namespace OAuthClient

using OAuthClient::DoubleState;
using OAuthClient::Locked;

DOUBLE_API OAuthClient::IHttpClient* CreateHttpClient() {
  if (OAuthClient::Result(OAuthClient::Log("CreateHttpClient"), 1) == 0) return nullptr;
  Locked([](DoubleState& s) { ++s.live; });
  return new OAuthClient::RecordingHttpClient();
}

DOUBLE_API void ZqDoubleReset() {
  Locked([](DoubleState& s) {
    const int live = s.live;  // the objects still alive stay counted
    s = DoubleState();
    s.live = live;
  });
}

DOUBLE_API void ZqDoubleScriptResult(const char* operation, std::int64_t value) {
  Locked([&](DoubleState& s) { s.results[operation] = value; });
}

DOUBLE_API void ZqDoubleScriptText(const char* key, const char* utf8) {
  Locked([&](DoubleState& s) { s.texts[key] = OAuthClient::Utf8ToUtf16<OAuthClient::WideChar>(utf8); });
}

DOUBLE_API void ZqDoubleScriptBody(const char* data, std::size_t length) {
  Locked([&](DoubleState& s) { s.body = std::string(data, length); });
}

DOUBLE_API void ZqDoubleScriptResponseValue(std::uintptr_t value) {
  Locked([&](DoubleState& s) { s.responseValue = value; });
}

// Copies the log entry `index` to *out; false past the end of the log.
DOUBLE_API bool ZqDoubleCopyCall(std::size_t index, std::string* out) {
  return Locked([&](DoubleState& s) {
    if (index >= s.calls.size()) return false;
    *out = s.calls[index];
    return true;
  });
}

DOUBLE_API int ZqDoubleLiveObjects() {
  return Locked([](DoubleState& s) { return s.live; });
}
