// CompactText: a large text property kept in one byte per unit while every unit fits in a byte.
#include "oauth/responses/compact_text.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include "common/reused_buffer.h"

namespace OAuthClient {

namespace {

// Below this many units a text is stored wide at once: the saving would not pay for the extra passes.
constexpr std::size_t kCompactFromUnits = 64 * 1024;

}  // namespace

bool CompactText::Set(std::u16string_view text) {
  if (text.empty()) return false;
  const bool fitsInBytes = text.size() >= kCompactFromUnits &&
                           std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x100; });
  if (fitsInBytes) {
    narrow_.resize(text.size());
    std::transform(text.begin(), text.end(), narrow_.begin(),
                   [](char16_t unit) { return static_cast<char>(static_cast<unsigned char>(unit)); });
    wide_.clear();
  } else {
    wide_.assign(text);
    narrow_.clear();
  }
  set_ = true;
  return true;
}

void CompactText::Clear() {
  set_ = false;
  EmptyForReuse(narrow_, 0);
  EmptyForReuse(wide_, kCompactFromUnits * sizeof(char16_t));
  // A once_flag cannot be reset; a new one is made in its place.
  widened_.~once_flag();
  new (&widened_) std::once_flag();
}

const WideChar* CompactText::Get() const {
  if (!set_) return nullptr;
  std::call_once(widened_, [this] {
    if (narrow_.empty()) return;  // stored wide
    wide_.resize(narrow_.size());
    std::transform(narrow_.begin(), narrow_.end(), wide_.begin(),
                   [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
    std::string().swap(narrow_);
  });
  return AsWide(wide_.c_str());
}

}  // namespace OAuthClient
