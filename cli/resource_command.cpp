// The get and request subcommands: fill an IOAuthRequest, send it through IOAuthClient::RequestResource and
// write the IResourceResponse.
#include "resource_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "apply_transport_settings.h"
#include "exit_codes.h"
#include "header_field.h"
#include "library_text.h"
#include "program_io.h"
#include "progress_meter.h"
#include "terminal.h"
#include "token_command.h"
#include "verbose_log.h"

namespace OAuthClient {
namespace Cli {

namespace {

std::string ResourceMethod(const ResourceOptions& resource) {
  if (!resource.method.empty()) return resource.method;
  return resource.body && !resource.body->empty() ? "POST" : "GET";
}

ReleasePtr<IOAuthRequest> BuildResourceRequest(const OAuthLibrary& library, const Invocation& invocation,
                                               const std::string& accessToken) {
  const ResourceOptions& resource = invocation.resource;
  ReleasePtr<IOAuthRequest> request = library.CreateResourceRequest();
  request->SetUrl(Widen(resource.url).c_str());
  request->SetMethod(Widen(ResourceMethod(resource)).c_str());
  if (!accessToken.empty()) request->SetAccessToken(Widen(accessToken).c_str());
  for (const HeaderField& header : resource.headers)
    request->AddHeader(Widen(header.first).c_str(), Widen(header.second).c_str());
  if (!resource.contentType.empty())
    request->AddHeader(OAUTHCLIENT_TEXT("Content-Type"), Widen(resource.contentType).c_str());
  if (resource.body && !resource.body->empty()) {
    request->SetBody(reinterpret_cast<const unsigned char*>(resource.body->data()),
                     static_cast<std::uint32_t>(resource.body->size()));
  }
  ApplyTransportSettings(invocation.transport, request.get());
  return request;
}

void LogResourceRequest(const VerboseLog& log, const Invocation& invocation, IOAuthRequest* request) {
  if (!log.IsEnabled()) return;
  std::vector<HeaderField> headers = SplitHeaderText(ReadTextProperty(request, &IOAuthRequest::GetHeadersText));
  if (!HasHeaderNamed(headers, "Authorization"))
    headers.emplace_back("Authorization", std::string("Bearer ") + kRedacted);
  const size_t bodyBytes = invocation.resource.body ? invocation.resource.body->size() : 0;
  log.Request(ResourceMethod(invocation.resource), invocation.resource.url, headers, nullptr, bodyBytes);
}

// -w FORMAT as in curl, for the variables a script needs: %{http_code} (and its other name %{response_code}),
// %{size_download}, "%%" and the escapes \n, \r, \t.
std::string WriteOutText(const std::string& format, std::uint32_t status, std::uint32_t bodyBytes) {
  std::string text;
  for (size_t i = 0; i < format.size(); ++i) {
    const std::string_view rest = std::string_view(format).substr(i);
    if (rest.compare(0, 12, "%{http_code}") == 0) {
      text += std::to_string(status);
      i += 11;
    } else if (rest.compare(0, 16, "%{response_code}") == 0) {
      text += std::to_string(status);
      i += 15;
    } else if (rest.compare(0, 16, "%{size_download}") == 0) {
      text += std::to_string(bodyBytes);
      i += 15;
    } else if (rest.compare(0, 2, "%%") == 0) {
      text += '%';
      ++i;
    } else if (rest.size() >= 2 && rest[0] == '\\' && (rest[1] == 'n' || rest[1] == 'r' || rest[1] == 't')) {
      text += rest[1] == 'n' ? '\n' : rest[1] == 'r' ? '\r' : '\t';
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

// The header block as --include writes it: the text as received, ended by one empty line.
std::string IncludedHeaders(IResourceResponse* response) {
  std::string headers = ReadTextProperty(response, &IResourceResponse::GetHeadersText);
  while (!headers.empty() && (headers.back() == '\r' || headers.back() == '\n')) headers.pop_back();
  return headers + "\r\n\r\n";
}

bool WriteAnswer(const Invocation& invocation, IResourceResponse* response) {
  FilePointer file;
  std::FILE* out = stdout;
  if (!invocation.output.outputFile.empty() && invocation.output.outputFile != "-") {
    file = OpenFile(invocation.output.outputFile, "wb");
    if (!file) {
      PrintErrorLine("cannot write the output file " + invocation.output.outputFile);
      return false;
    }
    out = file.get();
  }
  bool written = true;
  if (invocation.output.include) {
    const std::string headers = IncludedHeaders(response);
    written = std::fwrite(headers.data(), 1, headers.size(), out) == headers.size();
  }
  const unsigned char* body = nullptr;
  std::uint32_t length = 0;
  // --fail: no body for a failed request, so that a script never takes an error page for the resource.
  const bool failed = invocation.output.fail && response->GetStatusCode() >= 400;
  if (written && !failed && response->GetBody(&body, &length) == 1 && body != nullptr)
    written = std::fwrite(body, 1, length, out) == length;
  written = std::fflush(out) == 0 && written;
  if (file) written = std::fclose(file.release()) == 0 && written;
  if (!written) PrintErrorLine("cannot write the response body");
  if (written && !invocation.output.writeOut.empty()) {
    const std::string text = WriteOutText(invocation.output.writeOut, response->GetStatusCode(), length);
    written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  }
  return written;
}

// Sends the resource request with `accessToken`. Returns 1 with *response set, or the failed result.
std::int32_t SendResourceRequest(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                                 const std::string& accessToken, ReleasePtr<IResourceResponse>* response) {
  ReleasePtr<IOAuthRequest> request = BuildResourceRequest(library, invocation, accessToken);
  LogResourceRequest(log, invocation, request.get());
  ReleasePtr<IOAuthClient> client = library.CreateClient();
  IResourceResponse* answer = nullptr;
  const std::int32_t result = client->RequestResource(request.get(), &answer);
  if (result == 1) response->reset(answer);
  return result;
}

}  // namespace

int RunResourceCommand(const OAuthLibrary& library, const Invocation& invocation) {
  const VerboseLog log(invocation.output.verbose, stderr);
  ObtainedToken token;
  token.accessToken = invocation.resource.accessToken.value_or(std::string());
  if (invocation.tokenRequested) {
    const int verdict = ObtainAccessToken(library, invocation, log, &token);
    if (verdict != kExitOk) return verdict;
  }
  ProgressMeter progress(library, !invocation.output.silent && IsTerminal(stderr));
  ReleasePtr<IResourceResponse> response;
  std::int32_t result = SendResourceRequest(library, invocation, log, token.accessToken, &response);
  // A cached token the resource refuses (revoked, or the server restarted) is dropped and replaced, once.
  if (result == 1 && token.fromCache && response->GetStatusCode() == 401) {
    log.Note("the resource refused the cached token (HTTP 401); obtaining a new one");
    token.refused = token.accessToken;
    const int verdict = ObtainAccessToken(library, invocation, log, &token);
    if (verdict != kExitOk) return verdict;
    response.reset();
    result = SendResourceRequest(library, invocation, log, token.accessToken, &response);
  }
  const unsigned char* body = nullptr;
  std::uint32_t length = 0;
  progress.Finish(result == 1 && response->GetBody(&body, &length) == 1 ? length : 0);
  if (result != 1) {
    PrintErrorLine("request to " + RedactedUrl(invocation.resource.url) + " failed: " + DescribeFailedResult(result));
    return ExitCodeForFailedResult(result);
  }
  log.ResponseHeaders(ReadTextProperty(response.get(), &IResourceResponse::GetHeadersText));
  if (!WriteAnswer(invocation, response.get())) return kExitProgramFailure;
  const std::uint32_t status = response->GetStatusCode();
  if (status >= 400) {
    const std::string reason = ReadTextProperty(response.get(), &IResourceResponse::GetStatusText);
    PrintErrorLine(RedactedUrl(invocation.resource.url) + " answered HTTP " + std::to_string(status) +
                   (reason.empty() ? "" : " " + reason));
    return kExitHttpError;
  }
  return kExitOk;
}

}  // namespace Cli
}  // namespace OAuthClient
