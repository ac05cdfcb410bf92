// TransferPool: the process-wide pool of libcurl transfer handles that successive HTTP client objects reuse.
#include "zqhttpclient/transfer_pool.h"

namespace OAuthClient::Http {

void TransferReturner::operator()(Transfer* transfer) const {
  if (pool != nullptr) {
    pool->Return(transfer);
  } else {
    delete transfer;
  }
}

TransferLease TransferPool::Acquire() {
  std::unique_ptr<Transfer> transfer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      transfer = std::move(idle_.back());
      idle_.pop_back();
    }
  }
  if (!transfer) {
    transfer = std::make_unique<Transfer>();
    transfer->easy.reset(curl_easy_init());
    transfer->multi.reset(curl_multi_init());
    if (!transfer->easy || !transfer->multi) return TransferLease(nullptr, TransferReturner{this});
    curl_easy_setopt(transfer->easy.get(), CURLOPT_SHARE, share_);
  }
  return TransferLease(transfer.release(), TransferReturner{this});
}

void TransferPool::Reset(Transfer& transfer) {
  curl_easy_reset(transfer.easy.get());
  curl_easy_setopt(transfer.easy.get(), CURLOPT_SHARE, share_);
  transfer.profile.reset();
  transfer.headerListSet = false;
  transfer.url.clear();
}

void TransferPool::Return(Transfer* raw) {
  std::unique_ptr<Transfer> transfer(raw);
  if (!transfer->easy || !transfer->multi) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (idle_.size() < kMaxIdle) idle_.push_back(std::move(transfer));
}

}  // namespace OAuthClient::Http
