// Fuzzes the component's reading of a response header block, line by line as the transport hands it over: the
// capture of the last answer's block, the reason phrase and the field look-up; then the library's index of the same
// block, widened to UTF-16 as the component hands it to the library. Checks that only the last answer's lines are
// kept, that a field found is a trimmed piece of the block, and that the library's case-folded index finds every
// name its exact index holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "oauth/responses/response_headers.h"
#include "zqhttpclient/response_capture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace OAuthClient;
  if (size > 1 << 16) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);

  Http::ResponseCapture capture(/*maxBodyBytes=*/64);
  std::size_t lastStatusLine = 0;
  std::size_t lines = 0;
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end == std::string_view::npos ? input.size() : end + 1);
    if (line.substr(0, 5) == "HTTP/") lastStatusLine = lines;
    Fuzz::Check(capture.AddHeaderLine(line));  // the input stays below kMaxResponseHeaderBytes
    input.remove_prefix(line.size());
    ++lines;
  }
  const std::string& block = capture.HeaderBlock();
  // One CR LF ended line per line handed over since the last status line (each line's own CR and LF dropped).
  std::size_t kept = 0;
  for (std::size_t at = block.find("\r\n"); at != std::string::npos; at = block.find("\r\n", at + 2)) ++kept;
  Fuzz::Check(kept == lines - lastStatusLine);

  if (const auto reason = capture.ReasonPhrase())
    Fuzz::Check(!reason->empty() && block.find(*reason) != std::string::npos);
  for (const std::string_view name : {"Content-Type", "content-length", "X", ""}) {
    if (const auto value = Http::FindHeaderField(block, name)) {
      Fuzz::Check(block.find(*value) != std::string::npos);
      Fuzz::Check(value->empty() || (value->front() != ' ' && value->back() != ' '));
    }
  }

  const std::u16string wide(block.begin(), block.end());
  ResponseHeaders exact(/*foldNames=*/false);
  ResponseHeaders folded(/*foldNames=*/true);
  exact.Set(wide);  // both index `wide`, which outlives them
  folded.Set(wide);
  for (const std::u16string_view name : {u"Content-Type", u"CONTENT-TYPE", u"x", u"HTTP/1.1 200 OK"}) {
    if (exact.Find(name)) Fuzz::Check(folded.Find(name).has_value());
  }
  return 0;
}
