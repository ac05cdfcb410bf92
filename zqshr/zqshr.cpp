// The host runtime stand-in: a pre-load check that allows every library except the names a host or a test has
// asked it to refuse.
#include <mutex>
#include <set>
#include <string>

#include "oauthclient/host_runtime.h"

namespace {

// Windows file names ignore letter case; ASCII folding is enough for the names the library asks about.
std::u16string FoldFileName(const OAuthClient::WideChar* fileName) {
  std::u16string folded;
  for (const OAuthClient::WideChar* unit = fileName; *unit != 0; ++unit) {
    auto c = static_cast<char16_t>(*unit);
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
    folded.push_back(c);
  }
  return folded;
}

// The refused names, folded. Hosts may load libraries from several threads, so every access is locked.
class RefusedNames {
 public:
  // The name is folded only when something is refused, so the usual check (nothing refused) allocates nothing.
  bool Refuses(const OAuthClient::WideChar* fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    return !names_.empty() && names_.count(FoldFileName(fileName)) != 0;
  }
  void Set(std::u16string name, bool refuse) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (refuse) {
      names_.insert(std::move(name));
    } else {
      names_.erase(name);
    }
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    names_.clear();
  }

 private:
  std::mutex mutex_;
  std::set<std::u16string> names_;
};

// Built on first use and destroyed when the library unloads, so a host that loads and unloads the library
// repeatedly loses nothing.
RefusedNames& Refused() {
  static RefusedNames names;
  return names;
}

}  // namespace

extern "C" {

ZQSHR_API int ZqshrPreloadCheck(const OAuthClient::WideChar* fileName) {
  if (fileName == nullptr) return 1;
  try {
    return Refused().Refuses(fileName) ? 0 : 1;
  } catch (...) {
    // Out of memory while folding: no refusal can be matched, and an exception must not cross the C boundary.
    return 1;
  }
}

ZQSHR_API void ZqshrSetRefused(const OAuthClient::WideChar* fileName, int refuse) {
  try {
    if (fileName == nullptr) {
      Refused().Clear();
    } else {
      Refused().Set(FoldFileName(fileName), refuse != 0);
    }
  } catch (...) {
    // Out of memory: the refusal is not recorded; an exception must not cross the C boundary.
  }
}

}  // extern "C"
