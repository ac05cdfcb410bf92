// ResponseCapture: what one exchange received: the final answer's status line, header block and body (capped).
#include "zqhttpclient/response_capture.h"

#include "common/ascii.h"
#include "common/header_lines.h"
#include "common/reused_buffer.h"

namespace OAuthClient::Http {
namespace {

std::string_view WithoutLineBreak(std::string_view line) {
  // Lines nearly always end in one CR LF, and the byte before it is part of the line.
  const std::size_t n = line.size();
  if (n >= 3 && line[n - 1] == '\n' && line[n - 2] == '\r' && line[n - 3] != '\r' && line[n - 3] != '\n')
    return line.substr(0, n - 2);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

bool IsStatusLine(std::string_view line) { return line.substr(0, 5) == "HTTP/"; }

// Returns true when the line may be a Content-Type field: every other line is ruled out by two letters, since
// header callbacks run for every line of every answer. A line that starts with a blank takes the full check.
bool MayBeContentType(std::string_view line) {
  constexpr std::string_view kName = "Content-Type";
  if (line.size() <= kName.size()) return false;
  const char first = line.front();
  if (first == ' ' || first == '\t') return true;
  return AsciiDetail::ToLower(first) == 'c' && AsciiDetail::ToLower(line[8]) == 't';
}

constexpr std::size_t kTypicalHeaderBlockBytes = 512;

}  // namespace

bool ResponseCapture::AddHeaderLine(std::string_view line) {
  const std::string_view bare = WithoutLineBreak(line);
  if (!bare.empty() && bare.front() == 'H' && IsStatusLine(bare)) {
    // A new answer begins; whatever came before belonged to an earlier one. Its body (a redirect's page) too.
    EmptyForReuse(headerBlock_, headerBlock_.capacity());
    EmptyForReuse(body_, body_.capacity());
    contentType_.reset();
  }
  withinHeaderBlock_ = !bare.empty();
  if (headerBlock_.size() + bare.size() + 2 > kMaxResponseHeaderBytes) {
    headerTooLarge_ = true;
    return false;
  }
  // A typical block fits, so the lines that follow append without regrowing it.
  if (headerBlock_.capacity() < kTypicalHeaderBlockBytes) headerBlock_.reserve(kTypicalHeaderBlockBytes);
  const std::size_t lineStart = headerBlock_.size();
  if (line.size() == bare.size() + 2 && line[bare.size()] == '\r' && line.back() == '\n') {
    headerBlock_.append(line);  // already as kept, in one step
  } else {
    headerBlock_.append(bare).append("\r\n");
  }
  if (!contentType_ && MayBeContentType(bare)) NoteContentType(bare, lineStart);
  return true;
}

void ResponseCapture::NoteContentType(std::string_view line, std::size_t lineStart) {
  constexpr std::string_view kName = "Content-Type";
  constexpr std::string_view kUsualStart = "Content-Type:";  // as nearly every server spells it
  if (line.substr(0, kUsualStart.size()) == kUsualStart) {
    const std::string_view value = TrimHttpSpace(line.substr(kUsualStart.size()));
    contentType_ = std::make_pair(lineStart + static_cast<std::size_t>(value.data() - line.data()), value.size());
    return;
  }
  if (IsStatusLine(line)) return;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || !EqualsIgnoringAsciiCase(TrimHttpSpace(line.substr(0, colon)), kName)) return;
  const std::string_view value = TrimHttpSpace(line.substr(colon + 1));
  contentType_ = std::make_pair(lineStart + static_cast<std::size_t>(value.data() - line.data()), value.size());
}

std::optional<std::string_view> ResponseCapture::ContentTypeIn(std::string_view block) const {
  if (!contentType_) return std::nullopt;
  return block.substr(contentType_->first, contentType_->second);
}

bool ResponseCapture::AddBody(std::string_view bytes) {
  if (bytes.size() > maxBodyBytes_ - body_.size()) {
    overflowed_ = true;
    return false;
  }
  body_.append(bytes);
  return true;
}

std::optional<std::string_view> ReasonPhraseIn(std::string_view block) {
  // The block's lines end in CR LF, and no line holds an LF of its own: the first LF ends the status line.
  std::string_view statusLine = block.substr(0, block.find('\n'));
  if (!statusLine.empty() && statusLine.back() == '\r') statusLine.remove_suffix(1);
  if (!IsStatusLine(statusLine)) return std::nullopt;
  // status-line = HTTP-version SP status-code SP [ reason-phrase ]  (RFC 9112 section 4)
  const std::size_t first = statusLine.find(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = statusLine.find(' ', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view reason = TrimHttpSpace(statusLine.substr(second + 1));
  if (reason.empty()) return std::nullopt;
  return reason;
}

std::optional<std::string_view> FindHeaderField(std::string_view block, std::string_view name) {
  for (std::string_view line : HeaderLines(block, LineBreak::kCrLf)) {
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && !IsStatusLine(line) &&
        EqualsIgnoringAsciiCase(TrimHttpSpace(line.substr(0, colon)), name))
      return TrimHttpSpace(line.substr(colon + 1));
  }
  return std::nullopt;
}

}  // namespace OAuthClient::Http
