// Files only the user may read: the token cache's folder and entries.
#ifndef OAUTH_CLIENT_CLI_PRIVATE_FILE_H
#define OAUTH_CLIENT_CLI_PRIVATE_FILE_H

#include <optional>
#include <string>
#include <string_view>

namespace OAuthClient {
namespace Cli {

// Returns the per-user cache folder of the program: $XDG_CACHE_HOME/oauth-client, else ~/.cache/oauth-client
// (POSIX), %LOCALAPPDATA%\oauth-client (Windows); nothing when neither variable gives a place.
std::optional<std::string> UserCacheFolder();

// Creates `folder` (and its parents) readable only by the user (mode 0700 on POSIX; on Windows the user's
// profile folders already are). Returns whether it exists afterwards.
bool MakePrivateFolder(const std::string& folder);

// Writes `content` to `path` atomically: a temporary file of mode 0600 beside it, flushed, then renamed over
// `path`, so a reader sees the old file or the new one, never a part. Returns false (and leaves `path` as it
// was) on any failure.
bool WritePrivateFileAtomically(const std::string& path, std::string_view content);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_PRIVATE_FILE_H
