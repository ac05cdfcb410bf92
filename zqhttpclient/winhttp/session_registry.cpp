// SessionRegistry: the process-wide WinHTTP sessions that every HTTP client object sends through.
#include "zqhttpclient/winhttp/session_registry.h"

#include <algorithm>

#include "zqhttpclient/winhttp/winhttp_handle.h"

namespace OAuthClient::Http {
namespace {

bool SetDword(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof(value)) != FALSE;
}

// Windows without TLS 1.3 refuses its flag, so a pin to it fails there. Wine's WinHTTP takes the flag, drops it
// and negotiates TLS 1.2: a pin to TLS 1.3 alone would go out as TLS 1.2, so under Wine it is refused here.
// Wine is recognised by the export its ntdll has and Windows' has not.
bool KeepsTls13Flag() {
  static const bool keeps = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
  }();
  return keeps;
}

}  // namespace

SessionRegistry& SessionRegistry::Instance() {
  static SessionRegistry* const registry = new SessionRegistry();
  return *registry;
}

SharedSession SessionRegistry::Open(const SessionProfile& profile, DWORD* error) {
  // No agent: every request carries the User-Agent header the exchange sets.
  WinHttpHandle session(
      profile.proxy.empty()
          ? WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)
          : WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NAMED_PROXY, profile.proxy.c_str(),
                        profile.bypassList.empty() ? WINHTTP_NO_PROXY_BYPASS : profile.bypassList.c_str(), 0));
  // Redirects are followed by the exchange, which checks each target's scheme and what goes to another host.
  if (!session || !SetDword(session.get(), WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER)) {
    *error = GetLastError();
    return nullptr;
  }
  // The TLS versions are always set: without them WinHTTP may offer versions older than TLS 1.2.
  if (profile.protocols == WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3 && !KeepsTls13Flag()) {
    *error = ERROR_WINHTTP_SECURE_CHANNEL_ERROR;
    return nullptr;
  }
  if (!SetDword(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, profile.protocols)) {
    // Windows before TLS 1.3 support refuses its flag: the default profile then stays at TLS 1.2; a pin to
    // TLS 1.3 alone cannot be kept, and the send fails as a handshake without it would.
    const DWORD withoutTls13 = profile.protocols & ~static_cast<DWORD>(WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3);
    if (withoutTls13 == 0 || withoutTls13 == profile.protocols ||
        !SetDword(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, withoutTls13)) {
      *error = ERROR_WINHTTP_SECURE_CHANNEL_ERROR;
      return nullptr;
    }
  }
  return SharedSession(session.release(), [](void* handle) { WinHttpCloseHandle(handle); });
}

SharedSession SessionRegistry::For(const SessionProfile& profile, DWORD* error) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found =
      std::find_if(sessions_.begin(), sessions_.end(), [&](const auto& entry) { return entry.first == profile; });
  if (found != sessions_.end()) {
    std::rotate(found, found + 1, sessions_.end());
    return sessions_.back().second;
  }
  SharedSession session = Open(profile, error);
  if (!session) return nullptr;
  if (sessions_.size() >= kMaxSessions) sessions_.erase(sessions_.begin());
  sessions_.emplace_back(profile, session);
  return session;
}

}  // namespace OAuthClient::Http
