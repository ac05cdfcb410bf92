// ASCII-only text helpers for HTTP tokens and header fields (letter case folding, trimming, token checks).
#ifndef ZQHTTPCLIENT_ASCII_H
#define ZQHTTPCLIENT_ASCII_H

#include <array>
#include <string>
#include <string_view>

namespace OAuthClient::Http {

// Returns `text` with the ASCII letters A-Z lowered; other bytes stay as they are.
inline std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Returns true when `a` and `b` are equal under ASCII case folding (how HTTP compares field names).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Returns `text` without leading and trailing spaces and tabs (HTTP's optional whitespace).
inline std::string_view TrimHttpSpace(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The bytes of an HTTP token (RFC 9110 section 5.6.2), as a table indexed by byte value.
inline constexpr std::array<bool, 256> kTokenChars = [] {
  std::array<bool, 256> table{};
  for (char c : std::string_view("!#$%&'*+-.^_`|~")) table[static_cast<unsigned char>(c)] = true;
  for (int c = '0'; c <= '9'; ++c) table[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = true;
  return table;
}();

inline bool IsTokenChar(char c) { return kTokenChars[static_cast<unsigned char>(c)]; }

// Returns true when `text` is a non-empty HTTP token (RFC 9110 section 5.6.2): method names and field names.
inline bool IsHttpToken(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsTokenChar(c)) return false;
  return true;
}

// Returns true when `text` may stand as a header field value on a line of its own (RFC 9110 section 5.5): no
// control character but tab, so no CR, LF or NUL can end or split the line. Bytes from 0x80 up (UTF-8) pass.
inline bool IsFieldValueText(std::string_view text) {
  // No early exit: the values are short and nearly always clean, and a loop without one tests many bytes per step.
  bool control = false;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    control |= (b < 0x20 && b != '\t') | (b == 0x7F);
  }
  return !control;
}

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_ASCII_H
