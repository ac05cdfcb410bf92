// Translation of libcurl's result codes into the component's HttpClientResult codes.
#ifndef ZQHTTPCLIENT_CURL_RESULT_H
#define ZQHTTPCLIENT_CURL_RESULT_H

#include <curl/curl.h>

#include <cstdint>

namespace OAuthClient::Http {

// What the send loop knows beyond libcurl's code: why it stopped a transfer itself.
struct TransferOutcome {
  CURLcode code = CURLE_OK;
  bool bodyTooLarge = false;           // the response body passed the size cap
  bool receiveTimedOut = false;        // no data arrived for longer than the receive timeout
  bool viaProxy = false;               // a proxy was set for the transfer
  bool headerTooLarge = false;         // the answer's header block passed its size limit
  bool withinResponseHeaders = false;  // the transfer ended between a status line and the end of its headers
};

// Returns kHttpOk for CURLE_OK, else the negative HttpClientResult that names the failure.
std::int32_t TranslateOutcome(const TransferOutcome& outcome);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_CURL_RESULT_H
