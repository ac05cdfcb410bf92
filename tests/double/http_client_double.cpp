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

#include "oauthclient/http_client.h"

#if defined(_WIN32)
#define DOUBLE_API extern "C" __declspec(dllexport)
#else
#define DOUBLE_API extern "C" __attribute__((visibility("default")))
#endif

namespace OAuthClient {
namespace {

// UTF-16 to UTF-8 for the log; a lone surrogate becomes U+FFFD so every text logs as valid UTF-8.
std::string ToUtf8(const char16_t* text, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// UTF-8 (as tests write it: well formed) to UTF-16.
std::u16string FromUtf8(const char* text) {
  std::u16string out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != 0) {
    std::uint32_t c = *p++;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (more > 0) c &= 0x3F >> more;
    for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = (c << 6) | (*p++ & 0x3F);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

const char16_t* Utf16(const WideChar* text) { return reinterpret_cast<const char16_t*>(text); }

// A zero-terminated boundary text as it appears in the log; a null pointer is "<null>".
std::string Text(const WideChar* text) {
  if (text == nullptr) return "<null>";
  std::size_t count = 0;
  while (text[count] != 0) ++count;
  return ToUtf8(Utf16(text), count);
}

template <typename Number>
std::string Num(Number value) {
  return std::to_string(value);
}

struct ScriptedText {
  bool isNull = false;
  std::u16string text;
};

struct ScriptedBody {
  bool isNull = false;
  std::vector<unsigned char> bytes;
  std::uint32_t length = 0;
};

// Everything the test scripted and everything the objects recorded; lives while the double is loaded.
struct DoubleState {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::map<std::string, std::int64_t> results;
  std::map<std::string, ScriptedText> texts;
  std::optional<ScriptedBody> body;
  std::uintptr_t responseValue = 0;
  int created = 0;
  int live = 0;
};

DoubleState& State() {
  static DoubleState state;
  return state;
}

void Log(const char* operation, std::initializer_list<std::string> args) {
  std::string line = operation;
  line += '(';
  bool first = true;
  for (const std::string& arg : args) {
    if (!first) line += ',';
    line += arg;
    first = false;
  }
  line += ')';
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.calls.push_back(std::move(line));
}

// The scripted result of `operation`, or `fallback` when none was scripted.
std::int64_t Result(const std::string& operation, std::int64_t fallback) {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = state.results.find(operation);
  return it == state.results.end() ? fallback : it->second;
}

std::optional<ScriptedText> FindText(const std::string& key) {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = state.texts.find(key);
  if (it == state.texts.end()) return std::nullopt;
  return it->second;
}

// One HTTP client object. Texts and bytes it hands out are copies it owns, freed by Release, so a caller that
// reads them after Release is caught by the address sanitizer.
class RecordingHttpClient final : public IHttpClient {
 public:
  std::uint32_t GetInterfaceVersion() override {
    Log("GetInterfaceVersion", {});
    return static_cast<std::uint32_t>(Result("GetInterfaceVersion", kHttpClientInterfaceVersion));
  }
  void Reset() override {
    Log("Reset", {});
    *this = RecordingHttpClient();
  }
  std::int32_t SetUserAgent(const WideChar* userAgent) override {
    Log("SetUserAgent", {Text(userAgent)});
    return Int("SetUserAgent", 1);
  }
  void SetOptionFlagA(Bool8 value) override {
    Log("SetOptionFlagA", {Num(value)});
    flagA_ = value != 0;
  }
  std::int32_t GetOptionFlagA() override {
    Log("GetOptionFlagA", {});
    return Int("GetOptionFlagA", flagA_);
  }
  void SetOptionFlagB(Bool8 value) override {
    Log("SetOptionFlagB", {Num(value)});
    flagB_ = value != 0;
  }
  std::int32_t GetOptionFlagB() override {
    Log("GetOptionFlagB", {});
    return Int("GetOptionFlagB", flagB_);
  }
  void SetStringNone() override { Log("SetStringNone", {}); }
  std::int32_t SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) override {
    Log("SetStringTriple", {Text(proxyUrl), Text(user), Text(password)});
    return Int("SetStringTriple", 1);
  }
  std::int32_t SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) override {
    Log("SetStringPair", {Text(proxyUrl), Text(bypassList)});
    return Int("SetStringPair", 1);
  }
  void SetSecureProtocol(std::int32_t code) override {
    Log("SetSecureProtocol", {Num(code)});
    secureProtocol_ = code;
  }
  std::int32_t GetSecureProtocol() override {
    Log("GetSecureProtocol", {});
    return Int("GetSecureProtocol", secureProtocol_);
  }
  void SetOptionValueC(std::uint32_t milliseconds) override {
    Log("SetOptionValueC", {Num(milliseconds)});
    valueC_ = milliseconds;
  }
  std::uint32_t GetOptionValueC() override {
    Log("GetOptionValueC", {});
    return Unsigned("GetOptionValueC", valueC_);
  }
  void SetOptionValueA(std::uint32_t milliseconds) override {
    Log("SetOptionValueA", {Num(milliseconds)});
    valueA_ = milliseconds;
  }
  void SetOptionValueB(std::uint32_t milliseconds) override {
    Log("SetOptionValueB", {Num(milliseconds)});
    valueB_ = milliseconds;
  }
  std::uint32_t GetOptionValueA() override {
    Log("GetOptionValueA", {});
    return Unsigned("GetOptionValueA", valueA_);
  }
  std::uint32_t GetOptionValueB() override {
    Log("GetOptionValueB", {});
    return Unsigned("GetOptionValueB", valueB_);
  }
  void SetMaxResponseSize(std::uint32_t bytes) override {
    Log("SetMaxResponseSize", {Num(bytes)});
    maxResponseSize_ = bytes;
  }
  std::uint32_t GetMaxResponseSize() override {
    Log("GetMaxResponseSize", {});
    return Unsigned("GetMaxResponseSize", maxResponseSize_);
  }
  std::int32_t AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) override {
    Log("AddRequestHeader", {Text(name), Text(value), Num(flags)});
    return Int("AddRequestHeader", 1);
  }
  std::int32_t RemoveRequestHeader(const WideChar* name) override {
    Log("RemoveRequestHeader", {Text(name)});
    return Int("RemoveRequestHeader", 1);
  }
  std::int32_t SetRequestHeadersText(const WideChar* text) override {
    Log("SetRequestHeadersText", {Text(text)});
    return Int("SetRequestHeadersText", 1);
  }
  void ClearRequestHeaders() override { Log("ClearRequestHeaders", {}); }
  std::int32_t SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                         std::uint32_t length) override {
    std::string bytes = data == nullptr ? "<null>" : std::string(reinterpret_cast<const char*>(data), length);
    Log("SendBytes", {Text(method), Text(url), bytes, Num(length)});
    return Sent(Int("SendBytes", 1));
  }
  std::int32_t SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                        std::int32_t length) override {
    std::string body = text == nullptr || length < 0
                           ? Text(text)
                           : ToUtf8(Utf16(text), static_cast<std::size_t>(length));
    Log("SendText", {Text(method), Text(url), body, Num(length)});
    return Sent(Int("SendText", 1));
  }
  std::int32_t Send(const WideChar* method, const WideChar* url) override {
    Log("Send", {Text(method), Text(url)});
    return Sent(Int("Send", 1));
  }
  std::int32_t GetEffectiveUrl(const WideChar** out) override {
    Log("GetEffectiveUrl", {});
    return HandOutText("GetEffectiveUrl", out);
  }
  std::int32_t GetRedirectCount() override {
    Log("GetRedirectCount", {});
    return Int("GetRedirectCount", 0);
  }
  std::uint32_t GetElapsedMilliseconds() override {
    Log("GetElapsedMilliseconds", {});
    return Unsigned("GetElapsedMilliseconds", 0);
  }
  std::int32_t GetResponseHeader(const WideChar* name, const WideChar** out) override {
    Log("GetResponseHeader", {Text(name)});
    return HandOutText("GetResponseHeader:" + Text(name), out);
  }
  std::uint32_t GetResponseBodyLength() override {
    Log("GetResponseBodyLength", {});
    std::optional<ScriptedBody> body = ScriptedBodyCopy();
    return Unsigned("GetResponseBodyLength", body ? body->length : 0);
  }
  std::int32_t GetResponseHeadersText(const WideChar** out) override {
    Log("GetResponseHeadersText", {});
    return HandOutText("GetResponseHeadersText", out);
  }
  std::int32_t GetResponseBody(const unsigned char** data, std::uint32_t* length) override {
    Log("GetResponseBody", {});
    std::optional<ScriptedBody> body = ScriptedBodyCopy();
    if (!body) return Int("GetResponseBody", -1);
    body_ = std::move(body->bytes);
    if (data != nullptr) *data = body->isNull ? nullptr : body_.data();
    if (length != nullptr) *length = body->length;
    return Int("GetResponseBody", 1);
  }
  std::int32_t GetResponseContentType(const WideChar** out) override {
    Log("GetResponseContentType", {});
    return HandOutText("GetResponseContentType", out);
  }
  std::int32_t GetResponseText(const WideChar** out) override {
    Log("GetResponseText", {});
    return HandOutText("GetResponseText", out);
  }
  std::int32_t GetLastResult() override {
    Log("GetLastResult", {});
    return Int("GetLastResult", lastResult_);
  }
  std::int32_t GetLastErrorText(const WideChar** out) override {
    Log("GetLastErrorText", {});
    return HandOutText("GetLastErrorText", out);
  }
  std::uint32_t GetStatusCode() override {
    Log("GetStatusCode", {});
    return Unsigned("GetStatusCode", 200);
  }
  std::int32_t GetStatusText(const WideChar** out) override {
    Log("GetStatusText", {});
    return HandOutText("GetStatusText", out);
  }
  std::int32_t GetResponseValue(std::uintptr_t* out) override {
    Log("GetResponseValue", {});
    if (out == nullptr) return Int("GetResponseValue", -1);
    {
      DoubleState& state = State();
      std::lock_guard<std::mutex> lock(state.mutex);
      *out = state.responseValue;
    }
    return Int("GetResponseValue", 1);
  }
  void Release() override {
    Log("Release", {});
    {
      DoubleState& state = State();
      std::lock_guard<std::mutex> lock(state.mutex);
      --state.live;
    }
    delete this;
  }

 private:
  static std::int32_t Int(const std::string& operation, std::int64_t fallback) {
    return static_cast<std::int32_t>(Result(operation, fallback));
  }
  static std::uint32_t Unsigned(const std::string& operation, std::uint32_t fallback) {
    return static_cast<std::uint32_t>(Result(operation, fallback));
  }
  std::int32_t Sent(std::int32_t result) {
    lastResult_ = result;
    return result;
  }
  static std::optional<ScriptedBody> ScriptedBodyCopy() {
    DoubleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.body;
  }
  // Points *out at this object's copy of the text scripted under `key` (1 by default), or leaves *out untouched
  // when none was scripted (-1 by default).
  std::int32_t HandOutText(const std::string& key, const WideChar** out) {
    std::optional<ScriptedText> scripted = FindText(key);
    if (!scripted) return Int(key, -1);
    if (out != nullptr) {
      if (scripted->isNull) {
        *out = nullptr;
      } else {
        std::u16string& kept = handedOut_[key];
        kept = scripted->text;
        *out = reinterpret_cast<const WideChar*>(kept.c_str());
      }
    }
    return Int(key, 1);
  }

  bool flagA_ = false;
  bool flagB_ = false;
  std::int32_t secureProtocol_ = 0;
  std::uint32_t valueA_ = 0;
  std::uint32_t valueB_ = 0;
  std::uint32_t valueC_ = 0;
  std::uint32_t maxResponseSize_ = 0;
  std::int32_t lastResult_ = 0;
  std::map<std::string, std::u16string> handedOut_;
  std::vector<unsigned char> body_;
};

}  // namespace
}  // namespace OAuthClient

