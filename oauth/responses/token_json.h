// ParseTokenJson: the small scanner that picks the members of a token endpoint's JSON reply out of its text.
#ifndef OAUTH_RESPONSES_TOKEN_JSON_H
#define OAUTH_RESPONSES_TOKEN_JSON_H

#include <functional>
#include <string_view>

namespace OAuthClient {

// Result of ParseTokenJson.
enum TokenJsonResult : int {
  kTokenJsonScanned = 0,     // the scan reached the end of the object (or of the text between members)
  kTokenJsonNotScanned = 1,  // no "{", or the text ended inside a member
};

// Called with each member's name and value, pieces of the scanned text (valid only as long as that text).
using TokenJsonMember = std::function<void(std::u16string_view name, std::u16string_view value)>;

// Reads the members of the first flat JSON object in `text`, calling `onMember` for each in reply order (a
// repeated name each time; callers that keep one value keep the first). This is no general JSON parser; its rules
// are fixed because they decide what hosts see, and hosts depend on them:
//  - Anything before the first "{" is skipped. Between members every character up to the next quotation mark is
//    skipped (commas, blanks, line breaks, anything); a "}" met there ends the scan with kTokenJsonScanned.
//  - A name runs from one quotation mark to the next; a backslash does not protect a quotation mark, and no escape
//    sequence is interpreted anywhere.
//  - After the name, everything up to the ":" is skipped; after the ":" only U+0020 blanks are skipped.
//  - A value that starts with a quotation mark runs to the next one. Any other value is "bare": it runs up to the
//    next "," or "}", trailing blanks and line breaks included (so a nested object is cut at its first "," or
//    "}"), and the "," or "}" that ends it is stepped over, so a "}" that ends a bare value does not end the scan.
// Returns kTokenJsonNotScanned when there is no "{" or the text ends inside a name, before a name's ":", right
// after a ":", inside a string value or inside a bare value; the members reported before must then be dropped.
TokenJsonResult ParseTokenJson(std::u16string_view text, const TokenJsonMember& onMember);

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_TOKEN_JSON_H
