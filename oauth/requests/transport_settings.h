// TransportSettings: the HTTP transport options that both request objects store for the HTTP client component.
#ifndef OAUTH_REQUESTS_TRANSPORT_SETTINGS_H
#define OAUTH_REQUESTS_TRANSPORT_SETTINGS_H

#include <cstdint>

#include "oauth/text/string_property.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Stores every setting exactly as the host gives it: no range check, any byte for a flag and any 32-bit number
// for a value. What the settings mean, and the refusal of secure protocol values above 4 for token requests, is
// decided where they are copied into the HTTP client object (the resource retriever and the grant flows).
// A new object has both flags and every number 0 and every text unset.
class TransportSettings {
 public:
  // Stores the byte given for flag A (ignore server certificate errors when not 0).
  void SetOptionFlagA(Bool8 value) { optionFlagA_ = value; }
  // Returns the byte stored for flag A.
  std::uint32_t GetOptionFlagA() const { return optionFlagA_; }
  // Stores the byte given for flag B (follow redirects when not 0).
  void SetOptionFlagB(Bool8 value) { optionFlagB_ = value; }
  // Returns the byte stored for flag B.
  std::uint32_t GetOptionFlagB() const { return optionFlagB_; }

  // Stores value A (connect timeout, milliseconds).
  void SetOptionValueA(std::uint32_t value) { optionValueA_ = value; }
  // Returns value A.
  std::uint32_t GetOptionValueA() const { return optionValueA_; }
  // Stores value B (receive timeout, milliseconds).
  void SetOptionValueB(std::uint32_t value) { optionValueB_ = value; }
  // Returns value B.
  std::uint32_t GetOptionValueB() const { return optionValueB_; }
  // Stores value C (whole-exchange timeout, milliseconds).
  void SetOptionValueC(std::uint32_t value) { optionValueC_ = value; }
  // Returns value C.
  std::uint32_t GetOptionValueC() const { return optionValueC_; }
  // Stores the secure protocol choice (0 default, 1 to 4 TLS 1.0 to 1.3; other values are stored too).
  void SetSecureProtocol(std::uint32_t value) { secureProtocol_ = value; }
  // Returns the secure protocol choice.
  std::uint32_t GetSecureProtocol() const { return secureProtocol_; }

  // Stores each of the three texts (proxy URL, user, password) by the set-string rule, independently: a null or
  // empty element keeps its old text, the others are still replaced.
  void SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c);
  // Stores each of the two texts (proxy URL, bypass list) by the set-string rule, independently.
  void SetStringPair(const WideChar* a, const WideChar* b);
  // Hands out caller-owned copies of the three texts (see CopyToCaller); an unset element leaves its out as it was.
  void GetStringTriple(WideChar** a, WideChar** b, WideChar** c) const;
  // Hands out caller-owned copies of the two texts (see CopyToCaller).
  void GetStringPair(WideChar** a, WideChar** b) const;

 private:
  std::uint32_t secureProtocol_ = 0;
  std::uint32_t optionValueC_ = 0;
  std::uint32_t optionFlagB_ = 0;
  std::uint32_t optionFlagA_ = 0;
  StringProperty stringPair_[2];
  StringProperty stringTriple_[3];
  std::uint32_t optionValueA_ = 0;
  std::uint32_t optionValueB_ = 0;
};

}  // namespace OAuthClient

#endif  // OAUTH_REQUESTS_TRANSPORT_SETTINGS_H
