// Command-line parsing: one table of options, each with the subcommands that accept it and what it sets.
//
// The parser is written here rather than built on a library such as CLI11 because its rules are the program's
// own: options apply in the order given to the subcommand's own request (-H and -X name the token request in
// `token` and `header`, the resource request in `get` and `request`), any token option in get/request means
// "obtain a token first", and curl's habits (-vk, -XPOST, -o-, -d @file, repeated -d joined by "&") must work
// exactly as curl users type them. A table and one loop express that more directly than a library's option
// objects with callbacks and post-parse checks.
#include "command_line.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "common/base64.h"
#include "common/form_url_encoding.h"
#include "common/utf8_utf16.h"
#include "header_field.h"
#include "program_io.h"

namespace OAuthClient {
namespace Cli {

namespace {

// Bits of the subcommands an option belongs to.
constexpr unsigned kTokenOnly = 1;
constexpr unsigned kGetOnly = 2;
constexpr unsigned kRequestOnly = 4;
constexpr unsigned kHeaderOnly = 8;
constexpr unsigned kResource = kGetOnly | kRequestOnly;
constexpr unsigned kTokenLike = kTokenOnly | kHeaderOnly;  // the subcommands whose own request is the token request
constexpr unsigned kAll = kTokenLike | kResource;

unsigned CommandBit(Command command) {
  switch (command) {
    case Command::kToken:
      return kTokenOnly;
    case Command::kGet:
      return kGetOnly;
    case Command::kRequest:
      return kRequestOnly;
    case Command::kHeader:
      return kHeaderOnly;
    default:
      return 0;
  }
}

bool IsTokenLike(Command command) { return (CommandBit(command) & kTokenLike) != 0; }

const char* CommandName(Command command) {
  switch (command) {
    case Command::kToken:
      return "token";
    case Command::kGet:
      return "get";
    case Command::kRequest:
      return "request";
    case Command::kHeader:
      return "header";
    case Command::kCache:
      return "cache";
    default:
      return "";
  }
}

// Where each secret came from, so that two sources of the same secret are reported.
struct SecretSources {
  int clientSecret = 0;
  int password = 0;
  int accessToken = 0;
  int proxyUser = 0;
};

struct ParseState {
  Invocation invocation;
  SecretSources sources;
  bool tokenOptionSeen = false;
  bool jsonBody = false;
};

[[noreturn]] void Fail(const ParseState& state, const std::string& message) {
  throw UsageError(state.invocation.command, message);
}

// Reads a whole file; "-" reads standard input. Throws UsageError when it cannot be read.
std::string ReadWholeFile(const ParseState& state, const std::string& path, const char* option) {
  FilePointer owned;
  std::FILE* file = stdin;
  if (path != "-") {
    owned = OpenFile(path, "rb");
    file = owned.get();
    if (file == nullptr) Fail(state, std::string("cannot read the file of ") + option + ": " + path);
  }
  std::string content;
  char buffer[65536];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
  if (std::ferror(file)) Fail(state, std::string("cannot read the file of ") + option + ": " + path);
  return content;
}

// A secret read from a file ends at its first line break, so files written by editors or echo work unchanged.
std::string ReadSecretFile(const ParseState& state, const std::string& path, const char* option) {
  std::string secret = ReadWholeFile(state, path, option);
  const size_t lineEnd = secret.find_first_of("\r\n");
  if (lineEnd != std::string::npos) secret.resize(lineEnd);
  return secret;
}

HeaderField ParseHeader(const ParseState& state, const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) Fail(state, "a header must be given as 'Name: value': " + text);
  const std::string_view field = text;
  HeaderField header{std::string(TrimHttpSpace(field.substr(0, colon))),
                     std::string(TrimHttpSpace(field.substr(colon + 1)))};
  if (!IsHttpToken(header.first)) Fail(state, "not a valid header name: '" + header.first + "'");
  if (header.second.empty()) Fail(state, "the header " + header.first + " has no value");
  if (header.second.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
    Fail(state, "the header " + header.first + " holds a line break");
  return header;
}

// "name=value", or "name=@FILE" for a value read from the first line of FILE ("-" for stdin), so that refresh
// tokens, assertions and the like need not appear on the command line, where every user can read them.
FormParameter ParseParameter(const ParseState& state, const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) Fail(state, "a parameter must be given as name=value: " + text);
  std::string value = text.substr(equals + 1);
  if (!value.empty() && value[0] == '@') value = ReadSecretFile(state, value.substr(1), "--param");
  return {text.substr(0, equals), std::move(value)};
}

// Appends one piece of body, as curl does: repeated -d / --data-urlencode pieces are joined by "&".
void AppendBody(ParseState& state, const std::string& piece, const char* separator = "&") {
  std::optional<std::string>& body = state.invocation.resource.body;
  if (body && !body->empty()) *body += separator;
  body = body.value_or(std::string()) + piece;
}

// -d TEXT, or -d @FILE / -d @- for the bytes of a file or of stdin (curl strips their line breaks; this program
// sends the file as it is, which is what --data-binary does there).
std::string DataArgument(const ParseState& state, const std::string& value) {
  if (!value.empty() && value[0] == '@') return ReadWholeFile(state, value.substr(1), "--data");
  return value;
}

// --data-urlencode as in curl: "content", "=content", "name=content", "@file" or "name@file"; the content is
// form-URL-encoded, the name is sent as given.
std::string UrlEncodedDataArgument(const ParseState& state, const std::string& value) {
  const size_t equals = value.find('=');
  const size_t at = value.find('@');
  if (equals != std::string::npos && (at == std::string::npos || equals < at)) {
    const std::string name = value.substr(0, equals);
    return (name.empty() ? "" : name + "=") + FormUrlEncode(value.substr(equals + 1), kStandardFormEncoding);
  }
  if (at != std::string::npos) {
    const std::string name = value.substr(0, at);
    const std::string content = ReadWholeFile(state, value.substr(at + 1), "--data-urlencode");
    return (name.empty() ? "" : name + "=") + FormUrlEncode(content, kStandardFormEncoding);
  }
  return FormUrlEncode(value, kStandardFormEncoding);
}

BasicAuthStyle ParseBasicAuthStyle(const ParseState& state, const std::string& text) {
  if (text == "library") return BasicAuthStyle::kLibrary;
  if (text == "rfc6749") return BasicAuthStyle::kRfc6749;
  if (text == "raw-utf8") return BasicAuthStyle::kRawUtf8;
  Fail(state, "--basic-auth takes library, rfc6749 or raw-utf8, not '" + text + "'");
}

std::uint32_t ParseTlsVersion(const ParseState& state, const std::string& text) {
  static const char* const kVersions[] = {"1.0", "1.1", "1.2", "1.3"};
  for (std::uint32_t i = 0; i < 4; ++i) {
    if (text == kVersions[i]) return i + 1;
  }
  Fail(state, "--tls takes 1.0, 1.1, 1.2 or 1.3, not '" + text + "'");
}

std::uint32_t ParseTimeout(const ParseState& state, const std::string& text, const char* option) {
  const std::optional<std::uint32_t> milliseconds = ParseDurationMilliseconds(text);
  if (!milliseconds) {
    Fail(state,
         std::string(option) + " takes seconds (\"30\", \"2.5\") or milliseconds (\"500ms\"), not '" + text + "'");
  }
  // 0 means "the default" to the library, so a short but non-zero time must not silently become minutes.
  if (*milliseconds == 0 && text.find_first_of("123456789") != std::string::npos)
    Fail(state, std::string(option) + " " + text + " is shorter than a millisecond; give 1ms or more");
  return *milliseconds;
}

// The libcurl component reads the CA bundle named here from the environment; WinHTTP verifies servers only against
// the Windows certificate store and has no way to take a file, so on Windows the option is refused rather than
// accepted and silently ignored.
std::string CaSource(const ParseState& state, const std::string& value, const char* option) {
#if defined(_WIN32)
  (void)value;
  Fail(state, std::string(option) +
                  " is not available on Windows: servers are verified against the Windows certificate store (add "
                  "the CA there, e.g. certutil -addstore Root ca.pem)");
#else
  (void)state;
  (void)option;
  return value;
#endif
}

void SetProxyUser(ParseState& state, const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
    Fail(state, "--proxy-user must be given as user:password");
  state.invocation.transport.proxyUser = text.substr(0, colon);
  state.invocation.transport.proxyPassword = text.substr(colon + 1);
  ++state.sources.proxyUser;
}

struct OptionDefinition {
  const char* name;  // long name without "--"
  char shortName;    // 0 for none
  bool takesValue;
  unsigned commands;   // bits of the subcommands that accept it
  bool isTokenOption;  // in get/request, giving it means "obtain a token first"
  void (*apply)(ParseState& state, const std::string& value);
};

#define OPTION_HANDLER(body)                        \
  [](ParseState& state, const std::string& value) { \
    (void)value;                                    \
    body;                                           \
  }

const OptionDefinition kOptions[] = {
    // Token endpoint request.
    {"token-url", 0, true, kAll, true, OPTION_HANDLER(state.invocation.token.url = value)},
    {"grant", 0, true, kAll, true, OPTION_HANDLER(state.invocation.token.grant = value)},
    {"client-id", 0, true, kAll, true, OPTION_HANDLER(state.invocation.token.clientId = value)},
    {"client-secret", 0, true, kAll, true, OPTION_HANDLER({
       state.invocation.token.clientSecret = value;
       ++state.sources.clientSecret;
     })},
    {"client-secret-file", 0, true, kAll, true, OPTION_HANDLER({
       state.invocation.token.clientSecret = ReadSecretFile(state, value, "--client-secret-file");
       ++state.sources.clientSecret;
     })},
    {"scope", 0, true, kAll, true, OPTION_HANDLER(state.invocation.token.scope = value)},
    {"username", 0, true, kAll, true, OPTION_HANDLER(state.invocation.token.userName = value)},
    {"password", 0, true, kAll, true, OPTION_HANDLER({
       state.invocation.token.password = value;
       ++state.sources.password;
     })},
    {"password-file", 0, true, kAll, true, OPTION_HANDLER({
       state.invocation.token.password = ReadSecretFile(state, value, "--password-file");
       ++state.sources.password;
     })},
    {"param", 0, true, kAll, true,
     OPTION_HANDLER(state.invocation.token.parameters.push_back(ParseParameter(state, value)))},
    {"token-header", 0, true, kResource, true,
     OPTION_HANDLER(state.invocation.token.headers.push_back(ParseHeader(state, value)))},
    {"token-method", 0, true, kResource, true, OPTION_HANDLER(state.invocation.token.method = value)},
    {"basic-auth", 0, true, kAll, true,
     OPTION_HANDLER(state.invocation.token.basicAuth = ParseBasicAuthStyle(state, value))},
    {"raw", 0, false, kTokenOnly, false, OPTION_HANDLER(state.invocation.output.raw = true)},
    {"print", 0, true, kTokenOnly, false, OPTION_HANDLER(state.invocation.output.printMember = value)},
    {"quiet", 'q', false, kTokenOnly, false, OPTION_HANDLER(state.invocation.output.printMember = "access_token")},
    {"cache", 0, false, kAll, false, OPTION_HANDLER(state.invocation.cache.enabled = true)},
    {"cache-margin", 0, true, kAll, false, OPTION_HANDLER({
       const std::uint32_t milliseconds = ParseTimeout(state, value, "--cache-margin");
       state.invocation.cache.marginSeconds = milliseconds / 1000;
     })},
    // Resource request.
    {"url", 0, true, kResource, false, OPTION_HANDLER(state.invocation.resource.url = value)},
    {"access-token", 0, true, kResource, false, OPTION_HANDLER({
       state.invocation.resource.accessToken = value;
       ++state.sources.accessToken;
     })},
    {"oauth2-bearer", 0, true, kResource, false, OPTION_HANDLER({
       state.invocation.resource.accessToken = value;
       ++state.sources.accessToken;
     })},
    {"access-token-file", 0, true, kResource, false, OPTION_HANDLER({
       state.invocation.resource.accessToken = ReadSecretFile(state, value, "--access-token-file");
       ++state.sources.accessToken;
     })},
    {"data", 'd', true, kRequestOnly, false, OPTION_HANDLER(AppendBody(state, DataArgument(state, value)))},
    {"data-file", 0, true, kRequestOnly, false,
     OPTION_HANDLER(AppendBody(state, ReadWholeFile(state, value, "--data-file")))},
    {"data-urlencode", 0, true, kRequestOnly, false,
     OPTION_HANDLER(AppendBody(state, UrlEncodedDataArgument(state, value)))},
    // --json as in curl: the body as given (pieces joined without a separator), with the JSON Content-Type and
    // Accept headers unless others are given.
    {"json", 0, true, kRequestOnly, false, OPTION_HANDLER({
       AppendBody(state, DataArgument(state, value), "");
       state.jsonBody = true;
     })},
    {"content-type", 0, true, kRequestOnly, false, OPTION_HANDLER(state.invocation.resource.contentType = value)},
    {"include", 'i', false, kResource, false, OPTION_HANDLER(state.invocation.output.include = true)},
    {"output", 'o', true, kResource, false, OPTION_HANDLER(state.invocation.output.outputFile = value)},
    {"fail", 'f', false, kResource, false, OPTION_HANDLER(state.invocation.output.fail = true)},
    {"write-out", 'w', true, kResource, false, OPTION_HANDLER(state.invocation.output.writeOut = value)},
    // Shared by every subcommand; --header and --method name the subcommand's own request.
    {"header", 'H', true, kAll, false, OPTION_HANDLER({
       HeaderField header = ParseHeader(state, value);
       if (IsTokenLike(state.invocation.command)) {
         state.invocation.token.headers.push_back(std::move(header));
       } else {
         state.invocation.resource.headers.push_back(std::move(header));
       }
     })},
    {"method", 'X', true, kTokenLike | kRequestOnly, false, OPTION_HANDLER({
       if (IsTokenLike(state.invocation.command)) {
         state.invocation.token.method = value;
       } else {
         state.invocation.resource.method = value;
       }
     })},
    {"insecure", 'k', false, kAll, false, OPTION_HANDLER(state.invocation.transport.insecure = true)},
    {"follow", 'L', false, kAll, false, OPTION_HANDLER(state.invocation.transport.follow = true)},
    {"connect-timeout", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.connectTimeoutMs = ParseTimeout(state, value, "--connect-timeout"))},
    {"receive-timeout", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.receiveTimeoutMs = ParseTimeout(state, value, "--receive-timeout"))},
    {"timeout", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.timeoutMs = ParseTimeout(state, value, "--timeout"))},
    {"tls", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.secureProtocol = ParseTlsVersion(state, value))},
    {"proxy", 0, true, kAll, false, OPTION_HANDLER(state.invocation.transport.proxy = value)},
    {"proxy-user", 0, true, kAll, false, OPTION_HANDLER(SetProxyUser(state, value))},
    {"proxy-user-file", 0, true, kAll, false,
     OPTION_HANDLER(SetProxyUser(state, ReadSecretFile(state, value, "--proxy-user-file")))},
    {"no-proxy", 0, true, kAll, false, OPTION_HANDLER(state.invocation.transport.noProxy = value)},
    {"cacert", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.caFile = CaSource(state, value, "--cacert"))},
    {"capath", 0, true, kAll, false,
     OPTION_HANDLER(state.invocation.transport.caDirectory = CaSource(state, value, "--capath"))},
    {"verbose", 'v', false, kAll, false, OPTION_HANDLER(state.invocation.output.verbose = true)},
    {"silent", 's', false, kAll, false, OPTION_HANDLER(state.invocation.output.silent = true)},
    {"show-error", 'S', false, kAll, false, OPTION_HANDLER(state.invocation.output.showError = true)},
};

