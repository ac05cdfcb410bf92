// The token subcommand: fills an ITokenRequest from the options, sends it through IOAuthClient::RequestToken
// and reports the ITokenResponse.
#include "token_command.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "apply_transport_settings.h"
#include "common/base64.h"
#include "common/form_url_encoding.h"
#include "exit_codes.h"
#include "header_field.h"
#include "library_text.h"
#include "terminal.h"
#include "token_cache.h"
#include "token_reply.h"

namespace OAuthClient {
namespace Cli {

namespace {

constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

bool IsLibraryBasicGrant(const std::string& grant) { return grant == "client_credentials" || grant == "password"; }

// An answer of the token endpoint, decoded. (The JSON value's destructor only checks its own invariant with an
// assertion; clang-tidy cannot see that it never throws.)
struct FetchedToken {     // NOLINT(bugprone-exception-escape)
  bool answered = false;  // false: the request failed in transport, nothing below is set
  std::uint32_t status = 0;
  std::string replyText;
  JsonObject summary;
};

// The exit code for an answer, with its message on stderr when it is not a success. A token counts only from a
// 2xx answer: a redirect that was not followed may carry anything.
int JudgeTokenReply(const FetchedToken& fetched, const std::string& reason, const std::string& url) {
  const std::string status = std::to_string(fetched.status);
  if (const std::optional<std::string> error = MemberText(fetched.summary, "error")) {
    const std::string description = MemberText(fetched.summary, "error_description").value_or(std::string());
    PrintErrorLine("the token endpoint refused the request (HTTP " + status + "): " + *error +
                   (description.empty() ? "" : ": " + description));
    return kExitOAuthError;
  }
  if (fetched.status < 200 || fetched.status > 299) {
    PrintErrorLine("the token endpoint " + RedactedUrl(url) + " answered HTTP " + status +
                   (reason.empty() ? "" : " " + reason) +
                   (fetched.status < 400 ? "; a token is taken only from a 2xx answer" : ""));
    return kExitHttpError;
  }
  if (!MemberText(fetched.summary, "access_token")) {
    PrintErrorLine("the token endpoint's reply (HTTP " + status + ") holds no access token");
    return kExitNoAccessToken;
  }
  return kExitOk;
}

// The token request with everything this program puts into it, and what the verbose trace shows of it.
struct PreparedTokenRequest {
  ReleasePtr<ITokenRequest> request;
  std::vector<HeaderField> sentHeaders;  // the library's own additions first, then the request's header text
  std::string formText;                  // the form text the library will send (in the body or the query)
};

class TokenRequestBuilder {
 public:
  TokenRequestBuilder(const OAuthLibrary& library, const TokenOptions& token, ITokenRequest* request)
      : library_(library),
        token_(token),
        request_(request),
        libraryEncodesValues_(token.grant == "client_credentials" && token.method == "GET") {}

  void SetProperties() {
    request_->SetUrl(Widen(token_.url).c_str());
    request_->SetMethod(Widen(token_.method).c_str());
    request_->SetGrantType(Widen(token_.grant).c_str());
    SetIfGiven(token_.clientId, &ITokenRequest::SetClientId);
    if (token_.clientSecret) SetIfGiven(*token_.clientSecret, &ITokenRequest::SetClientSecret);
    SetIfGiven(token_.scope, &ITokenRequest::SetScope);
    SetIfGiven(token_.userName, &ITokenRequest::SetUserName);
    if (token_.password) SetIfGiven(*token_.password, &ITokenRequest::SetPassword);
  }

  // The host's own parameters come first: of two of the same name the first one stays.
  void AddParameters() {
    for (const FormParameter& parameter : token_.parameters) AddParameter(parameter.first, parameter.second);
    AddParameter("grant_type", token_.grant);
    if (!token_.scope.empty()) AddParameter("scope", token_.scope);
    if (!token_.userName.empty()) AddParameter("username", token_.userName);
    if (token_.password && !token_.password->empty()) AddParameter("password", *token_.password);
    if (!IsLibraryBasicGrant(token_.grant) && !token_.clientId.empty() && !HasClientSecret())
      AddParameter("client_id", token_.clientId);
  }

