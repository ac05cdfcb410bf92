// Test helpers: the HTTP client component loaded by the ordinary loader search, and the test nginx's addresses.
#ifndef TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
#define TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H

#include <memory>
#include <string>
#include <string_view>

#include "oauthclient/http_client.h"

namespace OAuthClient::Testing {

struct ClientReleaser {
  void operator()(IHttpClient* client) const { client->Release(); }
};
using Client = std::unique_ptr<IHttpClient, ClientReleaser>;

// Returns a new object from the component's CreateHttpClient (the component is loaded once, as
// "libzqhttpclient.so", through LD_LIBRARY_PATH). Fails the test when it cannot.
Client NewClient();

// The test nginx (fixture "nginx"): its run directory, ports and CA file.
std::string RunDir();
std::string HttpUrl(std::string_view path);   // "http://127.0.0.1:<port><path>"
std::string HttpsUrl(std::string_view path);  // "https://127.0.0.1:<port><path>"
std::string HttpPort();
std::string CaFile();

// ASCII / UTF-8 test texts to and from the component's UTF-16.
std::u16string U16(std::string_view utf8);
std::string Utf8(const WideChar* text);
const WideChar* W(const std::u16string& text);
inline const WideChar* W(const char16_t* literal) { return reinterpret_cast<const WideChar*>(literal); }

// Returns the body of the last answer as bytes ("" when none).
std::string BodyOf(IHttpClient* client);
// Returns the value of "name: value" in an echo body ("" when the line is absent).
std::string EchoField(const std::string& echo, std::string_view name);
// Returns the request body part of an echo body (everything after the first empty line).
std::string EchoBody(const std::string& echo);

// Sends a GET for `url` and returns the send's result.
std::int32_t Get(IHttpClient* client, const std::string& url);

}  // namespace OAuthClient::Testing

#endif  // TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
