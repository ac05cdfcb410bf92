// SessionProfile: what a WinHTTP session is opened with, made from an object's settings.
#ifndef ZQHTTPCLIENT_WINHTTP_SESSION_PROFILE_H
#define ZQHTTPCLIENT_WINHTTP_SESSION_PROFILE_H

#include <windows.h>

#include <string>
#include <variant>

#include "zqhttpclient/transport_settings.h"

namespace OAuthClient::Http {

// WinHTTP keeps proxy, TLS versions and its pool of keep-alive connections per session, so requests whose
// profiles are equal share a session and its connections, and requests whose profiles differ never share a
// connection (a connection opened without certificate checks is never reused by a request that checks).
struct SessionProfile {
  std::wstring proxy;       // WinHTTP's "host:port"; empty: direct
  std::wstring bypassList;  // WinHTTP's form: entries separated by ';', "*." wildcards
  DWORD protocols = 0;      // WINHTTP_FLAG_SECURE_PROTOCOL_* bits
  bool ignoreCertificateErrors = false;

  bool operator==(const SessionProfile& other) const {
    return proxy == other.proxy && bypassList == other.bypassList && protocols == other.protocols &&
           ignoreCertificateErrors == other.ignoreCertificateErrors;
  }
};

// Why settings cannot be carried out by WinHTTP; the send fails with kHttpBadProxy rather than going out
// without the proxy.
struct ProxyRefusal {
  std::string text;
};

// Returns the profile for `settings`, or the refusal when the proxy is one WinHTTP cannot use: a socks4,
// socks4a, socks5, socks5h or https proxy URL, or a proxy URL with a user name in it.
//  - "host:port" and http:// URLs name the proxy; without a port, 1080 (as libcurl takes it).
//  - The bypass list's entries ("example.com", ".example.com") also cover the subdomains, as libcurl's do;
//    "*" bypasses everything, so the profile goes direct.
//  - Secure protocol 0 allows TLS 1.2 and 1.3; 3 to 6 exactly TLS 1.0, 1.1, 1.2 or 1.3.
std::variant<SessionProfile, ProxyRefusal> ProfileOf(const TransportSettings& settings);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_WINHTTP_SESSION_PROFILE_H
