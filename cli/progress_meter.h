// ProgressMeter: the bytes received and the rate of a large response body, on stderr when it is a terminal.
#ifndef OAUTH_CLIENT_CLI_PROGRESS_METER_H
#define OAUTH_CLIENT_CLI_PROGRESS_METER_H

#include <chrono>
#include <cstdint>

#include "common/shared_library.h"
#include "oauth_library.h"
#include "oauthclient/transfer_progress.h"

namespace OAuthClient {
namespace Cli {

// Bodies from this size up get a progress line: smaller ones arrive before a reader could see one.
inline constexpr std::uint64_t kProgressShownFromBytes = 4u << 20;

// While it lives, a body of kProgressShownFromBytes or more shows "received N MiB (R MiB/s)" on stderr, rewritten
// in place a few times a second; Finish ends it with the total and the mean rate. The library hands a body over
// only once it is complete, so the live figures come from the HTTP component's progress export, looked up in the
// component module the library uses (the same file name and search). Shows nothing when `shown` is false (stderr
// not a terminal, or -s), and only the closing line with a component that lacks the export.
class ProgressMeter {
 public:
  ProgressMeter(const OAuthLibrary& library, bool shown);
  ~ProgressMeter() { StopObserving(); }
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  // Stops the live line and, for a large body of `bodyBytes`, writes the closing line.
  void Finish(std::uint64_t bodyBytes);

 private:
  static void OnBodyProgress(void* context, std::uint64_t bodyBytesReceived);
  void StopObserving();

  using Clock = std::chrono::steady_clock;
  bool shown_;
  Clock::time_point started_ = Clock::now();
  Clock::time_point lastShown_{};
  bool lineOpen_ = false;  // a live line was written and not yet ended
  SharedLibrary component_;
  SetTransferProgressObserverFunction setObserver_ = nullptr;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_PROGRESS_METER_H
