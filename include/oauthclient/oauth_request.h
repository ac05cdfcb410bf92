// IOAuthRequest: the protected-resource request that a host fills and hands to IOAuthClient::RequestResource.
#ifndef OAUTHCLIENT_OAUTH_REQUEST_H
#define OAUTHCLIENT_OAUTH_REQUEST_H

#include <cstdint>

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// The order of the slots below is the ABI: hosts call them by position. Never reorder, insert or remove;
// new capabilities come as a derived interface. There is no virtual destructor: the object ends through Release.
//
// Results: 1 success, -1 failure. Texts handed out point into the request and stay valid until the same
// property or cache is replaced or the request is released; the caller must not free them. Setters copy.
// Storing a null or empty text changes nothing and gives -1: a text property can be replaced, never cleared.
// The caches behind GetHeader, GetHeadersText, GetBodyText and GetBodyTextDetected are replaced by the next call
// of the same getter (GetHeadersText's also by ClearHeaders, the body text's by every body setter); sending the
// request reads it through these getters, so such texts obtained before a send are not valid after it.
// A null out-pointer is never written to; getters with a result then give -1.
// The only texts the caller owns are the copies of GetStringTriple / GetStringPair: they come from CoTaskMemAlloc
// on Windows and malloc on POSIX, and the caller frees them with FreeCallerCopy (oauthclient/caller_copy.h:
// CoTaskMemFree / free), or passes them back to the same getter, which frees them before it hands out new copies.
class IOAuthRequest {
 public:
  // Removes every header and drops the text last handed out by GetHeadersText.
  virtual void ClearHeaders() = 0;
  // Stores the request URL. 1, or -1 for a null or empty text (the old URL stays).
  virtual std::int32_t SetUrl(const WideChar* url) = 0;
  // Writes the URL (null when unset) to *out.
  virtual void GetUrl(const WideChar** out) = 0;
  // Adds a header, or appends ",value" to the line of the same name (ASCII case-insensitive). 1 or -1.
  // Headers travel to the HTTP component as lines of one text: a CR or LF inside a value splits it into lines of
  // their own, and the component refuses the request (kHttpBadHeader) when such a line is malformed or would
  // change the framing (Content-Length, Transfer-Encoding).
  virtual std::int32_t AddHeader(const WideChar* name, const WideChar* value) = 0;
  // Looks a header up (ASCII case-insensitive); on a match writes its value to *out, else leaves *out untouched.
  virtual void GetHeader(const WideChar* name, const WideChar** out) = 0;
  // Adds every line of a CR LF separated "Name: value" text; -1 and nothing added if any line is malformed.
  virtual std::int32_t AddHeadersText(const WideChar* text) = 0;
  // Writes all headers as one CR LF separated text (null for no headers) to *out.
  virtual void GetHeadersText(const WideChar** out) = 0;
  // Stores the access token sent as "Authorization: Bearer <token>". 1 or -1.
  virtual std::int32_t SetAccessToken(const WideChar* token) = 0;
  // Writes the access token (null when unset) to *out.
  virtual void GetAccessToken(const WideChar** out) = 0;
  // Stores a copy of `length` body bytes; a null `data` with a non-zero length stores that many zero bytes, and a
  // length of 0 leaves no body. Always 1.
  virtual std::int32_t SetBody(const unsigned char* data, std::uint32_t length) = 0;
  // Stores the text as the body in the given TextEncoding, with its byte-order mark (none for Ansi). 1, or -1 and
  // no body for a null, empty or blank text (only U+0020 / U+3000) or an encoding other than 0 to 3.
  virtual std::int32_t SetBodyText(const WideChar* text, std::uint32_t encoding) = 0;
  // Same as SetBodyText(text, Utf16Le).
  virtual std::int32_t SetBodyUnicode(const WideChar* text) = 0;
  // Writes the body bytes and their count. 1, or -1 (outputs untouched) when there is no body.
  virtual std::int32_t GetBody(const unsigned char** data, std::uint32_t* length) = 0;
  // Decodes the body in the given TextEncoding; writes the text and its length in UTF-16 units (a mark in the body
  // is a counted leading U+FEFF; Ansi puts an uncounted U+FEFF in front). 1, or -1 (outs untouched).
  virtual std::int32_t GetBodyText(const WideChar** text, std::uint32_t* length, std::uint32_t encoding) = 0;
  // As GetBodyText, with the encoding recognised from the body's first bytes (ANSI when none is recognised).
  virtual std::int32_t GetBodyTextDetected(const WideChar** text, std::uint32_t* length) = 0;
  // Destroys the request and everything it owns.
  virtual void Release() = 0;
  // Stores transport flag A (the HTTP component ignores certificate errors when non-zero); any byte, unchanged.
  virtual void SetOptionFlagA(Bool8 value) = 0;
  // Returns the byte stored as flag A (0 for a new request).
  virtual std::int32_t GetOptionFlagA() = 0;
  // Stores transport flag B (the HTTP component follows redirects when non-zero); any byte, unchanged.
  virtual void SetOptionFlagB(Bool8 value) = 0;
  // Returns the byte stored as flag B.
  virtual std::int32_t GetOptionFlagB() = 0;
  // Stores the proxy URL, user and password; each element follows the set-string rule on its own (a null or
  // empty element keeps its old text).
  virtual void SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) = 0;
  // Stores the proxy URL and bypass list; each element follows the set-string rule on its own.
  virtual void SetStringPair(const WideChar* a, const WideChar* b) = 0;
  // Hands out copies of the three texts that the caller owns (free them with FreeCallerCopy). A set element first
  // frees what its out-argument holds (null or an earlier copy), then writes a new copy; an unset element leaves
  // its out-argument as it was.
  virtual void GetStringTriple(WideChar** a, WideChar** b, WideChar** c) = 0;
  // Hands out caller-owned copies of the two texts, as GetStringTriple does (free them with FreeCallerCopy).
  virtual void GetStringPair(WideChar** a, WideChar** b) = 0;
  // Stores the connect timeout in milliseconds (0 = the component's default); any value, unchanged.
  virtual void SetOptionValueA(std::uint32_t value) = 0;
  // Returns the connect timeout as stored.
  virtual std::uint32_t GetOptionValueA() = 0;
  // Stores the receive timeout in milliseconds (0 = the component's default); any value, unchanged.
  virtual void SetOptionValueB(std::uint32_t value) = 0;
  // Returns the receive timeout as stored.
  virtual std::uint32_t GetOptionValueB() = 0;
  // Stores the secure protocol: 0 default, 1 TLS 1.0, 2 TLS 1.1, 3 TLS 1.2, 4 TLS 1.3. Any value is stored
  // unchanged; when sending, values other than 1 to 4 mean the default.
  virtual void SetSecureProtocol(std::uint32_t value) = 0;
  // Returns the secure protocol as stored.
  virtual std::uint32_t GetSecureProtocol() = 0;
  // Stores the HTTP method, passed to the transport unchanged. 1 or -1.
  virtual std::int32_t SetMethod(const WideChar* method) = 0;
  // Writes the method (null when unset) to *out.
  virtual void GetMethod(const WideChar** out) = 0;
  // Stores the whole-exchange timeout in milliseconds (0 = the component's default); any value, unchanged.
  virtual void SetOptionValueC(std::uint32_t value) = 0;
  // Returns the whole-exchange timeout as stored.
  virtual std::uint32_t GetOptionValueC() = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_OAUTH_REQUEST_H
