// FileLock: an exclusive lock on a lock file, held for the owner's lifetime.
#ifndef OAUTH_CLIENT_CLI_FILE_LOCK_H
#define OAUTH_CLIENT_CLI_FILE_LOCK_H

#include <string>

namespace OAuthClient {
namespace Cli {

// Waits for and holds an exclusive lock on the file `path` (created, mode 0600, when missing). Other processes
// that lock the same file wait until this one ends. The lock ends with the object (or the process).
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Returns whether the lock is held (false when the file could not be opened or locked).
  bool Held() const { return held_; }

 private:
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  bool held_ = false;
};

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_FILE_LOCK_H
