// CHttpClient: the component's IHttpClient, one object per request, sending through a pooled libcurl transfer.
#ifndef ZQHTTPCLIENT_HTTP_CLIENT_H
#define ZQHTTPCLIENT_HTTP_CLIENT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/recycling_slot.h"
#include "oauthclient/http_client.h"
#include "zqhttpclient/component_settings.h"
#include "zqhttpclient/outgoing_headers.h"
#include "zqhttpclient/response_capture.h"

namespace OAuthClient::Http {

// What a CHttpClient's last successful send received. Its buffers outlive the answer: Clear empties them and
// keeps their storage (up to kKeptBufferBytes each), which the next exchange's capture and texts write into.
struct ReceivedAnswer {
  // A buffer larger than this is freed rather than kept for the next answer, so that one large answer does not
  // hold its memory for the life of the client.
  static constexpr std::size_t kKeptBufferBytes = 64 * 1024;

  std::uint32_t status = 0;
  std::string headerBlock;       // starts with the status line, where GetStatusText reads the reason phrase
  std::string_view contentType;  // a view into headerBlock, which never changes once set
  // UTF-16 forms, made on first request.
  std::u16string headerBlockText, reasonText, contentTypeText, bodyText, headerValueText;
  bool bodyTextReady = false;

  // Takes the capture's buffers as the received header block and body.
  void Receive(CaptureBuffers received) {
    headerBlock = std::move(received.headerBlock);
    body_ = std::move(received.body);
    filled_ = true;
  }
  // Hands the buffers to the next capture, emptied.
  CaptureBuffers TakeBuffers() { return {std::move(headerBlock), std::move(body_)}; }
  // Empties every part, overwriting what it held (see EmptyForReuse), as its storage may live on in another
  // client. Does nothing when nothing was received since the last Clear.
  void Clear();

  std::size_t BodyLength() const { return bodyInText_ ? bodyText.size() : body_.size(); }
  // The body's bytes, made again from the text when they were dropped; from here on they stay, as a host may
  // hold the pointer.
  const std::string& HandOutBody();
  // Makes bodyText (once) and drops a large body whose bytes it repeats unit for unit (an ASCII or Latin-1
  // answer read as such): a token host reads only the text, and the answer then holds its largest part once.
  void MakeBodyText();

 private:
  std::string body_;
  bool bodyInText_ = false;     // body_ was dropped: each byte is the unit of bodyText at its position
  bool bodyHandedOut_ = false;  // a host was pointed at body_, so it is never dropped
  bool filled_ = false;         // received into since the last Clear
};

// Implements every slot of IHttpClient as its header documents. The boundary methods only translate pointers and
// codes; no exception leaves them (an allocation failure gives kHttpOutOfMemory, or is swallowed by the slots
// that return nothing). Texts handed out are members of this object, valid until the next call that fills the
// same member, the next send, Reset or Release.
//
// Objects are recycled: Release resets one to the state of a new object and parks it in a RecyclingSlot, and
// Create takes it from there. A request's object then costs no allocation, neither for itself nor for the header,
// URL, answer and text buffers it keeps. What the parked object held of the last request (header values, the URL,
// the answer) is overwritten before it is parked.
class CHttpClient final : public IHttpClient {
 public:
  // Returns the parked object or a new one, in the state of a new object. Throws std::bad_alloc.
  static CHttpClient* Create();

  CHttpClient(const CHttpClient&) = delete;
  CHttpClient& operator=(const CHttpClient&) = delete;

