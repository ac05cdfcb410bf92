// The --verbose trace and its redaction of secrets.
#include "verbose_log.h"

#include <algorithm>

#include "common/header_lines.h"
#include "header_field.h"
#include "terminal.h"

namespace OAuthClient {
namespace Cli {

namespace {

bool IsSecretParameter(std::string_view name) {
  static const char* const kSecretParameters[] = {"client_secret", "password",      "refresh_token", "access_token",
                                                  "code",          "code_verifier", "assertion",     "client_assertion",
                                                  "subject_token", "actor_token",   "device_code"};
  for (const char* secret : kSecretParameters) {
    if (name == secret) return true;
  }
  return false;
}

}  // namespace

std::string RedactedHeaderLine(std::string_view name, std::string_view value) {
  std::string line(name);
  line += ": ";
  if (EqualsIgnoringAsciiCase(name, "Authorization") || EqualsIgnoringAsciiCase(name, "Proxy-Authorization")) {
    const size_t blank = value.find(' ');
    if (blank != std::string_view::npos) line += value.substr(0, blank + 1);
    line += kRedacted;
  } else if (EqualsIgnoringAsciiCase(name, "Cookie") || EqualsIgnoringAsciiCase(name, "Set-Cookie")) {
    line += kRedacted;
  } else {
    line += value;
  }
  return line;
}

std::string RedactedFormText(std::string_view form) {
  std::string redacted;
  while (true) {
    const size_t amp = form.find('&');
    const std::string_view piece = form.substr(0, amp);
    const size_t equals = piece.find('=');
    if (equals != std::string_view::npos && IsSecretParameter(piece.substr(0, equals))) {
      redacted += piece.substr(0, equals + 1);
      redacted += kRedacted;
    } else {
      redacted += piece;
    }
    if (amp == std::string_view::npos) break;
    redacted += '&';
    form.remove_prefix(amp + 1);
  }
  return redacted;
}

namespace {

// Returns the URL's start up to its query with the password of its userinfo ("user:password@host") redacted.
std::string RedactedUserInfo(std::string_view start) {
  const size_t scheme = start.find("://");
  if (scheme == std::string_view::npos) return std::string(start);
  const size_t authority = scheme + 3;
  const size_t authorityEnd = std::min(start.find_first_of("/#", authority), start.size());
  const size_t at = start.substr(0, authorityEnd).rfind('@');
  if (at == std::string_view::npos || at < authority) return std::string(start);
  const size_t colon = start.substr(0, at).find(':', authority);
  if (colon == std::string_view::npos) return std::string(start);
  std::string redacted(start.substr(0, colon + 1));
  redacted += kRedacted;
  redacted += start.substr(at);
  return redacted;
}

}  // namespace

std::string RedactedUrl(std::string_view url) {
  const size_t question = url.find('?');
  if (question == std::string_view::npos) return RedactedUserInfo(url);
  const size_t hash = url.find('#', question);
  std::string redacted = RedactedUserInfo(url.substr(0, question + 1));
  redacted += RedactedFormText(url.substr(question + 1, hash == std::string_view::npos ? hash : hash - question - 1));
  if (hash != std::string_view::npos) redacted += url.substr(hash);
  return redacted;
}

std::vector<HeaderField> SplitHeaderText(std::string_view text) {
  std::vector<HeaderField> fields;
  for (const std::string_view line : HeaderLines(text, LineBreak::kLf)) {
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos)
      fields.emplace_back(std::string(line.substr(0, colon)), std::string(TrimHttpSpace(line.substr(colon + 1))));
  }
  return fields;
}

void VerboseLog::Line(char mark, std::string_view text) const {
  const std::string line = std::string(1, mark) + " " + EscapeControlCharacters(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stream_);
}

void VerboseLog::Note(const std::string& text) const {
  if (enabled_) Line('*', text);
}

void VerboseLog::Request(const std::string& method, const std::string& url, const std::vector<HeaderField>& headers,
                         const std::string* formBody, size_t bodyBytes) const {
  if (!enabled_) return;
  Line('>', method + " " + RedactedUrl(url));
  for (const HeaderField& header : headers) Line('>', RedactedHeaderLine(header.first, header.second));
  if (formBody != nullptr && !formBody->empty()) {
    Line('>', "");
    Line('>', RedactedFormText(*formBody));
  } else if (bodyBytes > 0) {
    Line('>', "");
    Line('>', "[" + std::to_string(bodyBytes) + " bytes of body]");
  }
  std::fflush(stream_);
}

void VerboseLog::ResponseHeaders(const std::string& headersText) const {
  if (!enabled_) return;
  for (const std::string_view line : HeaderLines(std::string_view(headersText), LineBreak::kLf)) {
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && line.compare(0, 5, "HTTP/") != 0) {
      Line('<', RedactedHeaderLine(line.substr(0, colon), TrimHttpSpace(line.substr(colon + 1))));
    } else if (!line.empty()) {
      Line('<', line);
    }
  }
  std::fflush(stream_);
}

}  // namespace Cli
}  // namespace OAuthClient
