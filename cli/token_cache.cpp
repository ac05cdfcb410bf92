// The token cache: entry names, the entry file's JSON, listing and clearing.
#include "token_cache.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "content_hash.h"
#include "exit_codes.h"
#include "private_file.h"
#include "verbose_log.h"

namespace OAuthClient {
namespace Cli {

namespace {

constexpr char kEntrySuffix[] = ".json";

// Every piece of the token options, each prefixed by its length so that no two option sets give one text.
std::string KeyMaterial(const TokenOptions& token) {
  std::string material;
  const auto add = [&material](std::string_view piece) {
    material += std::to_string(piece.size());
    material += ':';
    material += piece;
  };
  add(token.url);
  add(token.method);
  add(token.grant);
  add(token.clientId);
  add(token.clientSecret.value_or(std::string()));
  add(token.scope);
  add(token.userName);
  add(token.password.value_or(std::string()));
  add(std::to_string(static_cast<int>(token.basicAuth)));
  for (const FormParameter& parameter : token.parameters) {
    add(parameter.first);
    add(parameter.second);
  }
  add("headers");
  for (const HeaderField& header : token.headers) {
    add(header.first);
    add(header.second);
  }
  return material;
}

std::optional<nlohmann::json> ReadEntry(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  nlohmann::json entry = nlohmann::json::parse(text, nullptr, false);
  if (!entry.is_object() || !entry.contains("expires") || !entry["expires"].is_number_integer() ||
      !entry.contains("summary") || !entry["summary"].is_object())
    return std::nullopt;
  return entry;
}

bool IsEntry(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  return name.size() == 64 + sizeof kEntrySuffix - 1 && path.extension() == kEntrySuffix;
}

}  // namespace

std::unique_ptr<TokenCache> TokenCache::Open(const TokenOptions& token) {
  const std::optional<std::string> folder = UserCacheFolder();
  if (!folder || !MakePrivateFolder(*folder)) return nullptr;
  const std::optional<std::string> key = Sha256Hex(KeyMaterial(token));
  if (!key) return nullptr;
  std::unique_ptr<TokenCache> cache(new TokenCache(*folder + "/" + *key + kEntrySuffix));
  if (!cache->lock_.Held()) return nullptr;
  return cache;
}

std::optional<JsonObject> TokenCache::Load(std::time_t now, std::uint32_t marginSeconds) const {
  const std::optional<nlohmann::json> entry = ReadEntry(path_);
  if (!entry) return std::nullopt;
  const std::int64_t expires = (*entry)["expires"].get<std::int64_t>();
  if (expires - static_cast<std::int64_t>(marginSeconds) <= static_cast<std::int64_t>(now)) return std::nullopt;
  JsonObject summary = JsonObject::parse((*entry)["summary"].dump());
  if (!summary.contains("access_token")) return std::nullopt;
  summary["expires_in"] = expires - static_cast<std::int64_t>(now);
  return summary;
}

bool TokenCache::Store(const JsonObject& summary, const TokenOptions& token, std::time_t now) const {
  const auto expiresIn = summary.find("expires_in");
  if (!summary.contains("access_token") || expiresIn == summary.end() || !expiresIn->is_number_integer()) return false;
  nlohmann::json entry = {
      {"expires", static_cast<std::int64_t>(now) + expiresIn->get<std::int64_t>()},
      {"token_url", RedactedUrl(token.url)},
      {"client_id", token.clientId},
      {"grant", token.grant},
      {"scope", token.scope},
      {"summary", nlohmann::json::parse(JsonText(summary))},
  };
  return WritePrivateFileAtomically(path_, entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void TokenCache::Drop() const {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

int ListTokenCache() {
  const std::optional<std::string> folder = UserCacheFolder();
  std::error_code error;
  if (!folder || !std::filesystem::is_directory(*folder, error)) return kExitOk;
  for (const auto& file : std::filesystem::directory_iterator(*folder, error)) {
    if (!IsEntry(file.path())) continue;
    const std::optional<nlohmann::json> entry = ReadEntry(file.path().string());
    if (!entry) continue;
    const auto text = [&entry](const char* name) {
      const auto member = entry->find(name);
      return member != entry->end() && member->is_string() ? member->get<std::string>() : std::string();
    };
    const std::string line = Rfc3339Utc(static_cast<std::time_t>((*entry)["expires"].get<std::int64_t>())) + "  " +
                             text("token_url") + "  client_id=" + text("client_id") + "  grant=" + text("grant") +
                             (text("scope").empty() ? "" : "  scope=" + text("scope")) + "\n";
    std::fputs(line.c_str(), stdout);
  }
  return kExitOk;
}

int ClearTokenCache() {
  const std::optional<std::string> folder = UserCacheFolder();
  std::error_code error;
  if (!folder || !std::filesystem::is_directory(*folder, error)) return kExitOk;
  for (const auto& file : std::filesystem::directory_iterator(*folder, error)) {
    if (IsEntry(file.path())) std::filesystem::remove(file.path(), error);
  }
  return kExitOk;
}

}  // namespace Cli
}  // namespace OAuthClient
