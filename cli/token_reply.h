// TokenReply: the token endpoint's reply decoded as the server meant it, and the JSON summary this program
// prints of it.
#ifndef OAUTH_CLIENT_CLI_TOKEN_REPLY_H
#define OAUTH_CLIENT_CLI_TOKEN_REPLY_H

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace OAuthClient {
namespace Cli {

// Members in the order the summary prints them.
using JsonObject = nlohmann::ordered_json;

// The members of a token reply. The library's getters hand out member text as the reply spells it (escapes
// included: hosts depend on that), so this program decodes the reply text itself: "ab\/cd" is "ab/cd", an
// error_description holding \" keeps its error code, and arrays or objects before expires_in are skipped.
class TokenReply {
 public:
  // Decodes `text`: a JSON object (RFC 6749 section 5.1), or, when `contentType` is
  // application/x-www-form-urlencoded or the text is not JSON but a form, the form's pairs (some servers
  // answer that way). An undecodable text gives a reply without members.
  static TokenReply Decode(std::string_view text, std::string_view contentType);

  // Returns the text of a string member, a number's decimal text, or nothing.
  std::optional<std::string> Text(const char* name) const;
  // Returns expires_in given as a number or as a decimal string (at least one server sends a string).
  std::optional<std::int64_t> ExpiresIn() const;

 private:
  nlohmann::json members_ = nlohmann::json::object();
};

// Returns the summary of a reply: status, then error, error_description, error_uri and state for an error reply,
// otherwise token_type, access_token, expires_in, expires_at (UTC, RFC 3339, from `now`), refresh_token and
// scope, each when present.
JsonObject SummarizeTokenReply(std::uint32_t status, const TokenReply& reply, std::time_t now);

// Returns `time` as UTC in RFC 3339 form, "2026-12-07T15:30:00Z".
std::string Rfc3339Utc(std::time_t time);

// Returns the summary as one line of JSON (UTF-8; bytes that are not UTF-8 become U+FFFD).
std::string JsonText(const JsonObject& object);

// Returns a member as plain text for --print: a string as it is, anything else as its JSON text.
std::optional<std::string> MemberText(const JsonObject& object, const std::string& name);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_TOKEN_REPLY_H
