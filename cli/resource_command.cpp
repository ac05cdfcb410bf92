// The get and request subcommands: fill an IOAuthRequest, send it through IOAuthClient::RequestResource and
// write the IResourceResponse.
#include "resource_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "exit_codes.h"
#include "header_field.h"
#include "program_io.h"
#include "token_command.h"
#include "transport_settings.h"
#include "verbose_log.h"
#include "wide_text.h"

namespace OAuthClient {
namespace Cli {

namespace {

std::string ResourceMethod(const ResourceOptions& resource) {
  if (!resource.method.empty()) return resource.method;
  return resource.body && !resource.body->empty() ? "POST" : "GET";
}

Owned<IOAuthRequest> BuildResourceRequest(const OAuthLibrary& library, const Invocation& invocation,
                                          const std::string& accessToken) {
  const ResourceOptions& resource = invocation.resource;
  Owned<IOAuthRequest> request = library.CreateResourceRequest();
  request->SetUrl(Widen(resource.url).c_str());
  request->SetMethod(Widen(ResourceMethod(resource)).c_str());
  if (!accessToken.empty()) request->SetAccessToken(Widen(accessToken).c_str());
  for (const HeaderField& header : resource.headers)
    request->AddHeader(Widen(header.first).c_str(), Widen(header.second).c_str());
  if (!resource.contentType.empty())
    request->AddHeader(Widen("Content-Type").c_str(), Widen(resource.contentType).c_str());
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
  if (!HasHeaderNamed(headers, "Authorization")) headers.emplace_back("Authorization", std::string("Bearer ") + kRedacted);
  const size_t bodyBytes = invocation.resource.body ? invocation.resource.body->size() : 0;
  log.Request(ResourceMethod(invocation.resource), invocation.resource.url, headers, nullptr, bodyBytes);
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
  if (!invocation.output.outputFile.empty()) {
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
  if (written && response->GetBody(&body, &length) == 1 && body != nullptr)
    written = std::fwrite(body, 1, length, out) == length;
  written = std::fflush(out) == 0 && written;
  if (file) written = std::fclose(file.release()) == 0 && written;
  if (!written) PrintErrorLine("cannot write the response body");
  return written;
}

}  // namespace

int RunResourceCommand(const OAuthLibrary& library, const Invocation& invocation) {
  const VerboseLog log(invocation.output.verbose, stderr);
  std::string accessToken = invocation.resource.accessToken.value_or(std::string());
  if (invocation.tokenRequested) {
    const int verdict = ObtainAccessToken(library, invocation, log, &accessToken);
    if (verdict != kExitOk) return verdict;
  }
  Owned<IOAuthRequest> request = BuildResourceRequest(library, invocation, accessToken);
  LogResourceRequest(log, invocation, request.get());
  Owned<IOAuthClient> client = library.CreateClient();
  IResourceResponse* answer = nullptr;
  const std::int32_t result = client->RequestResource(request.get(), &answer);
  if (result != 1) {
    PrintErrorLine("request to " + invocation.resource.url + " failed: " + DescribeFailedResult(result));
    return ExitCodeForFailedResult(result);
  }
  Owned<IResourceResponse> response(answer);
  log.ResponseHeaders(ReadTextProperty(response.get(), &IResourceResponse::GetHeadersText));
  if (!WriteAnswer(invocation, response.get())) return kExitProgramFailure;
  const std::uint32_t status = response->GetStatusCode();
  if (status >= 400) {
    const std::string reason = ReadTextProperty(response.get(), &IResourceResponse::GetStatusText);
    PrintErrorLine(invocation.resource.url + " answered HTTP " + std::to_string(status) +
                   (reason.empty() ? "" : " " + reason));
    return kExitHttpError;
  }
  return kExitOk;
}

}  // namespace Cli
}  // namespace OAuthClient
