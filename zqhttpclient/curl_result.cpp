// Translation of libcurl's result codes into the component's HttpClientResult codes.
#include "zqhttpclient/curl_result.h"

#include "oauthclient/http_client_codes.h"

namespace OAuthClient::Http {

std::int32_t TranslateOutcome(const TransferOutcome& outcome) {
  if (outcome.bodyTooLarge) return kHttpResponseTooLarge;
  if (outcome.headerTooLarge) return kHttpHeaderTooLarge;
  if (outcome.receiveTimedOut) return kHttpTimedOut;
  switch (outcome.code) {
    case CURLE_OK:
      return kHttpOk;
    // The request URL and every redirect target were checked before libcurl saw them, so "unsupported protocol"
    // comes from the answer: libcurl reports a reply that is not HTTP/1.x (garbage, HTTP/0.9) that way.
    case CURLE_UNSUPPORTED_PROTOCOL:
      return kHttpSendFailed;
    case CURLE_URL_MALFORMAT:
      return kHttpBadUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return kHttpCannotResolve;
    case CURLE_COULDNT_CONNECT:
      return outcome.viaProxy ? kHttpProxyFailed : kHttpConnectFailed;
    case CURLE_PROXY:
      return kHttpProxyFailed;
    case CURLE_OPERATION_TIMEDOUT:
      return kHttpTimedOut;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CLIENTCERT:
      return kHttpTlsFailed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return kHttpCertificateRejected;
    case CURLE_TOO_MANY_REDIRECTS:
      return kHttpTooManyRedirects;
    case CURLE_FILESIZE_EXCEEDED:
      return kHttpResponseTooLarge;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_SEND_FAIL_REWIND:
      return kHttpSendFailed;
    // libcurl refuses a header line over its limit (100 KiB) as "out of memory"; the line never reaches the
    // capture, which only sees that its block did not end.
    case CURLE_OUT_OF_MEMORY:
      return outcome.withinResponseHeaders ? kHttpHeaderTooLarge : kHttpOutOfMemory;
#if LIBCURL_VERSION_NUM >= 0x080600
    case CURLE_TOO_LARGE:
      return kHttpHeaderTooLarge;
#endif
    case CURLE_FAILED_INIT:
      return kHttpTransportUnavailable;
    default:
      return kHttpOtherFailure;
  }
}

}  // namespace OAuthClient::Http
