// Decoding of token replies (JSON with nlohmann-json, or form-encoded) and the printed summary.
#include "token_reply.h"

#include "header_field.h"

namespace OAuthClient {
namespace Cli {

namespace {

constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes one form component ("+" is a blank, "%XX" a byte). Written here because only this program reads
// form text that a server wrote; the shared layer and the library encode forms but never decode one.
std::string FormDecode(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      decoded += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

nlohmann::json DecodeForm(std::string_view text) {
  nlohmann::json members = nlohmann::json::object();
  while (!text.empty()) {
    const size_t amp = text.find('&');
    const std::string_view pair = text.substr(0, amp);
    const size_t equals = pair.find('=');
    if (equals != std::string_view::npos) {
      const std::string name = FormDecode(pair.substr(0, equals));
      if (!members.contains(name)) members[name] = FormDecode(pair.substr(equals + 1));
    }
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return members;
}

bool IsFormContentType(std::string_view contentType) {
  const std::string_view mediaType = contentType.substr(0, contentType.find(';'));
  const size_t end = mediaType.find_last_not_of(" \t");
  return EqualsIgnoringAsciiCase(mediaType.substr(0, end == std::string_view::npos ? 0 : end + 1), kFormContentType);
}

void CopyMember(JsonObject* summary, const char* name, const TokenReply& reply) {
  if (std::optional<std::string> text = reply.Text(name)) (*summary)[name] = std::move(*text);
}

}  // namespace

TokenReply TokenReply::Decode(std::string_view text, std::string_view contentType) {
  TokenReply reply;
  if (IsFormContentType(contentType)) {
    reply.members_ = DecodeForm(text);
    return reply;
  }
  nlohmann::json parsed = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (parsed.is_object()) {
    reply.members_ = std::move(parsed);
  } else if (parsed.is_discarded() && text.find('=') != std::string_view::npos &&
             text.find('{') == std::string_view::npos) {
    reply.members_ = DecodeForm(text);  // a form reply sent as text/plain
  }
  return reply;
}

std::optional<std::string> TokenReply::Text(const char* name) const {
  const auto member = members_.find(name);
  if (member == members_.end()) return std::nullopt;
  if (member->is_string()) return member->get<std::string>();
  if (member->is_number()) return member->dump();
  return std::nullopt;
}

std::optional<std::int64_t> TokenReply::ExpiresIn() const {
  const auto member = members_.find("expires_in");
  if (member == members_.end()) return std::nullopt;
  if (member->is_number_integer()) return member->get<std::int64_t>();
  if (member->is_number_float()) return static_cast<std::int64_t>(member->get<double>());
  if (!member->is_string()) return std::nullopt;
  const std::string text = member->get<std::string>();
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoll(text);
}

JsonObject SummarizeTokenReply(std::uint32_t status, const TokenReply& reply, std::time_t now) {
  JsonObject summary = JsonObject::object();
  summary["status"] = status;
  if (reply.Text("error")) {
    for (const char* name : {"error", "error_description", "error_uri", "state"}) CopyMember(&summary, name, reply);
    return summary;
  }
  CopyMember(&summary, "token_type", reply);
  CopyMember(&summary, "access_token", reply);
  if (const std::optional<std::int64_t> expiresIn = reply.ExpiresIn()) {
    summary["expires_in"] = *expiresIn;
    summary["expires_at"] = Rfc3339Utc(now + static_cast<std::time_t>(*expiresIn));
  }
  CopyMember(&summary, "refresh_token", reply);
  CopyMember(&summary, "scope", reply);
  return summary;
}

std::string Rfc3339Utc(std::time_t time) {
  char text[32] = "";
  // std::gmtime's shared buffer is safe here: the program formats times on one thread only.
  if (const std::tm* utc = std::gmtime(&time)) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

std::string JsonText(const JsonObject& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::string> MemberText(const JsonObject& object, const std::string& name) {
  const auto member = object.find(name);
  if (member == object.end()) return std::nullopt;
  if (member->is_string()) return member->get<std::string>();
  return JsonText(*member);
}

}  // namespace Cli
}  // namespace OAuthClient
