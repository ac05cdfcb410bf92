// The component's exports: CreateHttpClient, and SetTransferProgressObserver for hosts that show progress.
#include <new>

#include "oauthclient/http_client.h"
#include "zqhttpclient/exchange.h"
#include "zqhttpclient/http_client.h"
#include "zqhttpclient/module_pin.h"
#include "zqhttpclient/transfer_progress.h"

#if defined(_WIN32)
#define ZQHTTPCLIENT_API __declspec(dllexport)
#else
#define ZQHTTPCLIENT_API __attribute__((visibility("default")))
#endif

// Returns a new HTTP client object with default settings, or null when memory is exhausted. The first call sets
// up the transport's process-wide state (libcurl and its shared caches, or the WinHTTP sessions) and pins the
// component in memory (see module_pin.h). Thread-safe.
extern "C" ZQHTTPCLIENT_API OAuthClient::IHttpClient* CreateHttpClient() {
  try {
    OAuthClient::Http::PinComponentInMemory();
    OAuthClient::Http::PrepareTransport();
    return OAuthClient::Http::CHttpClient::Create();
  } catch (...) {
    return nullptr;
  }
}

// Replaces the process-wide observer of received response bodies (see oauthclient/transfer_progress.h).
extern "C" ZQHTTPCLIENT_API void SetTransferProgressObserver(OAuthClient::TransferProgressObserver observer,
                                                             void* context) {
  OAuthClient::Http::SetProgressObserver(observer, context);
}
