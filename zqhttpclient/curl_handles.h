// One-line RAII owners of the libcurl handles the component uses.
#ifndef ZQHTTPCLIENT_CURL_HANDLES_H
#define ZQHTTPCLIENT_CURL_HANDLES_H

#include <curl/curl.h>

#include <memory>

namespace OAuthClient::Http {

struct EasyCleanup {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiCleanup {
  void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct UrlCleanup {
  void operator()(CURLU* h) const { curl_url_cleanup(h); }
};
struct SListCleanup {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct CurlFree {
  void operator()(char* p) const { curl_free(p); }
};

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using UrlHandle = std::unique_ptr<CURLU, UrlCleanup>;
using SList = std::unique_ptr<curl_slist, SListCleanup>;
using CurlString = std::unique_ptr<char, CurlFree>;

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_CURL_HANDLES_H
