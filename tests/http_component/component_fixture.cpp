// Test helpers: the HTTP client component loaded by the ordinary loader search, and the test nginx's addresses.
#include "component_fixture.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace OAuthClient::Testing {

Client NewClient() {
  static void* const library = dlopen("libzqhttpclient.so", RTLD_NOW);
  const auto factory = library == nullptr ? nullptr
                                          : reinterpret_cast<CreateHttpClientFunction>(dlsym(library, "CreateHttpClient"));
  EXPECT_NE(factory, nullptr) << "libzqhttpclient.so or its CreateHttpClient not found";
  Client client(factory != nullptr ? factory() : nullptr);
  EXPECT_NE(client, nullptr);
  return client;
}

std::string RunFile(const std::string& name) {
  const char* dir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  return std::string(dir != nullptr ? dir : "") + "/" + name;
}

std::string PortOf(const std::string& file) {
  std::ifstream in(RunFile(file));
  std::string line;
  std::getline(in, line);
  return line;
}

std::string HttpsPort() { return PortOf("nginx.https.port"); }
std::string HttpUrl(std::string_view path) { return "http://127.0.0.1:" + PortOf("nginx.http.port") + std::string(path); }
std::string HttpsUrl(std::string_view path) { return "https://127.0.0.1:" + HttpsPort() + std::string(path); }

std::string BodyOf(IHttpClient* client) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (client->GetResponseBody(&data, &length) != kHttpOk || data == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::string EchoField(const std::string& echo, std::string_view name) {
  const std::string key = "\n" + std::string(name) + ": ", text = "\n" + echo;
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return "";
  const std::size_t start = at + key.size();
  return text.substr(start, text.find('\n', start) - start);
}

std::string EchoBody(const std::string& echo) {
  const std::size_t at = echo.find("\n\n");
  return at == std::string::npos ? "" : echo.substr(at + 2);
}

void ExpectEchoFields(const std::string& echo, std::initializer_list<std::pair<const char*, std::string>> fields) {
  for (const auto& [name, value] : fields) EXPECT_EQ(EchoField(echo, name), value) << name << " in " << echo;
}

std::string ClosedPortUrl() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    ADD_FAILURE() << "cannot bind on loopback";
  close(fd);
  return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

}  // namespace OAuthClient::Testing
