// HttpClientDouble: the control of the recording test double of the HTTP client component, for tests.
//
// The double is a libzqhttpclient.so (CMake target zqhttpclient_double, in ${OAUTHCLIENT_DOUBLE_DIR}) that tests
// registered with `oauthclient_add_test(... DOUBLE)` find first on the loader path, ahead of the real component.
// Its CreateHttpClient makes objects that record every IHttpClient call in one process-wide log and answer as
// scripted. The control functions below reach the double that the process has loaded (the code under test loads
// it through the ordinary loader search for "libzqhttpclient.so"), without taking a reference of their own.
//
// Lifetime: the double's state (script, log, counters) lives while the library stays loaded and starts afresh at
// every load. A test that scripts before the code under test loads the double, or reads the log after the code
// under test unloaded it, keeps an HttpClientDouble::Hold for that span. To check that the code under test freed
// its load, drop the Hold and test IsLoaded().
//
// Log format, one entry per call, compared whole with EXPECT_EQ(HttpClientDouble::Calls(), expected):
//   "Operation(arg1,arg2,...)", the IHttpClient operation's name, arguments in order, separated by "," (nothing is
//   escaped). Texts as UTF-8 (a null pointer as "<null>", a lone surrogate as U+FFFD); 8-bit bools and numbers in
//   decimal; SendBytes' buffer as its raw bytes ("<null>" for a null pointer); SendText's text up to `length` units
//   (zero-terminated when -1). Out-arguments are not logged. Examples: "CreateHttpClient()", "SetOptionFlagB(1)",
//   "AddRequestHeader(Authorization,Bearer abc,0)", "SendText(POST,https://x/token,grant_type=client_credentials,-1)",
//   "GetResponseHeader(Content-Type)", "Release()".
//
// Scripted answers (all reset by Reset(); unscripted defaults in brackets):
//   ScriptResult(op, value)  the number `op` returns: any int or unsigned operation by its name [sends, setters,
//                            GetResponseValue and GetInterfaceVersion: 1; GetStatusCode: 200; option getters: the
//                            value last set on that object; GetLastResult: the object's last send result; other
//                            counters 0]. "CreateHttpClient" with 0 makes the factory return null [an object].
//                            For the text getters and GetResponseBody it overrides only the result, not the output.
//   ScriptText(op, text)     the text that GetStatusText, GetResponseHeadersText, GetResponseText,
//                            GetResponseContentType, GetEffectiveUrl or GetLastErrorText hands out; a header
//                            look-up under the key "GetResponseHeader:<exact name>". Result 1 [unscripted: -1 and
//                            the output untouched].
//   ScriptBody(bytes)        what GetResponseBody hands out. Result 1 [unscripted: -1, both outputs untouched].
//                            GetResponseBodyLength gives its length.
//   ScriptResponseValue(v)   the value GetResponseValue stores [0].
// Each object hands out its own copies of scripted texts and bytes, freed by its Release, so reading them after
// Release is caught by the address sanitizer.
#ifndef OAUTHCLIENT_TESTS_DOUBLE_HTTP_CLIENT_DOUBLE_H
#define OAUTHCLIENT_TESTS_DOUBLE_HTTP_CLIENT_DOUBLE_H

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace HttpClientDouble {

// The double's file name as the loader searches for it.
#if defined(_WIN32)
inline constexpr wchar_t kFileName[] = L"zqhttpclient.dll";
#else
inline constexpr char kFileName[] = "libzqhttpclient.so";
#endif

namespace Detail {

// The loaded libzqhttpclient.so (the double or the real component), without a reference of its own; null when none
// is loaded.
inline void* Loaded() {
#if defined(_WIN32)
  return GetModuleHandleW(kFileName);
#else
  void* module = dlopen(kFileName, RTLD_NOW | RTLD_NOLOAD);
  if (module != nullptr) dlclose(module);  // drops the reference that RTLD_NOLOAD took
  return module;
#endif
}

// The loaded double's export `name`; throws (a test failure under GoogleTest) when the double is not loaded, or when
// the loaded libzqhttpclient.so is the real component.
template <typename Function>
Function Find(const char* name) {
  void* module = Loaded();
  if (module == nullptr) throw std::logic_error("the HTTP client double is not loaded (keep an HttpClientDouble::Hold)");
#if defined(_WIN32)
  void* symbol = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
  void* symbol = dlsym(module, name);
#endif
  if (symbol == nullptr) throw std::logic_error(std::string("the loaded HTTP client component is not the double: ") + name);
  return reinterpret_cast<Function>(symbol);
}

}  // namespace Detail

// Returns true when libzqhttpclient.so (the double or the real component) is loaded in this process.
inline bool IsLoaded() { return Detail::Loaded() != nullptr; }

// Keeps the double loaded (one reference of the test's own) from construction to destruction or Drop().
class Hold {
 public:
  Hold() {
#if defined(_WIN32)
    module_ = LoadLibraryW(kFileName);
#else
    module_ = dlopen(kFileName, RTLD_NOW);
#endif
    if (module_ == nullptr) throw std::runtime_error("cannot load the HTTP client double");
  }
  ~Hold() { Drop(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
  // Gives the test's reference back now.
  void Drop() {
    if (module_ == nullptr) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(module_));
#else
    dlclose(module_);
#endif
    module_ = nullptr;
  }

 private:
  void* module_ = nullptr;
};

// Clears the log and every scripted answer (the count of live objects stays true).
inline void Reset() { Detail::Find<void (*)()>("ZqDoubleReset")(); }

inline void ScriptResult(const std::string& operation, std::int64_t value) {
  Detail::Find<void (*)(const char*, std::int64_t)>("ZqDoubleScriptResult")(operation.c_str(), value);
}
inline void ScriptText(const std::string& operation, const std::string& utf8) {
  Detail::Find<void (*)(const char*, const char*)>("ZqDoubleScriptText")(operation.c_str(), utf8.c_str());
}
inline void ScriptBody(const std::string& bytes) {
  Detail::Find<void (*)(const char*, std::size_t)>("ZqDoubleScriptBody")(bytes.data(), bytes.size());
}
inline void ScriptResponseValue(std::uintptr_t value) {
  Detail::Find<void (*)(std::uintptr_t)>("ZqDoubleScriptResponseValue")(value);
}

// Returns the log, oldest call first.
inline std::vector<std::string> Calls() {
  auto copyCall = Detail::Find<bool (*)(std::size_t, std::string*)>("ZqDoubleCopyCall");
  std::vector<std::string> calls;
  for (std::string call; copyCall(calls.size(), &call);) calls.push_back(call);
  return calls;
}

// Returns how many objects are made and not yet released.
inline int LiveObjects() { return Detail::Find<int (*)()>("ZqDoubleLiveObjects")(); }

}  // namespace HttpClientDouble

#endif  // OAUTHCLIENT_TESTS_DOUBLE_HTTP_CLIENT_DOUBLE_H
