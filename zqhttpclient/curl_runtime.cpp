// CurlRuntime: libcurl's process-wide state: its one-time initialisation, the shared caches and the transfer pool.
#include "zqhttpclient/curl_runtime.h"

#include <new>

namespace OAuthClient::Http {

CurlRuntime& CurlRuntime::Instance() {
  // Intentionally leaked (see the class comment); a function-local static makes the first call thread-safe.
  static auto* const runtime = new CurlRuntime();
  return *runtime;
}

CurlRuntime::CurlRuntime() {
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) return;
  share_ = curl_share_init();
  if (share_ == nullptr) return;
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlRuntime::Lock);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlRuntime::Unlock);
  curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  pool_ = new (std::nothrow) TransferPool(share_);
  available_ = pool_ != nullptr;
}

void CurlRuntime::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
  static_cast<CurlRuntime*>(self)->locks_[static_cast<std::size_t>(data)].lock();
}

void CurlRuntime::Unlock(CURL*, curl_lock_data data, void* self) {
  static_cast<CurlRuntime*>(self)->locks_[static_cast<std::size_t>(data)].unlock();
}

}  // namespace OAuthClient::Http
