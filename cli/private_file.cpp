// Private files and folders on POSIX (modes 0600 / 0700) and Windows (the user's profile).
#include "private_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>

#include "program_io.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace OAuthClient {
namespace Cli {

namespace {

std::string TemporaryName(const std::string& path) {
#if defined(_WIN32)
  return path + ".tmp" + std::to_string(GetCurrentProcessId());
#else
  return path + ".tmp" + std::to_string(getpid());
#endif
}

}  // namespace

std::optional<std::string> UserCacheFolder() {
#if defined(_WIN32)
  const char* base = std::getenv("LOCALAPPDATA");
  if (base == nullptr || *base == '\0') return std::nullopt;
  return std::string(base) + "\\oauth-client";
#else
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg != nullptr && *xdg == '/') return std::string(xdg) + "/oauth-client";  // relative values are ignored
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::nullopt;
  return std::string(home) + "/.cache/oauth-client";
#endif
}

bool MakePrivateFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
#if !defined(_WIN32)
  chmod(folder.c_str(), 0700);
#endif
  return std::filesystem::is_directory(folder, error);
}

bool WritePrivateFileAtomically(const std::string& path, std::string_view content) {
  const std::string temporary = TemporaryName(path);
#if defined(_WIN32)
  FilePointer file = OpenFile(temporary, "wb");
  bool written = file && std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
  written = file && std::fclose(file.release()) == 0 && written;
  written = written && MoveFileExW(WidenPath(temporary).c_str(), WidenPath(path).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (descriptor < 0) return false;
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t count = write(descriptor, content.data() + done, content.size() - done);
    if (count <= 0) break;
    done += static_cast<size_t>(count);
  }
  bool written = done == content.size() && fsync(descriptor) == 0;
  written = close(descriptor) == 0 && written;
  written = written && rename(temporary.c_str(), path.c_str()) == 0;
#endif
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return written;
}

}  // namespace Cli
}  // namespace OAuthClient
