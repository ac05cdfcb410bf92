// The component's one export, CreateHttpClient.
#include <new>

#include "oauthclient/http_client.h"
#include "zqhttpclient/curl_runtime.h"
#include "zqhttpclient/http_client.h"
#include "zqhttpclient/module_pin.h"

#if defined(_WIN32)
#define ZQHTTPCLIENT_API __declspec(dllexport)
#else
#define ZQHTTPCLIENT_API __attribute__((visibility("default")))
#endif

// Returns a new HTTP client object with default settings, or null when memory is exhausted. The first call
// initialises libcurl and its shared caches and pins the component in memory (see module_pin.h). Thread-safe.
extern "C" ZQHTTPCLIENT_API OAuthClient::IHttpClient* CreateHttpClient() {
  try {
    OAuthClient::Http::PinComponentInMemory();
    OAuthClient::Http::CurlRuntime::Instance();
    return new OAuthClient::Http::CHttpClient();
  } catch (...) {
    return nullptr;
  }
}
