// TransferPool: the process-wide pool of libcurl transfer handles that successive HTTP client objects reuse.
#ifndef ZQHTTPCLIENT_TRANSFER_POOL_H
#define ZQHTTPCLIENT_TRANSFER_POOL_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "zqhttpclient/curl_handles.h"
#include "zqhttpclient/response_capture.h"
#include "zqhttpclient/transfer_profile.h"

namespace OAuthClient::Http {

// One transfer handle: an easy handle and the multi handle that drives it. The multi handle owns the
// connection cache, so a pooled pair keeps its keep-alive connections (and TLS state) from one request to the
// next, the way one long-lived easy handle would. `profile` is what the easy handle is configured with; none after
// a reset or a failed exchange, so that the next user configures it from scratch. `headers` is the header list of
// the last request and `headerLines` the lines it was built from, one per "\n": a request with the same lines
// reuses the list rather than building it again. The list is declared first so that it outlives the easy handle
// that points at it.
struct Transfer {
  // What the libcurl callbacks write into; the handle points at it for as long as the pair lives.
  struct CallbackState {
    ResponseCapture* capture = nullptr;
    bool outOfMemory = false;
    bool requestSent = false;      // the connection (and TLS) stood and the request was about to go out
    curl_off_t bytesReceived = 0;  // header and body bytes handed to the callbacks
  };

  // Both are declared before the easy handle, which points at them, so that they outlive it.
  CallbackState callbacks;
  char errorBuffer[CURL_ERROR_SIZE] = {};  // libcurl writes a failure's message here
  bool headerListSet = false;              // the easy handle points at `headers` (cleared by a reset)
  std::string url;                         // the URL the easy handle holds ("" after a reset)
  SList headers;
  std::string headerLines;
  std::string nextHeaderLines;  // scratch for the next request's lines; keeps its capacity between requests
  EasyHandle easy;
  MultiHandle multi;
  std::optional<TransferProfile> profile;
};

class TransferPool;

// Gives a transfer back to its pool when the lease ends.
struct TransferReturner {
  TransferPool* pool = nullptr;
  void operator()(Transfer* transfer) const;
};
using TransferLease = std::unique_ptr<Transfer, TransferReturner>;

// Hands out transfers last-in first-out, so a single-threaded caller always gets the pair whose connections are
// warm. Thread-safe. At most kMaxIdle idle transfers are kept; more are destroyed (with their connections) on
// return. Every transfer is attached to `share` (DNS cache and TLS sessions, common to all transfers).
class TransferPool {
 public:
  static constexpr std::size_t kMaxIdle = 32;

  explicit TransferPool(CURLSH* share) : share_(share) {}
  TransferPool(const TransferPool&) = delete;
  TransferPool& operator=(const TransferPool&) = delete;

  // Returns an idle transfer as its last user left it (see Transfer::profile), or a new one attached to the
  // share; an empty lease when libcurl cannot make one.
  TransferLease Acquire();

  // Resets the transfer's easy handle to libcurl's defaults, attached to the share again, with no profile.
  void Reset(Transfer& transfer);

 private:
  friend struct TransferReturner;
  void Return(Transfer* raw);

  CURLSH* share_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Transfer>> idle_;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_TRANSFER_POOL_H
