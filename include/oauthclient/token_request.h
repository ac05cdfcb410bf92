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
// the old value. The header operations behave exactly as those of IOAuthRequest. A null out-pointer is never
// written to. The only texts the caller owns are the copies of GetStringTriple / GetStringPair: they come from
// CoTaskMemAlloc on Windows and malloc on POSIX, and the caller frees them with FreeCallerCopy
// (oauthclient/caller_copy.h), or passes them back to the same getter, which frees them before it hands out new
// copies.
class ITokenRequest {
 public:
  // Removes every header and drops the text last handed out by GetHeadersText.
  virtual void ClearHeaders() = 0;
  // Adds a header or merges it into the line of the same name (ASCII case-insensitive). 1 or -1.
  // Headers travel to the HTTP component as lines of one text: a CR or LF inside a value splits it into lines of
  // their own, and the component refuses the request (kHttpBadHeader) when such a line is malformed or would
  // change the framing (Content-Length, Transfer-Encoding).
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
  // Completes grant_type, scope (and username/password for grant types containing "password") unless the host gave
  // them, and writes the parameters as one form text in name order; values form-URL-encoded when urlEncode is not 0.
  // Writes null and gives 1 when there are no parameters; -1 (out untouched) when a value encodes to nothing.
  virtual std::int32_t GetParametersText(const WideChar** out, Bool8 urlEncode) = 0;
  // Removes every parameter, completed ones included, and drops the text last handed out by GetParametersText.
  virtual void ClearParameters() = 0;
  // Destroys the request and everything it owns.
  virtual void Release() = 0;
  // Stores transport flag A (ignore server certificate errors when non-zero); any byte, unchanged.
  virtual void SetOptionFlagA(Bool8 value) = 0;
  // Returns the byte stored as flag A (0 for a new request).
  virtual std::uint32_t GetOptionFlagA() = 0;
  // Stores transport flag B (follow redirects when non-zero); any byte, unchanged.
  virtual void SetOptionFlagB(Bool8 value) = 0;
  // Returns the byte stored as flag B.
  virtual std::uint32_t GetOptionFlagB() = 0;
  // Stores the proxy URL, user and password; each element follows the set-string rule on its own.
  virtual void SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) = 0;
  // Stores the proxy URL and bypass list; each element follows the set-string rule on its own.
  virtual void SetStringPair(const WideChar* a, const WideChar* b) = 0;
  // Hands out caller-owned copies of the three texts (free them with FreeCallerCopy); a set element first frees
  // what its out-argument holds, an unset one leaves it as it was. See IOAuthRequest::GetStringTriple.
  virtual void GetStringTriple(WideChar** a, WideChar** b, WideChar** c) = 0;
  // Hands out caller-owned copies of the two texts, as GetStringTriple does (free them with FreeCallerCopy).
  virtual void GetStringPair(WideChar** a, WideChar** b) = 0;
  // Stores the connect timeout in milliseconds (0 = default); any value, unchanged.
  virtual void SetOptionValueA(std::uint32_t value) = 0;
  // Returns the connect timeout as stored.
  virtual std::uint32_t GetOptionValueA() = 0;
  // Stores the receive timeout in milliseconds (0 = default); any value, unchanged.
  virtual void SetOptionValueB(std::uint32_t value) = 0;
  // Returns the receive timeout as stored.
  virtual std::uint32_t GetOptionValueB() = 0;
  // Stores the secure protocol: 0 default, 1 TLS 1.0, 2 TLS 1.1, 3 TLS 1.2, 4 TLS 1.3. Any value is stored
  // unchanged; a token request sent with a value above 4 fails with -1.
  virtual void SetSecureProtocol(std::uint32_t value) = 0;
  // Returns the secure protocol as stored.
  virtual std::uint32_t GetSecureProtocol() = 0;
  // Stores the whole-exchange timeout in milliseconds (0 = default); any value, unchanged.
  virtual void SetOptionValueC(std::uint32_t value) = 0;
  // Returns the whole-exchange timeout as stored.
  virtual std::uint32_t GetOptionValueC() = 0;
  // Stores the token endpoint URL. 1 or -1.
  virtual std::int32_t SetUrl(const WideChar* url) = 0;
  // Writes the token endpoint URL (null when unset) to *out.
  virtual void GetUrl(const WideChar** out) = 0;
  // Stores the HTTP method; "GET" sends the form in the URL's query, anything else as the body. 1 or -1.
  virtual std::int32_t SetMethod(const WideChar* method) = 0;
  // Writes the method (null when unset) to *out.
  virtual void GetMethod(const WideChar** out) = 0;
  // Stores the grant type: "client_credentials", "password", or any other (extension) grant type. 1 or -1.
  virtual std::int32_t SetGrantType(const WideChar* grantType) = 0;
  // Writes the grant type (null when unset) to *out.
  virtual void GetGrantType(const WideChar** out) = 0;
  // Stores the client identifier for the Basic client authorization. 1 or -1.
  virtual std::int32_t SetClientId(const WideChar* clientId) = 0;
  // Writes the client identifier (null when unset) to *out.
  virtual void GetClientId(const WideChar** out) = 0;
  // Stores the client secret for the Basic client authorization. 1 or -1.
  virtual std::int32_t SetClientSecret(const WideChar* clientSecret) = 0;
  // Writes the client secret (null when unset) to *out.
  virtual void GetClientSecret(const WideChar** out) = 0;
  // Stores the requested scope. 1 or -1.
  virtual std::int32_t SetScope(const WideChar* scope) = 0;
  // Writes the scope (null when unset) to *out.
  virtual void GetScope(const WideChar** out) = 0;
  // Stores the resource owner's user name (password grants). 1 or -1.
  virtual std::int32_t SetUserName(const WideChar* userName) = 0;
  // Writes the user name (null when unset) to *out.
  virtual void GetUserName(const WideChar** out) = 0;
  // Stores the resource owner's password (password grants). 1 or -1.
  virtual std::int32_t SetPassword(const WideChar* password) = 0;
  // Writes the password (null when unset) to *out.
  virtual void GetPassword(const WideChar** out) = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TOKEN_REQUEST_H
