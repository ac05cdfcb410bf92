// Content hashing for the token cache's keys.
#ifndef OAUTH_CLIENT_CLI_CONTENT_HASH_H
#define OAUTH_CLIENT_CLI_CONTENT_HASH_H

#include <optional>
#include <string>
#include <string_view>

namespace OAuthClient {
namespace Cli {

// Returns the SHA-256 of `bytes` in lower-case hex (64 characters), or nothing when the platform's hash
// provider fails. A cryptographic hash, because the hashed text holds the client secret and the password: the
// key must not let anyone who can list the cache folder recover or test them cheaply.
std::optional<std::string> Sha256Hex(std::string_view bytes);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_CONTENT_HASH_H
