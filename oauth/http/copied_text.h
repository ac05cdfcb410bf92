// CopiedText: the owner of one text copy that a request's GetStringTriple / GetStringPair hands out.
#ifndef OAUTH_HTTP_COPIED_TEXT_H
#define OAUTH_HTTP_COPIED_TEXT_H

#include "oauth/text/boundary_text.h"
#include "oauthclient/caller_copy.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Starts null; Out() is what the getter fills (it frees what the slot held and stores a caller-owned copy). The
// copy is freed with FreeCallerCopy when this goes out of scope. Not copyable.
class CopiedText {
 public:
  CopiedText() = default;
  ~CopiedText() { FreeCallerCopy(text_); }
  CopiedText(const CopiedText&) = delete;
  CopiedText& operator=(const CopiedText&) = delete;

  // Returns the slot that a getter writes its copy into.
  WideChar** Out() { return &text_; }
  // Returns the copy, or null when the getter handed out none.
  const WideChar* Get() const { return text_; }
  // Returns true when the getter handed out a text (which may in principle be empty).
  bool IsPresent() const { return text_ != nullptr; }
  // Returns true when the getter handed out a non-empty text.
  bool HasText() const { return !IsNullOrEmpty(text_); }

 private:
  WideChar* text_ = nullptr;
};

}  // namespace OAuthClient

#endif  // OAUTH_HTTP_COPIED_TEXT_H
