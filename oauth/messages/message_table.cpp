// MessageTable: the process-wide map from message id to text behind the LoadIDString export.
#include "oauth/messages/message_table.h"

#include <atomic>

#include "oauth/messages/message_texts.h"

namespace OAuthClient {
namespace {

// Handed out for every id without a message, so a host can always show what it receives.
constexpr char16_t kEmptyText[] = u"";

// The language the process-wide table is built in. Read once, when the table is built.
std::atomic<std::uint32_t> chosenLanguage{kMessageLanguageEnglish};

}  // namespace

MessageTable::MessageTable(std::uint32_t languageCode) {
  const MessageTexts& texts = MessageTextsFor(languageCode);
  texts_.emplace(kMessageSecureProtocolOutOfRange, texts.secureProtocolOutOfRange);
  texts_.emplace(kMessageIgnoreServerCertOutOfRange, texts.ignoreServerCertOutOfRange);
}

const char16_t* MessageTable::Find(std::int32_t id) const {
  const auto found = texts_.find(id);
  return found == texts_.end() ? kEmptyText : found->second;
}

const MessageTable& MessageTable::Instance() {
  // Built at the first call (the language may be chosen until then), destroyed when the library is unloaded.
  static const MessageTable table(chosenLanguage.load());
  return table;
}

void MessageTable::ChooseLanguage(std::uint32_t languageCode) { chosenLanguage.store(languageCode); }

}  // namespace OAuthClient
