// Redirect policy: whether a redirect is followed, and what the next request carries (method, body, credentials).
#ifndef ZQHTTPCLIENT_REDIRECT_POLICY_H
#define ZQHTTPCLIENT_REDIRECT_POLICY_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace OAuthClient::Http {

// The scheme, host and port of an absolute URL (RFC 6454 section 4): scheme and host lower-cased, the port
// spelled out (80 for http, 443 for https when the URL names none). Two URLs of one origin compare equal.
struct Origin {
  std::string scheme;
  std::string host;
  std::string port;
  bool operator==(const Origin& other) const {
    return scheme == other.scheme && host == other.host && port == other.port;
  }
};

// Returns the origin of an absolute "scheme://authority..." URL, none when it has no authority. Written here
// rather than taken from a transport's URL parser so that every transport compares origins the same way.
std::optional<Origin> OriginOf(std::string_view url);

// One request of a chain of redirects.
struct RedirectHop {
  std::string url;
  std::string method;
  bool sendsBody = false;        // the caller's body goes out with this request
  bool sendsCredentials = true;  // Authorization, Proxy-Authorization and Cookie headers go out with it
};

enum class RedirectAction {
  kAnswer,             // not a redirect to follow: the answer is the final one, as received
  kFollow,             // send `next`
  kUnsupportedScheme,  // the target is not http:// or https://: the send fails with kHttpUnsupportedScheme
};

struct RedirectDecision {
  RedirectAction action = RedirectAction::kAnswer;
  RedirectHop next;
};

// Decides what follows an answer of `status` whose Location resolves to the absolute URL `target` (empty when
// there is none), for the request `current` whose body is `bodyBytes` long:
//  - only 301, 302, 303, 307 and 308 with a target are followed;
//  - 303 turns any method but HEAD into a GET without body, 301 and 302 do so for POST (RFC 9110 section 15.4,
//    as browsers do); other methods and statuses keep the method and the body;
//  - a target on another origin never receives the body or a credential: a redirect that would carry a non-empty
//    body there is not followed (kAnswer, so the 30x reaches the caller as received; a password grant's form must
//    not be re-posted to whoever the server names), and credentials stay dropped for every later hop.
RedirectDecision DecideRedirect(const RedirectHop& current, std::size_t bodyBytes, std::uint32_t status,
                                std::string_view target);

// Returns true for the request headers that carry credentials: Authorization, Proxy-Authorization, Cookie.
bool IsCredentialHeader(std::string_view name);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_REDIRECT_POLICY_H