#undef OPTION_HANDLER

const OptionDefinition* FindLongOption(const std::string& name) {
  for (const OptionDefinition& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

const OptionDefinition* FindShortOption(char name) {
  for (const OptionDefinition& option : kOptions) {
    if (option.shortName != 0 && option.shortName == name) return &option;
  }
  return nullptr;
}

std::optional<Command> CommandNamed(const std::string& name) {
  if (name == "token") return Command::kToken;
  if (name == "get") return Command::kGet;
  if (name == "request") return Command::kRequest;
  if (name == "header") return Command::kHeader;
  if (name == "cache") return Command::kCache;
  return std::nullopt;
}

// Applies one option; `inlineValue` is the text after "=" of "--name=value", if any. Returns how many of the
// following arguments it consumed.
size_t ApplyOption(ParseState& state, const OptionDefinition* option, const std::string& shown,
                   const std::optional<std::string>& inlineValue, const std::vector<std::string>& arguments,
                   size_t next) {
  const Command command = state.invocation.command;
  if (option == nullptr) Fail(state, std::string("unknown option ") + shown + " for " + CommandName(command));
  if ((option->commands & CommandBit(command)) == 0)
    Fail(state, std::string("the option ") + shown + " does not apply to " + CommandName(command));
  if (!option->takesValue) {
    if (inlineValue) Fail(state, std::string("the option ") + shown + " takes no value");
    option->apply(state, std::string());
    return 0;
  }
  if (inlineValue) {
    option->apply(state, *inlineValue);
    return 0;
  }
  if (next >= arguments.size()) Fail(state, std::string("the option ") + shown + " needs a value");
  option->apply(state, arguments[next]);
  return 1;
}

void TakeSecretFromEnvironment(const EnvironmentReader& environment, const char* name,
                               std::optional<std::string>* secret) {
  if (*secret) return;
  std::optional<std::string> value = environment(name);
  if (value && !value->empty()) *secret = std::move(*value);
}

void RequireUtf8(const ParseState& state, const std::string& text, const char* what) {
  if (!IsValidUtf8(text)) Fail(state, std::string(what) + " is not valid UTF-8 text");
}

bool HasParameter(const std::vector<FormParameter>& parameters, const char* name) {
  for (const FormParameter& parameter : parameters) {
    if (parameter.first == name) return true;
  }
  return false;
}

void CheckTexts(const ParseState& state) {
  const Invocation& inv = state.invocation;
  const TokenOptions& token = inv.token;
  for (const auto& [text, what] :
       std::initializer_list<std::pair<const std::string&, const char*>>{{token.url, "--token-url"},
                                                                         {token.grant, "--grant"},
                                                                         {token.method, "the token method"},
                                                                         {token.clientId, "--client-id"},
                                                                         {token.scope, "--scope"},
                                                                         {token.userName, "--username"},
                                                                         {inv.resource.url, "the URL"},
                                                                         {inv.resource.method, "--method"},
                                                                         {inv.resource.contentType, "--content-type"},
                                                                         {inv.transport.proxy, "--proxy"},
                                                                         {inv.transport.proxyUser, "--proxy-user"},
                                                                         {inv.transport.proxyPassword, "--proxy-user"},
                                                                         {inv.transport.noProxy, "--no-proxy"},
                                                                         {inv.output.outputFile, "--output"}}) {
    RequireUtf8(state, text, what);
  }
  if (token.clientSecret) RequireUtf8(state, *token.clientSecret, "the client secret");
  if (token.password) RequireUtf8(state, *token.password, "the password");
  if (inv.resource.accessToken) RequireUtf8(state, *inv.resource.accessToken, "the access token");
  for (const FormParameter& parameter : token.parameters) {
    RequireUtf8(state, parameter.first, "--param");
    RequireUtf8(state, parameter.second, "--param");
  }
  for (const HeaderField& header : token.headers) RequireUtf8(state, header.second, "a header value");
  for (const HeaderField& header : inv.resource.headers) RequireUtf8(state, header.second, "a header value");
}

void CheckSecretSources(const ParseState& state) {
  if (state.sources.clientSecret > 1)
    Fail(state, "give the client secret once: --client-secret or --client-secret-file");
  if (state.sources.password > 1) Fail(state, "give the password once: --password or --password-file");
  if (state.sources.accessToken > 1) Fail(state, "give the access token once: --access-token or --access-token-file");
  if (state.sources.proxyUser > 1) Fail(state, "give the proxy user once: --proxy-user or --proxy-user-file");
}

void CheckTransport(const ParseState& state) {
  const TransportOptions& transport = state.invocation.transport;
  if (transport.proxy.empty() && (!transport.proxyUser.empty() || !transport.noProxy.empty()))
    Fail(state, "--proxy-user and --no-proxy need --proxy");
  // The library hands the component either the proxy with its user or the proxy with its bypass list.
  if (!transport.proxyUser.empty() && !transport.noProxy.empty())
    Fail(state, "--proxy-user and --no-proxy cannot be used together");
}

void CheckTokenOptions(const ParseState& state, const char* methodOption) {
  const TokenOptions& token = state.invocation.token;
  if (token.url.empty()) Fail(state, "--token-url is required");
  if (token.grant.empty()) Fail(state, "--grant needs a grant type");
  if (!IsHttpToken(token.method))
    Fail(state, std::string(methodOption) + " is not a valid HTTP method: " + token.method);
  const bool basicByLibrary = token.grant == "client_credentials" || token.grant == "password";
  if ((basicByLibrary || token.basicAuth != BasicAuthStyle::kLibrary) &&
      !HasHeaderNamed(token.headers, "Authorization")) {
    if (token.clientId.empty()) Fail(state, "the " + token.grant + " grant needs --client-id");
    if (!token.clientSecret || token.clientSecret->empty())
      Fail(state, "the " + token.grant +
                      " grant needs the client secret: --client-secret, --client-secret-file or OAUTH_CLIENT_SECRET");
  }
  if (token.grant == "password") {
    if (token.userName.empty() && !HasParameter(token.parameters, "username"))
      Fail(state, "the password grant needs --username");
    if ((!token.password || token.password->empty()) && !HasParameter(token.parameters, "password"))
      Fail(state, "the password grant needs the password: --password, --password-file or OAUTH_PASSWORD");
  }
  // With GET the library form-encodes the client credentials flow's values itself and sends no empty one.
  if (token.grant == "client_credentials" && token.method == "GET") {
    for (const FormParameter& parameter : token.parameters) {
      if (parameter.second.empty()) Fail(state, "with the GET method a parameter needs a value: " + parameter.first);
    }
  }
}

void CheckResourceOptions(const ParseState& state) {
  const Invocation& inv = state.invocation;
  if (inv.resource.url.empty()) Fail(state, "the resource URL is required");
  if (!inv.resource.method.empty() && !IsHttpToken(inv.resource.method))
    Fail(state, "--method is not a valid HTTP method: " + inv.resource.method);
  const bool hasToken = inv.resource.accessToken && !inv.resource.accessToken->empty();
  if (hasToken && state.tokenOptionSeen) Fail(state, "give either --access-token or the token options, not both");
  if (!hasToken && !state.tokenOptionSeen && !HasHeaderNamed(inv.resource.headers, "Authorization"))
    Fail(state, "give --access-token (or OAUTH_ACCESS_TOKEN), or --token-url and the token options");
  if (inv.resource.body && inv.resource.body->size() > 0xFFFFFFFFull) Fail(state, "the body is larger than 4 GiB");
  if (!inv.resource.contentType.empty() && HasHeaderNamed(inv.resource.headers, "Content-Type"))
    Fail(state, "give the content type once: --content-type or --header 'Content-Type: ...'");
  if (state.tokenOptionSeen) CheckTokenOptions(state, "--token-method");
}

void FinishInvocation(ParseState& state, const EnvironmentReader& environment) {
  Invocation& inv = state.invocation;
  CheckSecretSources(state);
  if (state.sources.proxyUser == 0) {
    const std::optional<std::string> proxyUser = environment("OAUTH_PROXY_USER");
    if (proxyUser && !proxyUser->empty() && !inv.transport.proxy.empty()) SetProxyUser(state, *proxyUser);
  }
  if (!inv.cache.enabled) {
    const std::optional<std::string> cache = environment("OAUTH_CLIENT_CACHE");
    inv.cache.enabled = cache && *cache == "1";
  }
  if (state.jsonBody) {
    if (inv.resource.contentType.empty() && !HasHeaderNamed(inv.resource.headers, "Content-Type"))
      inv.resource.contentType = "application/json";
    if (!HasHeaderNamed(inv.resource.headers, "Accept"))
      inv.resource.headers.emplace_back("Accept", "application/json");
  }
  TakeSecretFromEnvironment(environment, "OAUTH_CLIENT_SECRET", &inv.token.clientSecret);
  TakeSecretFromEnvironment(environment, "OAUTH_PASSWORD", &inv.token.password);
  if (inv.command != Command::kToken && !state.tokenOptionSeen)
    TakeSecretFromEnvironment(environment, "OAUTH_ACCESS_TOKEN", &inv.resource.accessToken);
  CheckTexts(state);
  CheckTransport(state);
  if (!inv.output.printMember.empty() && inv.output.raw) Fail(state, "--print and --raw exclude each other");
  if (IsTokenLike(inv.command)) {
    CheckTokenOptions(state, "--method");
  } else {
    CheckResourceOptions(state);
    inv.tokenRequested = state.tokenOptionSeen;
  }
}

// Handles "--help" / "-h" / "--version" / "-V" wherever they appear: they win over everything else.
bool TakeHelpOrVersion(ParseState& state, const std::vector<std::string>& arguments, size_t from) {
  for (size_t i = from; i < arguments.size() && arguments[i] != "--"; ++i) {
    if (arguments[i] == "--help" || arguments[i] == "-h") {
      state.invocation.helpTopic = state.invocation.command;
      state.invocation.command = Command::kHelp;
      return true;
    }
    if (arguments[i] == "--version" || arguments[i] == "-V") {
      state.invocation.command = Command::kVersion;
      return true;
    }
  }
  return false;
}

// Reads the short options of one argument as curl does: flags combine ("-vk"), and an option that takes a value
// takes the rest of the argument ("-XPOST", "-o-") or, when nothing is left, the next argument. Returns how many
// following arguments it consumed.
size_t ApplyShortOptions(ParseState& state, const std::string& argument, const std::vector<std::string>& arguments,
                         size_t next) {
  for (size_t at = 1; at < argument.size(); ++at) {
    const OptionDefinition* option = FindShortOption(argument[at]);
    const std::string shown = std::string("-") + argument[at];
    if (option != nullptr && option->takesValue && at + 1 < argument.size())
      return ApplyOption(state, option, shown, argument.substr(at + 1), arguments, next);
    if (option != nullptr && option->takesValue)
      return ApplyOption(state, option, shown, std::nullopt, arguments, next);
    ApplyOption(state, option, shown, std::nullopt, arguments, next);
  }
  return 0;
}

// cache list | cache clear.
Invocation ParseCacheCommand(ParseState& state, const std::vector<std::string>& arguments) {
  if (arguments.size() != 2 || (arguments[1] != "list" && arguments[1] != "clear"))
    Fail(state, "give 'cache list' or 'cache clear'");
  state.invocation.cache.clear = arguments[1] == "clear";
  return state.invocation;
}

}  // namespace

const char* ProgramName() { return "oauth-client"; }

std::optional<std::string> ReadProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<std::uint32_t> ParseDurationMilliseconds(const std::string& text) {
  std::string number = text;
  std::uint64_t scale = 1000;  // thousandths of the unit, to reach milliseconds
  if (number.size() > 2 && number.compare(number.size() - 2, 2, "ms") == 0) {
    number.resize(number.size() - 2);
    scale = 1;
  } else if (number.size() > 1 && number.back() == 's') {
    number.pop_back();
  }
  if (number.empty() || number.size() > 20) return std::nullopt;
  std::uint64_t whole = 0;
  size_t i = 0;
  for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) whole = whole * 10 + (number[i] - '0');
  if (i == 0 && (i >= number.size() || number[i] != '.')) return std::nullopt;
  // Fraction digits, in millionths of the unit, rounded to the nearest at the end.
  std::uint64_t millionths = 0;
  if (i < number.size()) {
    if (number[i] != '.' || i + 1 == number.size()) return std::nullopt;
    std::uint64_t weight = 100000;
    for (++i; i < number.size(); ++i) {
      if (number[i] < '0' || number[i] > '9') return std::nullopt;
      millionths += static_cast<std::uint64_t>(number[i] - '0') * weight;
      weight /= 10;
    }
  }
  const std::uint64_t milliseconds = whole * scale + (millionths * scale + 500000) / 1000000;
  if (milliseconds > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(milliseconds);
}

Invocation ParseCommandLine(const std::vector<std::string>& arguments, const EnvironmentReader& environment) {
  ParseState state;
  if (arguments.empty()) throw UsageError(Command::kHelp, "no subcommand given");
  const std::string& first = arguments[0];
  if (first == "--help" || first == "-h" || first == "help") {
    state.invocation.command = Command::kHelp;
    if (arguments.size() > 1) {
      const std::optional<Command> topic = CommandNamed(arguments[1]);
      if (!topic) throw UsageError(Command::kHelp, "no help on '" + arguments[1] + "': not a subcommand");
      state.invocation.helpTopic = *topic;
    }
    return state.invocation;
  }
  if (first == "--version" || first == "-V") {
    state.invocation.command = Command::kVersion;
    return state.invocation;
  }
  const std::optional<Command> command = CommandNamed(first);
  if (!command) throw UsageError(Command::kHelp, "unknown subcommand '" + first + "'");
  state.invocation.command = *command;
  if (TakeHelpOrVersion(state, arguments, 1)) return state.invocation;
  if (*command == Command::kCache) return ParseCacheCommand(state, arguments);

  bool optionsEnded = false;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
      const size_t equals = argument.find('=');
      const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      std::optional<std::string> inlineValue;
      if (equals != std::string::npos) inlineValue = argument.substr(equals + 1);
      const OptionDefinition* option = FindLongOption(name);
      if (option != nullptr && option->isTokenOption) state.tokenOptionSeen = true;
      i += ApplyOption(state, option, "--" + name, inlineValue, arguments, i + 1);
    } else if (!optionsEnded && argument.size() >= 2 && argument[0] == '-' && argument[1] != '-') {
      i += ApplyShortOptions(state, argument, arguments, i + 1);
    } else if (!IsTokenLike(state.invocation.command) && state.invocation.resource.url.empty()) {
      state.invocation.resource.url = argument;
    } else {
      Fail(state, "unexpected argument '" + argument + "'");
    }
  }
  FinishInvocation(state, environment);
  return state.invocation;
}

}  // namespace Cli
}  // namespace OAuthClient
