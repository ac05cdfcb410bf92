// SessionRegistry: the process-wide WinHTTP sessions that every HTTP client object sends through.
#ifndef ZQHTTPCLIENT_WINHTTP_SESSION_REGISTRY_H
#define ZQHTTPCLIENT_WINHTTP_SESSION_REGISTRY_H

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "zqhttpclient/winhttp/session_profile.h"

namespace OAuthClient::Http {

// A session handle shared by the requests that use it; closed when the registry has dropped it and the last
// request on it has ended.
using SharedSession = std::shared_ptr<void>;

// Made once, on first use, thread-safely, and never destroyed: the component keeps itself loaded (see
// module_pin.h), and closing sessions at process exit while another thread may still send would be worse than
// leaving them to the system. Keeps one session per SessionProfile, so successive objects with the same
// settings reuse its keep-alive connections; the least recently used of more than kMaxSessions is dropped.
class SessionRegistry {
 public:
  static constexpr std::size_t kMaxSessions = 8;

  static SessionRegistry& Instance();

  // Returns the session for `profile`, opening it on first use. Null when WinHTTP refuses, with *error set to
  // GetLastError's code.
  SharedSession For(const SessionProfile& profile, DWORD* error);

 private:
  SessionRegistry() = default;
  static SharedSession Open(const SessionProfile& profile, DWORD* error);

  std::mutex mutex_;
  std::vector<std::pair<SessionProfile, SharedSession>> sessions_;  // the most recently used last
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_SESSION_REGISTRY_H
