// Fuzzes the header text parsers with arbitrary UTF-16 text, checking the invariants the request and response
// objects rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "oauth/text/ascii_case.h"
#include "oauth/text/header_list.h"
#include "oauth/text/header_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace OAuthClient;
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);

  std::vector<std::u16string> lines;
  const bool split = SplitHeaderText(text, &lines);
  Check(split || lines.empty());
  for (const std::u16string& line : lines) Check(ParseHeaderLine(line, nullptr));

  // Adding the text to a list either adds every line or, when the split fails, nothing.
  HeaderList list;
  const std::int32_t added = AddHeadersFromText(
      text, [&list](std::u16string_view name, std::u16string_view value) { return list.Add(name, value); });
  Check(added == (split ? 1 : -1));
  Check(split || list.Lines().empty());
  Check(list.Lines().size() <= lines.size());
  for (const std::u16string& line : lines) {
    HeaderField field;
    ParseHeaderLine(line, &field);
    Check(list.Find(field.name).has_value());
  }
  (void)list.ToText();

  HeaderMap exact;
  HeaderMap folded;
  ParseHeaderBlock(text, &exact, false);
  ParseHeaderBlock(text, &folded, true);
  Check(folded.size() <= exact.size());
  for (const auto& entry : folded) Check(entry.first == FoldAsciiUpper(entry.first));
  return 0;
}