  void AddHeaders() {
    for (const HeaderField& header : token_.headers)
      request_->AddHeader(Widen(header.first).c_str(), Widen(header.second).c_str());
    const bool ownAuthorization = HasHeaderNamed(token_.headers, "Authorization");
    const bool libraryAuthorizes = LibraryAuthorizes();
    if (!libraryAuthorizes && !ownAuthorization && !token_.clientId.empty() && HasClientSecret()) {
      const std::string basic = "Basic " + Base64Encode(BasicCredentials());
      request_->AddHeader(OAUTHCLIENT_TEXT("Authorization"), Widen(basic).c_str());
    }
    if (!libraryAuthorizes && token_.method != "GET" && !HasHeaderNamed(token_.headers, "Content-Type"))
      request_->AddHeader(OAUTHCLIENT_TEXT("Content-Type"), OAUTHCLIENT_TEXT("application/x-www-form-urlencoded"));
  }

  std::vector<HeaderField> SentHeaders() const {
    std::vector<HeaderField> headers;
    if (LibraryAuthorizes()) {
      headers.emplace_back("Content-Type", kFormContentType);
      headers.emplace_back("Authorization", std::string("Basic ") + kRedacted);
    }
    const std::vector<HeaderField> own = SplitHeaderText(ReadTextProperty(request_, &ITokenRequest::GetHeadersText));
    headers.insert(headers.end(), own.begin(), own.end());
    return headers;
  }

  // Asks the request for its form text exactly as the library's flow will (it completes the same parameters).
  std::string FormText() const {
    const WideChar* text = nullptr;
    if (request_->GetParametersText(&text, libraryEncodesValues_ ? 1 : 0) != 1) return std::string();
    return Narrow(text);
  }

 private:
  bool HasClientSecret() const { return token_.clientSecret && !token_.clientSecret->empty(); }

  // The library adds the Basic authorization (and the form Content-Type) itself for its own two grants in its
  // own style, unless the request carries an Authorization header.
  bool LibraryAuthorizes() const {
    return IsLibraryBasicGrant(token_.grant) && token_.basicAuth == BasicAuthStyle::kLibrary &&
           !HasHeaderNamed(token_.headers, "Authorization");
  }

  // The bytes that Base64 turns into the Basic credentials, in the chosen style.
  std::string BasicCredentials() const {
    switch (token_.basicAuth) {
      case BasicAuthStyle::kRfc6749:
        return FormUrlEncode(token_.clientId, kStandardFormEncoding) + ":" +
               FormUrlEncode(*token_.clientSecret, kStandardFormEncoding);
      case BasicAuthStyle::kRawUtf8:
        return token_.clientId + ":" + *token_.clientSecret;
      case BasicAuthStyle::kLibrary:
        break;
    }
    return AnsiBytes(token_.clientId + ":" + *token_.clientSecret);
  }

  // The library's own rule for every grant: the text in the ANSI code page. The conversion is the library's,
  // asked through a resource request's body (SetBodyText with Ansi, then GetBody), so that the extension
  // grants encode exactly as client_credentials and password do.
  std::string AnsiBytes(const std::string& utf8) const {
    ReleasePtr<IOAuthRequest> converter = library_.CreateResourceRequest();
    const unsigned char* bytes = nullptr;
    std::uint32_t length = 0;
    if (converter->SetBodyText(Widen(utf8).c_str(), TextEncoding::Ansi) != 1 ||
        converter->GetBody(&bytes, &length) != 1 || bytes == nullptr)
      return utf8;
    return std::string(reinterpret_cast<const char*>(bytes), length);
  }

  void SetIfGiven(const std::string& value, std::int32_t (ITokenRequest::*setter)(const WideChar*)) {
    if (!value.empty()) (request_->*setter)(Widen(value).c_str());
  }

  void AddParameter(const std::string& name, const std::string& value) {
    if (libraryEncodesValues_) {
      request_->AddParameter(Widen(name).c_str(), Widen(value).c_str());
    } else {
      request_->AddParameter(Widen(FormUrlEncode(name, kStandardFormEncoding)).c_str(),
                             Widen(FormUrlEncode(value, kStandardFormEncoding)).c_str());
    }
  }

