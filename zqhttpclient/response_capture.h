// ResponseCapture: what one exchange received: the final answer's status line, header block and body (capped).
#ifndef ZQHTTPCLIENT_RESPONSE_CAPTURE_H
#define ZQHTTPCLIENT_RESPONSE_CAPTURE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/reused_buffer.h"

namespace OAuthClient::Http {

// Fed by the transport's header and body callbacks. Every status line starts a new header block (the block then
// begins with that line), so after redirects, "100 Continue" interim answers or a proxy's CONNECT answer only the
// last answer's block is kept. The body is cut off at the cap: the callback then reports the overflow and the
// transfer is aborted.
// Returns the value of the first field of that name (ASCII case-insensitive) in a header block of CR LF ended
// lines, trimmed; none when absent. The status line is never taken for a field.
// The value is a view into `block`.
std::optional<std::string_view> FindHeaderField(std::string_view block, std::string_view name);

// Returns the reason phrase of the status line that starts a header block ("OK" of "HTTP/1.1 200 OK"), trimmed, as
// a view into `block`; none when the line has none (HTTP/2 and HTTP/3 carry none) or the block starts with no
// status line. Read when a host asks for it, not for every answer.
std::optional<std::string_view> ReasonPhraseIn(std::string_view block);

// The most bytes one answer's header block may take. Far above what servers send (a few KiB), and low enough that
// a server streaming header lines cannot grow the block without end.
inline constexpr std::size_t kMaxResponseHeaderBytes = 256 * 1024;

// The storage a capture writes the header block and the body into. A client hands the buffers of its previous
// answer to its next capture, so that an answer of the usual size is received without allocating.
struct CaptureBuffers {
  std::string headerBlock;
  std::string body;
};

class ResponseCapture {
 public:
  // Writes into `buffers`, emptied first as EmptyForReuse empties; their storage is kept.
  explicit ResponseCapture(std::size_t maxBodyBytes, CaptureBuffers buffers = {})
      : maxBodyBytes_(maxBodyBytes), headerBlock_(std::move(buffers.headerBlock)), body_(std::move(buffers.body)) {
    EmptyForReuse(headerBlock_, headerBlock_.capacity());
    EmptyForReuse(body_, body_.capacity());
  }

  // Takes one header line as received, line break included. Returns false (and keeps nothing of it) when the
  // answer's block would exceed kMaxResponseHeaderBytes.
  bool AddHeaderLine(std::string_view line);
  // Takes body bytes. Returns false (and keeps nothing of them) when the body would exceed the cap.
  bool AddBody(std::string_view bytes);

  // Returns true when a body was refused for its size.
  bool Overflowed() const { return overflowed_; }
  // Returns true when a header line was refused for the block's size.
  bool HeaderTooLarge() const { return headerTooLarge_; }
  // Returns true between a status line and the empty line that ends its block: the headers are still arriving.
  bool WithinHeaderBlock() const { return withinHeaderBlock_; }
  // Returns the header block of the last answer: its status line and fields as received, each ending in CR LF,
  // and the empty line that ends the block.
  const std::string& HeaderBlock() const { return headerBlock_; }
  const std::string& Body() const { return body_; }
  CaptureBuffers TakeBuffers() { return {std::move(headerBlock_), std::move(body_)}; }

  // Returns ReasonPhraseIn of the last answer's block.
  std::optional<std::string_view> ReasonPhrase() const { return ReasonPhraseIn(headerBlock_); }
  // Returns the last answer's Content-Type value as FindHeaderField finds it, read from `block`, which is that
  // answer's header block (HeaderBlock() or the one TakeBuffers() gave); its place was noted as the line arrived.
  std::optional<std::string_view> ContentTypeIn(std::string_view block) const;
  // Returns FindHeaderField of the last answer's block.
  std::optional<std::string> FieldValue(std::string_view name) const {
    if (const auto value = FindHeaderField(headerBlock_, name)) return std::string(*value);
    return std::nullopt;
  }

 private:
  std::size_t maxBodyBytes_;
  bool overflowed_ = false;
  bool headerTooLarge_ = false;
  bool withinHeaderBlock_ = false;
  void NoteContentType(std::string_view line, std::size_t lineStart);

  std::optional<std::pair<std::size_t, std::size_t>> contentType_;  // offset and length of the value in the block
  std::string headerBlock_;
  std::string body_;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_RESPONSE_CAPTURE_H
