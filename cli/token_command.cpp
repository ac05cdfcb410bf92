// The token subcommand: fills an ITokenRequest from the options, sends it through IOAuthClient::RequestToken
// and reports the ITokenResponse.
#include "token_command.h"

#include <cstdio>
#include <vector>

#include "exit_codes.h"
#include "form_encoding.h"
#include "header_field.h"
#include "json_writer.h"
#include "transport_settings.h"
#include "wide_text.h"

namespace OAuthClient {
namespace Cli {

namespace {

constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

bool IsLibraryBasicGrant(const std::string& grant) { return grant == "client_credentials" || grant == "password"; }

// The token request with everything this program puts into it, and what the verbose trace shows of it.
struct PreparedTokenRequest {
  Owned<ITokenRequest> request;
  std::vector<HeaderField> sentHeaders;  // the library's own additions first, then the request's header text
  std::string formText;                  // the form text the library will send (in the body or the query)
};

class TokenRequestBuilder {
 public:
  TokenRequestBuilder(const TokenOptions& token, ITokenRequest* request)
      : token_(token),
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
    const bool libraryAuthorizes = IsLibraryBasicGrant(token_.grant) && !ownAuthorization;
    if (!IsLibraryBasicGrant(token_.grant) && !ownAuthorization && !token_.clientId.empty() && HasClientSecret()) {
      const std::string basic = "Basic " + Base64Encode(token_.clientId + ":" + *token_.clientSecret);
      request_->AddHeader(Ascii("Authorization").c_str(), Widen(basic).c_str());
    }
    if (!libraryAuthorizes && token_.method != "GET" && !HasHeaderNamed(token_.headers, "Content-Type"))
      request_->AddHeader(Ascii("Content-Type").c_str(), Ascii(kFormContentType).c_str());
  }

