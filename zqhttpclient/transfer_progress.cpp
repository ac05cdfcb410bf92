// The process-wide observer of received response bodies.
#include "zqhttpclient/transfer_progress.h"

#include <atomic>
#include <mutex>

namespace OAuthClient::Http {
namespace {

struct ProgressObserver {
  std::mutex lock;  // held while the observer runs, so that replacing it waits for a call in progress
  TransferProgressObserver observer = nullptr;
  void* context = nullptr;
  std::atomic<bool> present{false};
};

ProgressObserver& TheObserver() {
  static ProgressObserver observer;
  return observer;
}

}  // namespace

void SetProgressObserver(TransferProgressObserver observer, void* context) {
  ProgressObserver& current = TheObserver();
  const std::lock_guard<std::mutex> hold(current.lock);
  current.observer = observer;
  current.context = context;
  current.present.store(observer != nullptr, std::memory_order_release);
}

void ReportBodyProgress(std::uint64_t bodyBytesReceived) {
  ProgressObserver& current = TheObserver();
  if (!current.present.load(std::memory_order_acquire)) return;
  const std::lock_guard<std::mutex> hold(current.lock);
  if (current.observer != nullptr) current.observer(current.context, bodyBytesReceived);
}

}  // namespace OAuthClient::Http
