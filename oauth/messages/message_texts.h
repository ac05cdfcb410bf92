// MessageTexts: the library's two user-facing messages in each of its languages.
#ifndef OAUTH_MESSAGES_MESSAGE_TEXTS_H
#define OAUTH_MESSAGES_MESSAGE_TEXTS_H

#include <cstdint>

namespace OAuthClient {

// The codes by which a host chooses the message language. Fixed values: never renumber, only append.
enum MessageLanguage : std::uint32_t {
  kMessageLanguageEnglish = 0,  // also every code not listed here
  kMessageLanguageJapanese = 1,
  kMessageLanguageDanish = 2,
  kMessageLanguageDutch = 3,
  kMessageLanguageFrench = 4,
  kMessageLanguageGerman = 5,
  kMessageLanguageItalian = 6,
  kMessageLanguageNorwegian = 7,
  kMessageLanguageSpanish = 8,
  kMessageLanguageSwedish = 9,
  kMessageLanguageSimplifiedChinese = 10,
};

// One language's messages: constant zero-terminated UTF-16 texts that live as long as the library.
struct MessageTexts {
  const char16_t* secureProtocolOutOfRange;    // message 0
  const char16_t* ignoreServerCertOutOfRange;  // message 1
};

// Returns the messages of `languageCode`; English for any code without a language of its own.
const MessageTexts& MessageTextsFor(std::uint32_t languageCode);

}  // namespace OAuthClient

#endif  // OAUTH_MESSAGES_MESSAGE_TEXTS_H
