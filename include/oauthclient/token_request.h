// ITokenRequest: one call to an authorization server's token endpoint, filled by the host and passed to
// IOAuthClient::RequestToken.
#ifndef OAUTHCLIENT_TOKEN_REQUEST_H
#define OAUTHCLIENT_TOKEN_REQUEST_H

#include <cstdint>

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the slots below is the ABI: hosts call them by position. Never reorder, insert or remove.
// No virtual destructor: the object ends through Release.
//
// Results: 1 success, -1 failure. Texts handed out belong to the request and stay valid until the same property
// or cache is set again or the request is released. Text setters copy; a null or empty text gives -1 and keeps
// the old value. The header operations behave exactly as those of IOAuthRequest.
class ITokenRequest {
 public:
  // Removes every header and drops the text last handed out by GetHeadersText.
  virtual void ClearHeaders() = 0;
  // Adds a header or merges it into the line of the same name (ASCII case-insensitive). 1 or -1.
  virtual std::int32_t AddHeader(const WideChar* name, const WideChar* value) = 0;
  // On a match writes the header's value to *out; otherwise leaves *out untouched.
  virtual void GetHeader(const WideChar* name, const WideChar** out) = 0;
  // Adds every line of a CR LF separated header text; -1 and nothing added if any line is malformed.
  virtual std::int32_t AddHeadersText(const WideChar* text) = 0;
  // Writes all headers as one CR LF separated text (null for no headers) to *out.
  virtual void GetHeadersText(const WideChar** out) = 0;
  // Adds a form parameter unless the name is present already (the first value stays). Null arguments are ignored.
  virtual void AddParameter(const WideChar* name, const WideChar* value) = 0;
  // Adds the name=value pieces of an "&"-joined text, undecoded; pieces without "=" are skipped.
  virtual void AddParametersText(const WideChar* text) = 0;
  // Completes grant_type, scope (and username/password for grant types containing "password") and writes the
  // parameters as one form text in name order; values form-URL-encoded when urlEncode is 1. Writes null and
  // gives 1 when there are no parameters; -1 (out untouched) when a value encodes to nothing.
  virtual std::int32_t GetParametersText(const WideChar** out, Bool8 urlEncode) = 0;
  // Removes every parameter, completed ones included.
  virtual void ClearParameters() = 0;
  // Destroys the request and everything it owns.
  virtual void Release() = 0;
  // Transport flag A (ignore certificate errors). The byte is stored as given.
  virtual void SetOptionFlagA(Bool8 value) = 0;
  virtual std::uint32_t GetOptionFlagA() = 0;
  // Transport flag B (follow redirects).
  virtual void SetOptionFlagB(Bool8 value) = 0;
  virtual std::uint32_t GetOptionFlagB() = 0;
  // Proxy URL, user and password; each element follows the set-string rule on its own.
  virtual void SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) = 0;
  // Proxy URL and bypass list.
  virtual void SetStringPair(const WideChar* a, const WideChar* b) = 0;
  // Hands out malloc'ed copies that the caller frees with free; see IOAuthRequest::GetStringTriple.
  virtual void GetStringTriple(WideChar** a, WideChar** b, WideChar** c) = 0;
  virtual void GetStringPair(WideChar** a, WideChar** b) = 0;
  // Connect timeout in milliseconds (0 = default).
  virtual void SetOptionValueA(std::uint32_t value) = 0;
  virtual std::uint32_t GetOptionValueA() = 0;
  // Receive timeout in milliseconds (0 = default).
  virtual void SetOptionValueB(std::uint32_t value) = 0;
  virtual std::uint32_t GetOptionValueB() = 0;
  // Secure protocol: 0 default, 1 TLS 1.0, 2 TLS 1.1, 3 TLS 1.2, 4 TLS 1.3; above 4 the token request fails with -1.
  virtual void SetSecureProtocol(std::uint32_t value) = 0;
  virtual std::uint32_t GetSecureProtocol() = 0;
  // Whole-exchange timeout in milliseconds (0 = default).
  virtual void SetOptionValueC(std::uint32_t value) = 0;
  virtual std::uint32_t GetOptionValueC() = 0;
  // Token endpoint URL.
  virtual std::int32_t SetUrl(const WideChar* url) = 0;
  virtual void GetUrl(const WideChar** out) = 0;
  // HTTP method; "GET" sends the form in the URL's query, anything else as the body.
  virtual std::int32_t SetMethod(const WideChar* method) = 0;
  virtual void GetMethod(const WideChar** out) = 0;
  // Grant type: "client_credentials", "password", or any other (extension) grant type.
  virtual std::int32_t SetGrantType(const WideChar* grantType) = 0;
  virtual void GetGrantType(const WideChar** out) = 0;
  // Client identifier for the Basic client authorization.
  virtual std::int32_t SetClientId(const WideChar* clientId) = 0;
  virtual void GetClientId(const WideChar** out) = 0;
  // Client secret for the Basic client authorization.
  virtual std::int32_t SetClientSecret(const WideChar* clientSecret) = 0;
  virtual void GetClientSecret(const WideChar** out) = 0;
  // Requested scope.
  virtual std::int32_t SetScope(const WideChar* scope) = 0;
  virtual void GetScope(const WideChar** out) = 0;
  // Resource owner's user name (password grant).
  virtual std::int32_t SetUserName(const WideChar* userName) = 0;
  virtual void GetUserName(const WideChar** out) = 0;
  // Resource owner's password (password grant).
  virtual std::int32_t SetPassword(const WideChar* password) = 0;
  virtual void GetPassword(const WideChar** out) = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TOKEN_REQUEST_H
