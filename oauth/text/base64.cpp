// Base64 encoding (RFC 4648 section 4: standard alphabet, "=" padding, no line breaks).
#include "oauth/text/base64.h"

#include <new>

namespace OAuthClient {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendGroup(std::string& text, const unsigned char* group, std::size_t size) {
  const unsigned b0 = group[0];
  const unsigned b1 = size > 1 ? group[1] : 0;
  const unsigned b2 = size > 2 ? group[2] : 0;
  text.push_back(kAlphabet[b0 >> 2]);
  text.push_back(kAlphabet[((b0 & 3) << 4) | (b1 >> 4)]);
  text.push_back(size > 1 ? kAlphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=');
  text.push_back(size > 2 ? kAlphabet[b2 & 63] : '=');
}

}  // namespace

int Base64Encode(const unsigned char* data, std::size_t count, std::string* out) {
  if (data == nullptr || count == 0 || out == nullptr) return 1;
  try {
    std::string text;
    text.reserve((count + 2) / 3 * 4);
    std::size_t i = 0;
    for (; count - i >= 3; i += 3) AppendGroup(text, data + i, 3);
    if (i < count) AppendGroup(text, data + i, count - i);
    *out = std::move(text);
    return 0;
  } catch (const std::bad_alloc&) {
    return 1;
  }
}

}  // namespace OAuthClient
