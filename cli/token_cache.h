// TokenCache: tokens kept on disk between runs (--cache, OAUTH_CLIENT_CACHE=1), one entry per set of token
// options, under the user's cache folder.
#ifndef OAUTH_CLIENT_CLI_TOKEN_CACHE_H
#define OAUTH_CLIENT_CLI_TOKEN_CACHE_H

#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "file_lock.h"
#include "invocation.h"
#include "token_reply.h"

namespace OAuthClient {
namespace Cli {

// The entry of one set of token options, locked for the object's lifetime: a second run with the same options
// waits until this one has stored its token, then finds it, so two concurrent runs make one token request.
//
// The entry's name is the SHA-256 of everything that shapes the token (token URL, method, grant, client id and
// secret, scope, user name and password, every parameter and extra header, the Basic style): the secret and the
// password go into the hash, never into a file in clear. Entries are files of mode 0600 in a folder of mode
// 0700, written atomically.
class TokenCache {
 public:
  // Opens and locks the entry for `token`; nothing when there is no cache folder or it cannot be made.
  static std::unique_ptr<TokenCache> Open(const TokenOptions& token);

  // Returns the stored summary when its token is still good `marginSeconds` after `now`, with expires_in
  // counted down to now.
  std::optional<JsonObject> Load(std::time_t now, std::uint32_t marginSeconds) const;
  // Stores a summary that holds an access token (and an expires_in; one without is not stored). Returns
  // whether it was written.
  bool Store(const JsonObject& summary, const TokenOptions& token, std::time_t now) const;
  // Removes the entry (a token the resource refused).
  void Drop() const;

 private:
  TokenCache(const std::string& path) : path_(path), lock_(path + ".lock") {}

  std::string path_;
  FileLock lock_;
};

// cache list: one line per entry (expiry, token URL with its secrets redacted, client id, grant, scope), no
// token. cache clear: removes every entry. Return the exit code.
int ListTokenCache();
int ClearTokenCache();

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_TOKEN_CACHE_H
