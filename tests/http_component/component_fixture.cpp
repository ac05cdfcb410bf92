// Test helpers: the HTTP client component loaded by the ordinary loader search, and the test nginx's addresses.
#include "component_fixture.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#else
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace OAuthClient::Testing {
namespace {

#if defined(_WIN32)
// WinHTTP verifies against the Root store, so the test servers' CAs go there, before the process's first TLS
// handshake (Wine reads the store once). Under Wine the store is the test prefix's; no dialog asks.
void TrustTestCas() {
  for (const char* file : {"nginx/ca.pem", "hostile/ca.pem"}) {
    std::ifstream in(RunFile(file));
    if (!in) continue;
    std::stringstream pem;
    pem << in.rdbuf();
    const std::string text = pem.str();
    DWORD size = 0;
    CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr);
    std::vector<BYTE> der(size);
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    const bool added =
        size != 0 && root != nullptr &&
        CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr) &&
        CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size, CERT_STORE_ADD_REPLACE_EXISTING,
                                         nullptr);
    if (root != nullptr) CertCloseStore(root, 0);
    EXPECT_TRUE(added) << "cannot add " << file << " to the Root store";
  }
}

CreateHttpClientFunction LoadFactory() {
  TrustTestCas();
  // The component sits beside the test program, where Windows looks first.
  const HMODULE library = LoadLibraryW(L"zqhttpclient.dll");
  return library == nullptr ? nullptr
                            : reinterpret_cast<CreateHttpClientFunction>(
                                  reinterpret_cast<void*>(GetProcAddress(library, "CreateHttpClient")));
}
#else
CreateHttpClientFunction LoadFactory() {
  void* const library = dlopen("libzqhttpclient.so", RTLD_NOW);
  return library == nullptr ? nullptr
                            : reinterpret_cast<CreateHttpClientFunction>(dlsym(library, "CreateHttpClient"));
}
#endif

}  // namespace

Client NewClient() {
  static const CreateHttpClientFunction factory = LoadFactory();
  EXPECT_NE(factory, nullptr) << "the component or its CreateHttpClient not found";
  Client client(factory != nullptr ? factory() : nullptr);
  EXPECT_NE(client, nullptr);
  return client;
}

void* LibraryExport(const char* name) {
#if defined(_WIN32)
  static const HMODULE library = LoadLibraryW(L"oauthclient.dll");
  return library == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(library, name));
#else
  static void* const library = dlopen("liboauthclient.so", RTLD_NOW);
  return library == nullptr ? nullptr : dlsym(library, name);
#endif
}

bool RunsUnderWine() {
#if defined(_WIN32)
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

bool RunsUnderValgrind() {
  const char* preload = std::getenv("LD_PRELOAD");  // valgrind preloads its vgpreload_*.so into the program
  return preload != nullptr && std::strstr(preload, "vgpreload") != nullptr;
}

void UseCaFile(const char* runFile) {
#if defined(_WIN32)
  static_cast<void>(runFile);  // every test CA is in the Root store already
#else
  if (runFile != nullptr) {
    setenv("SSL_CERT_FILE", RunFile(runFile).c_str(), 1);
  } else {
    unsetenv("SSL_CERT_FILE");
  }
#endif
}

void SetProcessVariable(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value != nullptr ? value : "");
#else
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

std::string RunFile(const std::string& name) {
  const char* dir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  std::string path = std::string(dir != nullptr ? dir : "") + "/" + name;
#if defined(_WIN32)
  // Under Wine the run directory is a Unix path; drive Z: is the Unix root.
  if (path.front() == '/') path.insert(0, "Z:");
#endif
  return path;
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
#if defined(_WIN32)
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  EXPECT_TRUE(started);
  const SOCKET fd = socket(AF_INET, SOCK_STREAM, 0);
  int size = sizeof(sockaddr_in);
#else
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  socklen_t size = sizeof(sockaddr_in);
#endif
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    ADD_FAILURE() << "cannot bind on loopback";
#if defined(_WIN32)
  closesocket(fd);
#else
  close(fd);
#endif
  return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

}  // namespace OAuthClient::Testing
