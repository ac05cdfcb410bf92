// Test helpers: the HTTP client component loaded by the ordinary loader search, the test nginx's addresses and
// echo pages, text conversions and a bare loopback socket.
#ifndef TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
#define TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "oauthclient/http_client.h"
#include "oauthclient/release_ptr.h"

namespace OAuthClient::Testing {

using Client = ReleasePtr<IHttpClient>;

// Returns a new object from the component's CreateHttpClient ("libzqhttpclient.so", found through
// LD_LIBRARY_PATH, or "zqhttpclient.dll" beside the program; loaded once). Fails the test when it cannot. On
// Windows the first call adds the test servers' CAs to the Root store, which WinHTTP verifies against.
Client NewClient();

// Returns an export of the library (liboauthclient.so / oauthclient.dll, loaded by name once), null when absent.
void* LibraryExport(const char* name);

// The CA that verifies test servers: a run directory file ("nginx/ca.pem"), or null for the system's store.
// POSIX: SSL_CERT_FILE, which the libcurl component reads at each send. Windows: nothing to do, the CAs are in
// the Root store from the start.
void UseCaFile(const char* runFile);
// Sets a variable of the process environment, or removes it (nullptr).
void SetProcessVariable(const char* name, const char* value);

// Returns true in a Windows build run by Wine, whose WinHTTP cannot do everything Windows' does.
bool RunsUnderWine();
// Returns whether the test runs under valgrind, which slows a TLS handshake tenfold or more.
bool RunsUnderValgrind();

// The test nginx (fixture "nginx"): a file of its run directory (ports, "nginx/ca.pem"), and URLs on 127.0.0.1.
std::string RunFile(const std::string& name);
// The first line of a run directory file (a port).
std::string PortOf(const std::string& file);
std::string HttpsPort();
std::string HttpUrl(std::string_view path);
std::string HttpsUrl(std::string_view path);

// Literals in the interface's character type (u"" on POSIX, L"" on Windows), ASCII widened, and a text handed
// out as a value ("" for null).
#define WIDE(literal) OAUTHCLIENT_TEXT(literal)
inline WideString Wide(std::string_view ascii) { return WideString(ascii.begin(), ascii.end()); }
inline WideString Text(const WideChar* text) { return text != nullptr ? WideString(text) : WideString(); }

// The body of the last answer as bytes ("" when none).
std::string BodyOf(IHttpClient* client);
// The value of "name: value" in an echo body ("" when absent), and the request body echoed after the empty line.
std::string EchoField(const std::string& echo, std::string_view name);
std::string EchoBody(const std::string& echo);
// Expects each named field of an echo body to have its value ("": absent or empty).
void ExpectEchoFields(const std::string& echo, std::initializer_list<std::pair<const char*, std::string>> fields);

inline std::int32_t Get(IHttpClient* client, const std::string& url) {
  return client->Send(WIDE("GET"), Wide(url).c_str());
}
inline std::int32_t Send(IHttpClient* client, const char* method, const std::string& url, std::string_view body) {
  return client->SendBytes(Wide(method).c_str(), Wide(url).c_str(),
                           reinterpret_cast<const unsigned char*>(body.data()), static_cast<std::uint32_t>(body.size()));
}

// Returns an http URL of a loopback port that refuses connections (bound a moment ago, never listened on).
std::string ClosedPortUrl();

}  // namespace OAuthClient::Testing

#endif  // TESTS_HTTP_COMPONENT_COMPONENT_FIXTURE_H
