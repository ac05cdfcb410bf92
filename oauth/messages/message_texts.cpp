// MessageTexts: the library's two user-facing messages in each of its languages.
#include "oauth/messages/message_texts.h"

#include <cstddef>
#include <iterator>

namespace OAuthClient {
namespace {

// Indexed by MessageLanguage. The translations are the product's own wording and stay exactly as they are,
// including "SecureProtocol" with a capital S in Dutch and German and "secureProperty" in Chinese, since hosts
// and their users may match on them.
constexpr MessageTexts kTexts[] = {
    // 0 English, and every code without a language of its own
    {u"The value of the secureProtocol property is out of range.",
     u"The value of the ignoreServerCert property is out of range."},
    // 1 Japanese
    {u"secureProtocol プロパティ値が範囲外です。", u"ignoreServerCert プロパティ値が範囲外です。"},
    // 2 Danish
    {u"Værdien af secureProtocol ligger uden for det tilladte område.",
     u"Værdien af ignoreServerCert ligger uden for det tilladte område."},
    // 3 Dutch
    {u"De waarde van de eigenschap SecureProtocol valt buiten het geldige bereik.",
     u"De waarde van de eigenschap ignoreServerCert valt buiten het geldige bereik."},
    // 4 French
    {u"La valeur de la propriété secureProtocol se situe hors des limites.",
     u"La valeur de la propriété ignoreServerCert se situe hors des limites."},
    // 5 German
    {u"Der Wert der SecureProtocol-Eigenschaft ist außerhalb des gültigen Bereichs.",
     u"Der Wert der ignoreServerCert-Eigenschaft ist außerhalb des gültigen Bereichs."},
    // 6 Italian
    {u"Il valore della proprietà secureProtocol non è compreso nell'intervallo.",
     u"Il valore della proprietà ignoreServerCert non è compreso nell'intervallo."},
    // 7 Norwegian
    {u"Verdien for egenskapen secureProtocol er utenfor området.",
     u"Verdien for egenskapen ignoreServerCert er utenfor området."},
    // 8 Spanish
    {u"El valor de la propiedad secureProtocol está fuera de rango.",
     u"El valor de la propiedad ignoreServerCert está fuera de rango."},
    // 9 Swedish
    {u"Värdet på egenskapen secureProtocol är utanför intervallet.",
     u"Värdet på egenskapen ignoreServerCert är utanför intervallet."},
    // 10 Simplified Chinese
    {u"secureProperty属性值超出范围。", u"ignoreServerCert属性值超出范围。"},
};

}  // namespace

const MessageTexts& MessageTextsFor(std::uint32_t languageCode) {
  if (languageCode >= std::size(kTexts)) return kTexts[kMessageLanguageEnglish];
  return kTexts[languageCode];
}

}  // namespace OAuthClient
