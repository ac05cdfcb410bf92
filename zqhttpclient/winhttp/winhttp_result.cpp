// Translation of WinHTTP's error codes into the component's HttpClientResult codes and failure texts.
#include "zqhttpclient/winhttp/winhttp_result.h"

#include <winhttp.h>

#include "oauthclient/http_client_codes.h"

namespace OAuthClient::Http {
namespace {

// Winsock's codes that WinHTTP passes on: "timed out" when the response or a body read waits too long, and a
// connection the peer reset or aborted.
constexpr DWORD kSocketTimedOut = 10060;
constexpr DWORD kSocketReset = 10054;
constexpr DWORD kSocketAborted = 10053;

struct Translation {
  std::int32_t result;
  const char* text;
};

Translation Translate(DWORD error, bool viaProxy) {
  switch (error) {
    case ERROR_WINHTTP_INVALID_URL:
      return {kHttpBadUrl, "malformed URL"};
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return {kHttpUnsupportedScheme, "only http and https URLs are allowed"};
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return {kHttpCannotResolve, "could not resolve the host name"};
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return viaProxy ? Translation{kHttpProxyFailed, "could not connect to the proxy"}
                      : Translation{kHttpConnectFailed, "could not connect to the server"};
    case ERROR_WINHTTP_TIMEOUT:
    case kSocketTimedOut:
      return {kHttpTimedOut, "the operation timed out"};
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED:
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED_PROXY:
    case ERROR_WINHTTP_SECURE_FAILURE_PROXY:
      return {kHttpTlsFailed, "the TLS handshake failed"};
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
      return {kHttpCertificateRejected, "the server certificate did not verify"};
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case kSocketReset:
    case kSocketAborted:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case ERROR_WINHTTP_RESEND_REQUEST:
    case ERROR_WINHTTP_CHUNKED_ENCODING_HEADER_SIZE_OVERFLOW:
    case ERROR_WINHTTP_RESPONSE_DRAIN_OVERFLOW:
    case ERROR_WINHTTP_HTTP_PROTOCOL_MISMATCH:
      return {kHttpSendFailed, "the connection broke or the answer was not HTTP"};
    case ERROR_WINHTTP_HEADER_COUNT_EXCEEDED:
    case ERROR_WINHTTP_HEADER_SIZE_OVERFLOW:
      return {kHttpHeaderTooLarge, "the answer's headers exceeded the size limit"};
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_WINHTTP_OUT_OF_HANDLES:
      return {kHttpOutOfMemory, "out of memory"};
    case ERROR_WINHTTP_NOT_INITIALIZED:
    case ERROR_WINHTTP_SHUTDOWN:
      return {kHttpTransportUnavailable, "WinHTTP is not available"};
    default:
      return {kHttpOtherFailure, "transport failure"};
  }
}

}  // namespace

std::int32_t TranslateWinHttpError(DWORD error, bool viaProxy) { return Translate(error, viaProxy).result; }

std::string DescribeWinHttpError(DWORD error, bool viaProxy) {
  return std::string(Translate(error, viaProxy).text) + " (WinHTTP error " + std::to_string(error) + ")";
}

}  // namespace OAuthClient::Http
