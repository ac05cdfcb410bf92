// FileLock on POSIX (flock) and Windows (LockFileEx).
#include "file_lock.h"

#if defined(_WIN32)
#include <windows.h>

#include "program_io.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace OAuthClient {
namespace Cli {

#if defined(_WIN32)
FileLock::FileLock(const std::string& path) {
  HANDLE file = CreateFileW(WidenPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = file;
  OVERLAPPED whole{};
  held_ = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

FileLock::~FileLock() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));  // closing releases the lock
}
#else
FileLock::FileLock(const std::string& path) {
  descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (descriptor_ < 0) return;
  int result = 0;
  do {
    result = flock(descriptor_, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  held_ = result == 0;
}

FileLock::~FileLock() {
  if (descriptor_ >= 0) close(descriptor_);  // closing releases the lock
}
#endif

}  // namespace Cli
}  // namespace OAuthClient
