// Helpers of the end-to-end tests.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace OAuthClient::E2e {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads the four hex digits of a JSON \u escape; -1 when they are not hex digits.
long HexQuad(std::string_view digits) {
  if (digits.size() < 4) return -1;
  long value = 0;
  for (char d : digits.substr(0, 4)) {
    value <<= 4;
    if (d >= '0' && d <= '9') value |= d - '0';
    else if (d >= 'a' && d <= 'f') value |= d - 'a' + 10;
    else if (d >= 'A' && d <= 'F') value |= d - 'A' + 10;
    else return -1;
  }
  return value;
}

// Decodes the JSON string that starts after the opening quote at json[i]; nullopt when it does not end.
std::optional<std::string> JsonString(std::string_view json, size_t i) {
  std::string out;
  while (i < json.size()) {
    const char c = json[i++];
    if (c == '"') return out;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i >= json.size()) return std::nullopt;
    const char e = json[i++];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'u': {
        long unit = HexQuad(json.substr(i));
        if (unit < 0) return std::nullopt;
        i += 4;
        char32_t c32 = static_cast<char32_t>(unit);
        if (unit >= 0xD800 && unit < 0xDC00 && json.substr(i, 2) == "\\u") {
          const long low = HexQuad(json.substr(i + 2));
          if (low >= 0xDC00 && low < 0xE000) {
            c32 = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
            i += 6;
          }
        }
        AppendUtf8(out, c32);
        break;
      }
      default: out += e; break;  // \" \\ \/
    }
  }
  return std::nullopt;
}

}  // namespace

WideString Wide(std::string_view utf8) {
  WideString out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<WideChar>(0xD800 + (c >> 10));
      out += static_cast<WideChar>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<WideChar>(c);
    }
  }
  return out;
}

std::string Narrow(const WideChar* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const WideChar* p = text; *p != 0; ++p) {
    char32_t c = static_cast<char16_t>(*p);
    if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(p[1]) - 0xDC00);
      ++p;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string ServerBaseUrl(const std::string& name) {
  const char* runDir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  if (runDir == nullptr) {
    ADD_FAILURE() << "OAUTHCLIENT_TEST_RUN_DIR is not set; run the tests through ctest";
    return "";
  }
  const std::string portFile = std::string(runDir) + "/" + name + ".port";
  std::ifstream in(portFile);
  int port = 0;
  if (!(in >> port) || port <= 0) {
    ADD_FAILURE() << "cannot read the port of the " << name << " server from " << portFile;
    return "";
  }
  return "http://127.0.0.1:" + std::to_string(port);
}

int ClosedLoopbackPort() {
#if defined(_WIN32)
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#else
  int s = socket(AF_INET, SOCK_STREAM, 0);
#endif
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
#if defined(_WIN32)
  closesocket(s);
#else
  close(s);
#endif
  return port;
}

std::optional<std::string> JsonMember(std::string_view json, std::string_view name) {
  const std::string key = "\"" + std::string(name) + "\":";
  const size_t at = json.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  size_t i = at + key.size();
  while (i < json.size() && json[i] == ' ') ++i;
  if (i < json.size() && json[i] == '"') return JsonString(json, i + 1);
  const size_t end = json.find_first_of(",}", i);
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(json.substr(i, end - i));
}

TokenOutcome RequestToken(IOAuthClient& client, ITokenRequest& request) {
  ITokenResponse* response = nullptr;
  TokenOutcome outcome;
  outcome.result = client.RequestToken(&request, &response);
  outcome.response.reset(response);
  return outcome;
}

ResourceOutcome RequestResource(IOAuthClient& client, IOAuthRequest& request) {
  IResourceResponse* response = nullptr;
  ResourceOutcome outcome;
  outcome.result = client.RequestResource(&request, &response);
  outcome.response.reset(response);
  return outcome;
}

std::optional<std::string> TokenText(ITokenResponse& response, TokenTextGetter getter) {
  const WideChar* text = nullptr;
  if ((response.*getter)(&text) != 1) return std::nullopt;
  return Narrow(text);
}

std::string BodyOf(IResourceResponse& response) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (response.GetBody(&data, &length) != 1 || data == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

Owned<ITokenRequest> NewTokenRequest(const std::string& url, const std::string& grantType,
                                     const std::string& clientId, const std::string& clientSecret) {
  Owned<ITokenRequest> request(CreateTokenRequest());
  request->SetUrl(Wide(url).c_str());
  request->SetMethod(Wide("POST").c_str());
  if (!grantType.empty()) request->SetGrantType(Wide(grantType).c_str());
  if (!clientId.empty()) request->SetClientId(Wide(clientId).c_str());
  if (!clientSecret.empty()) request->SetClientSecret(Wide(clientSecret).c_str());
  return request;
}

}  // namespace OAuthClient::E2e
