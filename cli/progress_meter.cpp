// ProgressMeter: live and closing progress lines of a large response body.
#include "progress_meter.h"

#include <cstdio>

namespace OAuthClient {
namespace Cli {

namespace {

#if defined(_WIN32)
constexpr const char* kComponentFileName = "zqhttpclient.dll";
#else
constexpr const char* kComponentFileName = "libzqhttpclient.so";
#endif

// How often the live line is rewritten at most.
constexpr std::chrono::milliseconds kRefreshInterval{250};

double Mebibytes(std::uint64_t bytes) { return static_cast<double>(bytes) / 1048576.0; }

}  // namespace

ProgressMeter::ProgressMeter(const OAuthLibrary& library, bool shown) : shown_(shown) {
  if (!shown_) return;
  // Found by the search the library itself uses, so this is the module it already has or will load; a copy the
  // search cannot find leaves the meter without live figures, nothing more.
  if (!component_.Open(kComponentFileName, LibrarySearch{library.Folder()})) return;
  setObserver_ =
      reinterpret_cast<SetTransferProgressObserverFunction>(component_.FindSymbol("SetTransferProgressObserver"));
  if (setObserver_ != nullptr) setObserver_(&ProgressMeter::OnBodyProgress, this);
}

void ProgressMeter::OnBodyProgress(void* context, std::uint64_t bodyBytesReceived) {
  auto* meter = static_cast<ProgressMeter*>(context);
  if (bodyBytesReceived < kProgressShownFromBytes) return;
  const Clock::time_point now = Clock::now();
  if (meter->lineOpen_ && now - meter->lastShown_ < kRefreshInterval) return;
  meter->lastShown_ = now;
  meter->lineOpen_ = true;
  const double seconds = std::chrono::duration<double>(now - meter->started_).count();
  const double megabytes = Mebibytes(bodyBytesReceived);
  std::fprintf(stderr, "\rreceived %.1f MiB (%.1f MiB/s)   ", megabytes, seconds > 0 ? megabytes / seconds : 0.0);
  std::fflush(stderr);
}

void ProgressMeter::StopObserving() {
  if (setObserver_ != nullptr) setObserver_(nullptr, nullptr);
  setObserver_ = nullptr;
}

void ProgressMeter::Finish(std::uint64_t bodyBytes) {
  StopObserving();
  if (!shown_ || bodyBytes < kProgressShownFromBytes) {
    if (lineOpen_) std::fputs("\n", stderr);
    return;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
  const double megabytes = Mebibytes(bodyBytes);
  std::fprintf(stderr, "%sreceived %.1f MiB in %.1f s (%.1f MiB/s)   \n", lineOpen_ ? "\r" : "", megabytes, seconds,
               seconds > 0 ? megabytes / seconds : megabytes);
}

}  // namespace Cli
}  // namespace OAuthClient