  const OAuthLibrary& library_;
  const TokenOptions& token_;
  ITokenRequest* request_;
  bool libraryEncodesValues_;
};

PreparedTokenRequest PrepareTokenRequest(const OAuthLibrary& library, const Invocation& invocation) {
  PreparedTokenRequest prepared{library.CreateTokenRequest(), {}, {}};
  TokenRequestBuilder builder(library, invocation.token, prepared.request.get());
  builder.SetProperties();
  builder.AddParameters();
  builder.AddHeaders();
  ApplyTransportSettings(invocation.transport, prepared.request.get());
  prepared.sentHeaders = builder.SentHeaders();
  prepared.formText = builder.FormText();
  return prepared;
}

void LogTokenRequest(const VerboseLog& log, const TokenOptions& token, const PreparedTokenRequest& prepared) {
  if (token.method == "GET") {
    log.Request(token.method, token.url + "?" + prepared.formText, prepared.sentHeaders, nullptr, 0);
  } else {
    log.Request(token.method, token.url, prepared.sentHeaders, &prepared.formText, prepared.formText.size());
  }
}

// Returns the host of an http:// URL in lower case ("" for another scheme or no host).
std::string PlainHttpHost(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.size() < kScheme.size() || !EqualsIgnoringAsciiCase(url.substr(0, kScheme.size()), kScheme)) return "";
  std::string_view authority = url.substr(kScheme.size());
  authority = authority.substr(0, authority.find_first_of("/?#"));
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority;
  if (!host.empty() && host.front() == '[') {
    host = host.substr(0, host.find(']') + 1);
  } else {
    host = host.substr(0, host.find(':'));
  }
  return ToLowerAscii(host);
}

bool IsLoopbackHost(const std::string& host) {
  return host == "localhost" || host == "[::1]" || host.compare(0, 4, "127.") == 0;
}

// Credentials sent over plain http:// to another machine travel in clear: say so (the library stays silent, as
// hosts expect of it).
void WarnOfPlainHttp(const TokenOptions& token) {
  const std::string host = PlainHttpHost(token.url);
  if (!host.empty() && !IsLoopbackHost(host))
    PrintWarningLine("the token request to " + RedactedUrl(token.url) +
                     " goes over plain http://: its credentials travel unencrypted");
}

// Sends the token request and decodes the answer. Returns the exit code; *fetched holds the answer when
// fetched->answered.
int FetchToken(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
               FetchedToken* fetched) {
  WarnOfPlainHttp(invocation.token);
  PreparedTokenRequest prepared = PrepareTokenRequest(library, invocation);
  LogTokenRequest(log, invocation.token, prepared);
  ReleasePtr<IOAuthClient> client = library.CreateClient();
  ITokenResponse* answer = nullptr;
  const std::int32_t result = client->RequestToken(prepared.request.get(), &answer);
  if (result != 1) {
    PrintErrorLine("token request to " + RedactedUrl(invocation.token.url) +
                   " failed: " + DescribeFailedResult(result));
    return ExitCodeForFailedResult(result);
  }
  ReleasePtr<ITokenResponse> response(answer);
  log.ResponseHeaders(ReadTextProperty(answer, &ITokenResponse::GetHeadersText));
  const WideChar* contentType = nullptr;
  if (answer->GetHeader(OAUTHCLIENT_TEXT("Content-Type"), &contentType) != 1) contentType = nullptr;
  fetched->answered = true;
  fetched->status = answer->GetStatusCode();
  fetched->replyText = ReadTextProperty(answer, &ITokenResponse::GetResponseText);
  const TokenReply reply = TokenReply::Decode(fetched->replyText, Narrow(contentType));
  fetched->summary = SummarizeTokenReply(fetched->status, reply, std::time(nullptr));
  return JudgeTokenReply(*fetched, ReadTextProperty(answer, &ITokenResponse::GetStatusText), invocation.token.url);
}

std::unique_ptr<TokenCache> OpenCache(const Invocation& invocation) {
  if (!invocation.cache.enabled) return nullptr;
  std::unique_ptr<TokenCache> cache = TokenCache::Open(invocation.token);
  if (!cache) PrintWarningLine("the token cache folder cannot be used; the token is requested without it");
  return cache;
}

bool WriteOutput(const std::string& output) {
  std::fwrite(output.data(), 1, output.size(), stdout);
  if (std::fflush(stdout) == 0) return true;
  PrintErrorLine("cannot write the output");
  return false;
}

std::string TokenOutput(const Invocation& invocation, const JsonObject& summary, const std::string& replyText) {
  if (invocation.output.raw) {
    // The reply as received; a terminal gets a final line break so that the prompt starts on its own line.
    const bool addLineBreak = IsTerminal(stdout) && (replyText.empty() || replyText.back() != '\n');
    return replyText + (addLineBreak ? "\n" : "");
  }
  if (invocation.command == Command::kHeader) {
    return "Authorization: Bearer " + MemberText(summary, "access_token").value_or(std::string()) + "\n";
  }
  if (!invocation.output.printMember.empty()) {
    const std::optional<std::string> member = MemberText(summary, invocation.output.printMember);
    return member ? *member + "\n" : std::string();
  }
  return JsonText(summary) + "\n";
}

// Only the JSON summary and --raw are printed whatever the answer; the token alone and the header line only
// for a success.
bool PrintsOnlyOnSuccess(const Invocation& invocation) {
  return invocation.command == Command::kHeader || !invocation.output.printMember.empty();
}

}  // namespace

int RunTokenCommand(const OAuthLibrary& library, const Invocation& invocation) {
  const VerboseLog log(invocation.output.verbose, stderr);
  const std::unique_ptr<TokenCache> cache = invocation.output.raw ? nullptr : OpenCache(invocation);
  if (cache) {
    if (const std::optional<JsonObject> cached = cache->Load(std::time(nullptr), invocation.cache.marginSeconds)) {
      log.Note("the access token comes from the cache");
      return WriteOutput(TokenOutput(invocation, *cached, std::string())) ? kExitOk : kExitProgramFailure;
    }
  }
  FetchedToken fetched;
  const int verdict = FetchToken(library, invocation, log, &fetched);
  if (!fetched.answered) return verdict;
  if (verdict == kExitOk && cache) cache->Store(fetched.summary, invocation.token, std::time(nullptr));
  if (verdict != kExitOk && PrintsOnlyOnSuccess(invocation)) return verdict;
  if (!WriteOutput(TokenOutput(invocation, fetched.summary, fetched.replyText))) return kExitProgramFailure;
  if (verdict == kExitOk && !invocation.output.printMember.empty() &&
      !MemberText(fetched.summary, invocation.output.printMember)) {
    PrintErrorLine("the token reply has no member " + invocation.output.printMember);
    return kExitNoAccessToken;
  }
  return verdict;
}

int ObtainAccessToken(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                      ObtainedToken* obtained) {
  const std::unique_ptr<TokenCache> cache = OpenCache(invocation);
  if (cache) {
    const std::optional<JsonObject> cached = cache->Load(std::time(nullptr), invocation.cache.marginSeconds);
    const std::optional<std::string> token = cached ? MemberText(*cached, "access_token") : std::nullopt;
    if (token && *token != obtained->refused) {
      log.Note("the access token comes from the cache");
      obtained->accessToken = *token;
      obtained->fromCache = true;
      return kExitOk;
    }
    if (token) cache->Drop();
  }
  FetchedToken fetched;
  const int verdict = FetchToken(library, invocation, log, &fetched);
  if (verdict != kExitOk) return verdict;
  if (cache) cache->Store(fetched.summary, invocation.token, std::time(nullptr));
  obtained->accessToken = MemberText(fetched.summary, "access_token").value_or(std::string());
  obtained->fromCache = false;
  log.Note("obtained an access token (HTTP " + std::to_string(fetched.status) + ")");
  return kExitOk;
}

}  // namespace Cli
}  // namespace OAuthClient
