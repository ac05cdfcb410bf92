// MessageTable: the process-wide map from message id to text behind the LoadIDString export.
#ifndef OAUTH_MESSAGES_MESSAGE_TABLE_H
#define OAUTH_MESSAGES_MESSAGE_TABLE_H

#include <cstdint>
#include <map>

namespace OAuthClient {

// The ids of the library's messages. Fixed values: never renumber, only append.
enum MessageId : std::int32_t {
  kMessageSecureProtocolOutOfRange = 0,    // the secureProtocol value is out of range
  kMessageIgnoreServerCertOutOfRange = 1,  // the ignoreServerCert value is out of range
};

// An ordered map from message id to a constant text of one language. The texts are constants of the library,
// never copied or released, so a text's pointer is the same for every look-up and stays valid while the library
// is loaded.
class MessageTable {
 public:
  // Builds the table with the texts of `languageCode` (MessageLanguage; English for any other code).
  explicit MessageTable(std::uint32_t languageCode);

  // Returns the text of `id`, or the empty text for an id without a message; never null.
  const char16_t* Find(std::int32_t id) const;

  // Returns the process-wide table, built at the first call in the language chosen by then (English unless
  // ChooseLanguage was called); the table never changes afterwards. The first build is thread-safe.
  static const MessageTable& Instance();

  // Sets the language the process-wide table will be built in. Has no effect once Instance() has been called.
  static void ChooseLanguage(std::uint32_t languageCode);

 private:
  std::map<std::int32_t, const char16_t*> texts_;
};

}  // namespace OAuthClient

#endif  // OAUTH_MESSAGES_MESSAGE_TABLE_H