using OAuthClient::DoubleState;
using OAuthClient::State;

DOUBLE_API OAuthClient::IHttpClient* CreateHttpClient() {
  OAuthClient::Log("CreateHttpClient", {});
  if (OAuthClient::Result("CreateHttpClient", 1) == 0) return nullptr;
  auto* client = new OAuthClient::RecordingHttpClient();
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  ++state.created;
  ++state.live;
  return client;
}

DOUBLE_API void ZqDoubleReset() {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.calls.clear();
  state.results.clear();
  state.texts.clear();
  state.body.reset();
  state.responseValue = 0;
  state.created = 0;
}

DOUBLE_API void ZqDoubleScriptResult(const char* operation, std::int64_t value) {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.results[operation] = value;
}

DOUBLE_API void ZqDoubleScriptText16(const char* key, const char16_t* text, std::size_t count) {
  OAuthClient::ScriptedText scripted;
  scripted.isNull = text == nullptr;
  if (text != nullptr) scripted.text.assign(text, count);
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.texts[key] = std::move(scripted);
}

DOUBLE_API void ZqDoubleScriptText(const char* key, const char* utf8) {
  if (utf8 == nullptr) {
    ZqDoubleScriptText16(key, nullptr, 0);
    return;
  }
  std::u16string text = OAuthClient::FromUtf8(utf8);
  ZqDoubleScriptText16(key, text.c_str(), text.size());
}

DOUBLE_API void ZqDoubleScriptBody(const unsigned char* data, std::uint32_t length) {
  OAuthClient::ScriptedBody body;
  body.isNull = data == nullptr;
  body.length = length;
  if (data != nullptr) body.bytes.assign(data, data + length);
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.body = std::move(body);
}

DOUBLE_API void ZqDoubleScriptResponseValue(std::uintptr_t value) {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.responseValue = value;
}

DOUBLE_API std::size_t ZqDoubleCallCount() {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.calls.size();
}

DOUBLE_API std::size_t ZqDoubleCopyCall(std::size_t index, char* out, std::size_t capacity) {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (index >= state.calls.size()) return 0;
  const std::string& call = state.calls[index];
  if (out != nullptr) call.copy(out, capacity < call.size() ? capacity : call.size());
  return call.size();
}

DOUBLE_API int ZqDoubleCreatedObjects() {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.created;
}

DOUBLE_API int ZqDoubleLiveObjects() {
  DoubleState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.live;
}
