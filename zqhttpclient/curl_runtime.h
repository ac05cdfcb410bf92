// CurlRuntime: libcurl's process-wide state: its one-time initialisation, the shared caches and the transfer pool.
#ifndef ZQHTTPCLIENT_CURL_RUNTIME_H
#define ZQHTTPCLIENT_CURL_RUNTIME_H

#include <curl/curl.h>

#include <array>
#include <mutex>

#include "zqhttpclient/transfer_pool.h"

namespace OAuthClient::Http {

// Made once, on first use, thread-safely, and never destroyed: the component keeps itself loaded (see
// module_pin.h), and tearing libcurl down at process exit while another thread may still be inside a transfer
// would be worse than leaving the memory to the system. Holds:
//  - curl_global_init, run once;
//  - a CURLSH that shares the DNS cache and TLS session IDs between all transfers, with one mutex per kind of
//    shared data as its lock callbacks;
//  - the TransferPool, whose transfers keep their own keep-alive connections.
class CurlRuntime {
 public:
  // Returns the runtime, initialising it on first call. Never null.
  static CurlRuntime& Instance();

  // Returns true when libcurl initialised; otherwise every send answers kHttpTransportUnavailable.
  bool Available() const { return available_; }
  TransferPool& Pool() { return *pool_; }

 private:
  CurlRuntime();
  static void Lock(CURL* handle, curl_lock_data data, curl_lock_access access, void* self);
  static void Unlock(CURL* handle, curl_lock_data data, void* self);

  bool available_ = false;
  CURLSH* share_ = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
  TransferPool* pool_ = nullptr;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_CURL_RUNTIME_H
