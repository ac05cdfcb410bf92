// Exit codes and plain-word messages for the library's and the HTTP component's result codes.
#include "exit_codes.h"

#include <cstdio>

#include "oauthclient/http_client_codes.h"
#include "terminal.h"

namespace OAuthClient {
namespace Cli {

int ExitCodeForFailedResult(std::int32_t result) {
  if (result == -1) return kExitNotSent;
  if (result <= -kExitTransportFirst && result >= -kExitTransportLast) return -result;
  return kExitOtherFailure;
}

const char* DescribeFailedResult(std::int32_t result) {
  switch (result) {
    case -1:
      return "the library sent nothing: the HTTP client component is unavailable or the request is incomplete";
    case kHttpBadUrl:
      return "the URL is malformed";
    case kHttpUnsupportedScheme:
      return "the URL is not http:// or https://";
    case kHttpCannotResolve:
      return "the host name could not be resolved";
    case kHttpConnectFailed:
      return "connection refused or could not be made";
    case kHttpTimedOut:
      return "timed out";
    case kHttpTlsFailed:
      return "the TLS handshake failed";
    case kHttpCertificateRejected:
#if defined(_WIN32)
      return "the server certificate was rejected (add its CA to the Windows certificate store; --insecure skips "
             "the check)";
#else
      return "the server certificate was rejected (name its CA with --cacert FILE or --capath DIR; --insecure skips "
             "the check)";
#endif
    case kHttpTooManyRedirects:
      return "too many redirects";
    case kHttpResponseTooLarge:
      return "the response is too large";
    case kHttpProxyFailed:
      return "the proxy refused the connection";
    case kHttpBadArgument:
      return "the method or a header holds characters that cannot be sent";
    case kHttpSendFailed:
      return "the connection broke while sending or receiving, or the answer was not HTTP";
    case kHttpBadProxy:
      return "the proxy URL is malformed";
    case kHttpBadHeader:
      return "a header was refused as malformed";
    case kHttpOutOfMemory:
      return "the transport ran out of memory";
    case kHttpTransportUnavailable:
      return "the transport library could not be initialised";
    case kHttpHeaderTooLarge:
      return "the headers are over the size limit (256 KiB in all, 100 KiB a line in an answer)";
    default:
      return "the transport failed";
  }
}

namespace {

// What -s and -S leave on stderr; the program sets them once, before any message.
bool showErrors = true;
bool showWarnings = true;

void PrintMessage(const char* kind, const std::string& message) {
  const std::string line = "oauth-client: " + std::string(kind) + EscapeControlCharacters(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

void SetMessageLevels(bool errors, bool warnings) {
  showErrors = errors;
  showWarnings = warnings;
}

void PrintErrorLine(const std::string& message) {
  if (showErrors) PrintMessage("", message);
}

void PrintWarningLine(const std::string& message) {
  if (showWarnings) PrintMessage("warning: ", message);
}

}  // namespace Cli
}  // namespace OAuthClient
