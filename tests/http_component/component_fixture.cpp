// Test helpers: the HTTP client component loaded by the ordinary loader search, and the test nginx's addresses.
#include "component_fixture.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace OAuthClient::Testing {
namespace {

CreateHttpClientFunction Factory() {
  static CreateHttpClientFunction factory = [] {
    void* library = dlopen("libzqhttpclient.so", RTLD_NOW);
    if (library == nullptr) return CreateHttpClientFunction(nullptr);
    return reinterpret_cast<CreateHttpClientFunction>(dlsym(library, "CreateHttpClient"));
  }();
  return factory;
}

std::string ReadFirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

Client NewClient() {
  CreateHttpClientFunction factory = Factory();
  EXPECT_NE(factory, nullptr) << "libzqhttpclient.so not found: " << dlerror();
  if (factory == nullptr) return nullptr;
  Client client(factory());
  EXPECT_NE(client, nullptr);
  return client;
}

std::string RunDir() {
  const char* dir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  return dir != nullptr ? dir : "";
}

std::string HttpPort() { return ReadFirstLine(RunDir() + "/nginx.http.port"); }
std::string HttpUrl(std::string_view path) { return "http://127.0.0.1:" + HttpPort() + std::string(path); }
std::string HttpsUrl(std::string_view path) {
  return "https://127.0.0.1:" + ReadFirstLine(RunDir() + "/nginx.https.port") + std::string(path);
}
std::string CaFile() { return RunDir() + "/nginx/ca.pem"; }

std::u16string U16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t code = b;
    std::size_t n = 1;
    if (b >= 0xF0) { code = b & 0x07; n = 4; }
    else if (b >= 0xE0) { code = b & 0x0F; n = 3; }
    else if (b >= 0xC0) { code = b & 0x1F; n = 2; }
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += n;
  }
  return out;
}

std::string Utf8(const WideChar* text) {
  std::string out;
  if (text == nullptr) return out;
  for (; *text != 0; ++text) {
    char32_t c = static_cast<char16_t>(*text);
    if (c >= 0xD800 && c <= 0xDBFF && text[1] != 0) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[1]) - 0xDC00);
      ++text;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

const WideChar* W(const std::u16string& text) { return reinterpret_cast<const WideChar*>(text.c_str()); }

std::string BodyOf(IHttpClient* client) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (client->GetResponseBody(&data, &length) != kHttpOk || data == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::string EchoField(const std::string& echo, std::string_view name) {
  const std::string key = "\n" + std::string(name) + ": ";
  const std::string text = "\n" + echo;
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return "";
  const std::size_t start = at + key.size();
  return text.substr(start, text.find('\n', start) - start);
}

std::string EchoBody(const std::string& echo) {
  const std::size_t at = echo.find("\n\n");
  return at == std::string::npos ? "" : echo.substr(at + 2);
}

std::int32_t Get(IHttpClient* client, const std::string& url) {
  return client->Send(W(U16("GET")), W(U16(url)));
}

}  // namespace OAuthClient::Testing
