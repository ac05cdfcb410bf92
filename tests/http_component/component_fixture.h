// Test helpers: the HTTP client component loaded by the ordinary loader search, the test nginx's addresses and
// echo pages, text conversions and a bare loopback socket.
#ifndef TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
#define TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "oauthclient/http_client.h"

namespace OAuthClient::Testing {

struct Releaser {
  template <typename T>
  void operator()(T* object) const { object->Release(); }
};
using Client = std::unique_ptr<IHttpClient, Releaser>;

// Returns a new object from the component's CreateHttpClient ("libzqhttpclient.so", found through
// LD_LIBRARY_PATH and loaded once). Fails the test when it cannot.
Client NewClient();

// The test nginx (fixture "nginx"): a file of its run directory (ports, "nginx/ca.pem"), and URLs on 127.0.0.1.
std::string RunFile(const std::string& name);
// The first line of a run directory file (a port).
std::string PortOf(const std::string& file);
std::string HttpsPort();
std::string HttpUrl(std::string_view path);
std::string HttpsUrl(std::string_view path);

// ASCII to the component's UTF-16 and back from it.
inline std::u16string U16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }
inline const WideChar* W(const std::u16string& text) { return reinterpret_cast<const WideChar*>(text.c_str()); }
inline const WideChar* W(const char16_t* literal) { return reinterpret_cast<const WideChar*>(literal); }
inline std::u16string Text(const WideChar* text) {
  return text != nullptr ? reinterpret_cast<const char16_t*>(text) : u"";
}

// The body of the last answer as bytes ("" when none).
std::string BodyOf(IHttpClient* client);
// The value of "name: value" in an echo body ("" when absent), and the request body echoed after the empty line.
std::string EchoField(const std::string& echo, std::string_view name);
std::string EchoBody(const std::string& echo);
// Expects each named field of an echo body to have its value ("": absent or empty).
void ExpectEchoFields(const std::string& echo, std::initializer_list<std::pair<const char*, std::string>> fields);

inline std::int32_t Get(IHttpClient* client, const std::string& url) { return client->Send(W(u"GET"), W(U16(url))); }
inline std::int32_t Send(IHttpClient* client, const char* method, const std::string& url, std::string_view body) {
  return client->SendBytes(W(U16(method)), W(U16(url)), reinterpret_cast<const unsigned char*>(body.data()),
                           static_cast<std::uint32_t>(body.size()));
}

// Returns an http URL of a loopback port that refuses connections (bound a moment ago, never listened on).
std::string ClosedPortUrl();

}  // namespace OAuthClient::Testing

#endif  // TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
