// The message texts a host must receive for each language code, written out independently of the library.
#ifndef TESTS_MESSAGES_EXPECTED_MESSAGES_H
#define TESTS_MESSAGES_EXPECTED_MESSAGES_H

#include <cstdint>
#include <string>

namespace OAuthClient {

struct ExpectedMessages {
  std::uint32_t languageCode;
  std::u16string secureProtocol;    // id 0
  std::u16string ignoreServerCert;  // id 1
};

// Every language with texts of its own; any other code gives the English texts of code 0.
inline const ExpectedMessages kExpectedMessages[] = {
    {0, u"The value of the secureProtocol property is out of range.",
     u"The value of the ignoreServerCert property is out of range."},
    {1, u"secureProtocol \u30D7\u30ED\u30D1\u30C6\u30A3\u5024\u304C\u7BC4\u56F2\u5916\u3067\u3059\u3002",
     u"ignoreServerCert \u30D7\u30ED\u30D1\u30C6\u30A3\u5024\u304C\u7BC4\u56F2\u5916\u3067\u3059\u3002"},
    {2, u"V\u00E6rdien af secureProtocol ligger uden for det tilladte omr\u00E5de.",
     u"V\u00E6rdien af ignoreServerCert ligger uden for det tilladte omr\u00E5de."},
    {3, u"De waarde van de eigenschap SecureProtocol valt buiten het geldige bereik.",
     u"De waarde van de eigenschap ignoreServerCert valt buiten het geldige bereik."},
    {4, u"La valeur de la propri\u00E9t\u00E9 secureProtocol se situe hors des limites.",
     u"La valeur de la propri\u00E9t\u00E9 ignoreServerCert se situe hors des limites."},
    {5, u"Der Wert der SecureProtocol-Eigenschaft ist au\u00DFerhalb des g\u00FCltigen Bereichs.",
     u"Der Wert der ignoreServerCert-Eigenschaft ist au\u00DFerhalb des g\u00FCltigen Bereichs."},
    {6, u"Il valore della propriet\u00E0 secureProtocol non \u00E8 compreso nell'intervallo.",
     u"Il valore della propriet\u00E0 ignoreServerCert non \u00E8 compreso nell'intervallo."},
    {7, u"Verdien for egenskapen secureProtocol er utenfor omr\u00E5det.",
     u"Verdien for egenskapen ignoreServerCert er utenfor omr\u00E5det."},
    {8, u"El valor de la propiedad secureProtocol est\u00E1 fuera de rango.",
     u"El valor de la propiedad ignoreServerCert est\u00E1 fuera de rango."},
    {9, u"V\u00E4rdet p\u00E5 egenskapen secureProtocol \u00E4r utanf\u00F6r intervallet.",
     u"V\u00E4rdet p\u00E5 egenskapen ignoreServerCert \u00E4r utanf\u00F6r intervallet."},
    {10, u"secureProperty\u5C5E\u6027\u503C\u8D85\u51FA\u8303\u56F4\u3002",
     u"ignoreServerCert\u5C5E\u6027\u503C\u8D85\u51FA\u8303\u56F4\u3002"},
};

}  // namespace OAuthClient

#endif  // TESTS_MESSAGES_EXPECTED_MESSAGES_H