  std::vector<HeaderField> SentHeaders() const {
    std::vector<HeaderField> headers;
    if (IsLibraryBasicGrant(token_.grant) && !HasHeaderNamed(token_.headers, "Authorization")) {
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
    return WideToUtf8(text);
  }

 private:
  static WideString Ascii(const char* ascii) { return Widen(ascii); }

  bool HasClientSecret() const { return token_.clientSecret && !token_.clientSecret->empty(); }

  void SetIfGiven(const std::string& value, std::int32_t (ITokenRequest::*setter)(const WideChar*)) {
    if (!value.empty()) (request_->*setter)(Widen(value).c_str());
  }

  void AddParameter(const std::string& name, const std::string& value) {
    if (libraryEncodesValues_) {
      request_->AddParameter(Widen(name).c_str(), Widen(value).c_str());
    } else {
      request_->AddParameter(Widen(FormUrlEncode(name)).c_str(), Widen(FormUrlEncode(value)).c_str());
    }
  }

  const TokenOptions& token_;
  ITokenRequest* request_;
  bool libraryEncodesValues_;
};

PreparedTokenRequest PrepareTokenRequest(const OAuthLibrary& library, const Invocation& invocation) {
  PreparedTokenRequest prepared{library.CreateTokenRequest(), {}, {}};
  TokenRequestBuilder builder(invocation.token, prepared.request.get());
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

// Sends the request; on 1 *response holds the answer. Prints the failure message otherwise.
std::int32_t SendTokenRequest(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                              Owned<ITokenResponse>* response) {
  PreparedTokenRequest prepared = PrepareTokenRequest(library, invocation);
  LogTokenRequest(log, invocation.token, prepared);
  Owned<IOAuthClient> client = library.CreateClient();
  ITokenResponse* answer = nullptr;
  const std::int32_t result = client->RequestToken(prepared.request.get(), &answer);
  if (result != 1) {
    PrintErrorLine("token request to " + invocation.token.url + " failed: " + DescribeFailedResult(result));
    return result;
  }
  response->reset(answer);
  log.ResponseHeaders(ReadTextProperty(answer, &ITokenResponse::GetHeadersText));
  return result;
}

void AddTextMember(JsonObjectWriter* json, const char* name, ITokenResponse* response,
                   std::int32_t (ITokenResponse::*getter)(const WideChar**)) {
  const WideChar* text = nullptr;
  if ((response->*getter)(&text) == 1 && text != nullptr) json->AddString(name, text);
}

std::string TokenResponseJson(ITokenResponse* response) {
  JsonObjectWriter json;
  json.AddNumber("status", response->GetStatusCode());
  const WideChar* error = nullptr;
  if (response->GetError(&error) == 1) {
    AddTextMember(&json, "error", response, &ITokenResponse::GetError);
    AddTextMember(&json, "error_description", response, &ITokenResponse::GetErrorDescription);
    AddTextMember(&json, "error_uri", response, &ITokenResponse::GetErrorUri);
    AddTextMember(&json, "state", response, &ITokenResponse::GetState);
    return json.Text();
  }
  AddTextMember(&json, "token_type", response, &ITokenResponse::GetTokenType);
  AddTextMember(&json, "access_token", response, &ITokenResponse::GetAccessToken);
  if (response->GetExpiresIn() != 0) json.AddNumber("expires_in", response->GetExpiresIn());
  AddTextMember(&json, "refresh_token", response, &ITokenResponse::GetRefreshToken);
  return json.Text();
}

// The exit code for an answer, with its message on stderr when it is not a success.
int JudgeTokenResponse(ITokenResponse* response, const std::string& url) {
  const std::uint32_t status = response->GetStatusCode();
  const std::string error = ReadTextProperty(response, &ITokenResponse::GetError);
  if (!error.empty()) {
    const std::string description = ReadTextProperty(response, &ITokenResponse::GetErrorDescription);
    PrintErrorLine("the token endpoint refused the request (HTTP " + std::to_string(status) + "): " + error +
                   (description.empty() ? "" : ": " + description));
    return kExitOAuthError;
  }
  if (status >= 400) {
    const std::string reason = ReadTextProperty(response, &ITokenResponse::GetStatusText);
    PrintErrorLine("the token endpoint " + url + " answered HTTP " + std::to_string(status) +
                   (reason.empty() ? "" : " " + reason));
    return kExitHttpError;
  }
  if (ReadTextProperty(response, &ITokenResponse::GetAccessToken).empty()) {
    PrintErrorLine("the token endpoint's reply (HTTP " + std::to_string(status) + ") holds no access token");
    return kExitNoAccessToken;
  }
  return kExitOk;
}

}  // namespace

int RunTokenCommand(const OAuthLibrary& library, const Invocation& invocation) {
  const VerboseLog log(invocation.output.verbose, stderr);
  Owned<ITokenResponse> response;
  const std::int32_t result = SendTokenRequest(library, invocation, log, &response);
  if (result != 1) return ExitCodeForFailedResult(result);
  const std::string output = invocation.output.raw ? ReadTextProperty(response.get(), &ITokenResponse::GetResponseText)
                                                   : TokenResponseJson(response.get()) + "\n";
  std::fwrite(output.data(), 1, output.size(), stdout);
  if (std::fflush(stdout) != 0) {
    PrintErrorLine("cannot write the output");
    return kExitProgramFailure;
  }
  return JudgeTokenResponse(response.get(), invocation.token.url);
}

int ObtainAccessToken(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                      std::string* accessToken) {
  Owned<ITokenResponse> response;
  const std::int32_t result = SendTokenRequest(library, invocation, log, &response);
  if (result != 1) return ExitCodeForFailedResult(result);
  const int verdict = JudgeTokenResponse(response.get(), invocation.token.url);
  if (verdict != kExitOk) return verdict;
  *accessToken = ReadTextProperty(response.get(), &ITokenResponse::GetAccessToken);
  log.Note("obtained an access token (HTTP " + std::to_string(response->GetStatusCode()) + ")");
  return kExitOk;
}

}  // namespace Cli
}  // namespace OAuthClient
