// The library's own cost per client_credentials RequestToken, with whatever libzqhttpclient.so the loader finds
// first (the recording double or the silent component of this benchmark; no network either way).
// Usage: token_cost_bench REQUESTS [cold]
//   Without "cold" the benchmark keeps its own load of the component, as a host whose client already made a
//   resource request does, so each request's load is a reference count; with "cold" every request loads and
//   unloads the library. Prints "<requests> <total ns> <ns per request>".
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "oauthclient/oauthclient.h"

int main(int argc, char** argv) {
  using namespace OAuthClient;
  const long requests = argc > 1 ? std::atol(argv[1]) : 100000;
  const bool cold = argc > 2 && std::strcmp(argv[2], "cold") == 0;
  void* hold = cold ? nullptr : dlopen("libzqhttpclient.so", RTLD_NOW);
  if (!cold && hold == nullptr) {
    std::fprintf(stderr, "token_cost_bench: cannot load libzqhttpclient.so\n");
    return 1;
  }

  IOAuthClient* client = CreateOAuthClient();
  ITokenRequest* request = CreateTokenRequest();
  request->SetGrantType(u"client_credentials");
  request->SetMethod(u"POST");
  request->SetUrl(u"https://as.example/oauth/token");
  request->SetClientId(u"demo-client");
  request->SetClientSecret(u"demo-secret");
  request->SetScope(u"read write");

  long failures = 0;
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < requests; ++i) {
    ITokenResponse* response = nullptr;
    if (client->RequestToken(request, &response) != 1) {
      ++failures;
      continue;
    }
    response->Release();
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double ns = static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());

  request->Release();
  client->Release();
  if (hold != nullptr) dlclose(hold);
  if (failures != 0) {
    std::fprintf(stderr, "token_cost_bench: %ld of %ld requests failed\n", failures, requests);
    return 1;
  }
  std::printf("%ld %.0f %.1f\n", requests, ns, requests > 0 ? ns / static_cast<double>(requests) : 0.0);
  return 0;
}