  std::uint32_t GetInterfaceVersion() override;
  void Reset() override;
  std::int32_t SetUserAgent(const WideChar* userAgent) override;
  void SetOptionFlagA(Bool8 value) override;
  std::int32_t GetOptionFlagA() override;
  void SetOptionFlagB(Bool8 value) override;
  std::int32_t GetOptionFlagB() override;
  void SetStringNone() override;
  std::int32_t SetStringTriple(const WideChar* proxyUrl, const WideChar* user, const WideChar* password) override;
  std::int32_t SetStringPair(const WideChar* proxyUrl, const WideChar* bypassList) override;
  void SetSecureProtocol(std::int32_t code) override;
  std::int32_t GetSecureProtocol() override;
  void SetOptionValueC(std::uint32_t milliseconds) override;
  std::uint32_t GetOptionValueC() override;
  void SetOptionValueA(std::uint32_t milliseconds) override;
  void SetOptionValueB(std::uint32_t milliseconds) override;
  std::uint32_t GetOptionValueA() override;
  std::uint32_t GetOptionValueB() override;
  void SetMaxResponseSize(std::uint32_t bytes) override;
  std::uint32_t GetMaxResponseSize() override;
  std::int32_t AddRequestHeader(const WideChar* name, const WideChar* value, std::int32_t flags) override;
  std::int32_t RemoveRequestHeader(const WideChar* name) override;
  std::int32_t SetRequestHeadersText(const WideChar* text) override;
  void ClearRequestHeaders() override;
  std::int32_t SendBytes(const WideChar* method, const WideChar* url, const unsigned char* data,
                         std::uint32_t length) override;
  std::int32_t SendText(const WideChar* method, const WideChar* url, const WideChar* text,
                        std::int32_t length) override;
  std::int32_t Send(const WideChar* method, const WideChar* url) override;
  std::int32_t GetEffectiveUrl(const WideChar** out) override;
  std::int32_t GetRedirectCount() override;
  std::uint32_t GetElapsedMilliseconds() override;
  std::int32_t GetResponseHeader(const WideChar* name, const WideChar** out) override;
  std::uint32_t GetResponseBodyLength() override;
  std::int32_t GetResponseHeadersText(const WideChar** out) override;
  std::int32_t GetResponseBody(const unsigned char** data, std::uint32_t* length) override;
  std::int32_t GetResponseContentType(const WideChar** out) override;
  std::int32_t GetResponseText(const WideChar** out) override;
  std::int32_t GetLastResult() override;
  std::int32_t GetLastErrorText(const WideChar** out) override;
  std::uint32_t GetStatusCode() override;
  std::int32_t GetStatusText(const WideChar** out) override;
  std::int32_t GetResponseValue(std::uintptr_t* out) override;
  void Release() override;

 private:
  CHttpClient() = default;
  // The slot makes objects, and deletes a parked one when the library is unloaded.
  friend class RecyclingSlot<CHttpClient>;

  ~CHttpClient() = default;

  // Returns every member to its state in a new object, keeping the storage of small buffers.
  void Recycle();

  std::int32_t Perform(const WideChar* method, const WideChar* url, std::optional<std::string_view> body);
  std::int32_t SetProxy(ComponentSettings::Proxy kind, const WideChar* proxyUrl, const WideChar* second,
                        const WideChar* third);
  std::int32_t Fail(std::int32_t result, std::string text);
  // Remembers that a header setting was refused and returns kHttpBadHeader.
  std::int32_t RefuseHeader();
  void ForgetLastExchange();

  ComponentSettings settings_;
  OutgoingHeaders headers_;
  // A refused setting fails every send (kHttpBadProxy, kHttpBadHeader) until it is replaced: the proxy by an
  // accepted proxy setting or SetStringNone, a header by ClearRequestHeaders; both by Reset.
  bool proxyRefused_ = false;
  bool headerRefused_ = false;
  ReceivedAnswer answer_;  // holds an answer while answered_; its buffers are kept either way
  bool answered_ = false;
  std::int32_t lastResult_ = 0;
  std::uint64_t durationUs_ = 0;
  std::int32_t redirects_ = 0;
  std::string effectiveUrl_;
  std::string errorText_;
  std::u16string effectiveUrlText_, errorTextWide_;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_HTTP_CLIENT_H
