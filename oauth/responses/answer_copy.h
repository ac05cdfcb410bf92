// AnswerCopy: the texts and bytes a response copies out of the HTTP client object, kept in one buffer.
#ifndef OAUTH_RESPONSES_ANSWER_COPY_H
#define OAUTH_RESPONSES_ANSWER_COPY_H

#include <cstddef>
#include <string>
#include <string_view>

#include "common/reused_buffer.h"
#include "oauth/text/boundary_text.h"

namespace OAuthClient {

// A response copies several small texts out of the component (the header text, the status text, the members of a
// token reply, a body) while the component still holds them, keeps them for the host as long as it lives and frees
// them together. Kept in one buffer they cost one allocation instead of one each: Reserve the room first, then
// Add each part, each followed by a zero. A Part names a copy by its place, so it stays valid as the buffer grows.
// An empty text or byte count is not kept: its Part is empty and hands out null.
class AnswerCopy {
 public:
  // A buffer larger than this is freed by Clear rather than kept.
  static constexpr std::size_t kKeptBytes = 64 * 1024;

  // Where a copy lies in the buffer (in units) and its size (in units for a text, in bytes for bytes).
  struct Part {
    std::size_t at = 0;
    std::size_t size = 0;
    bool IsEmpty() const { return size == 0; }
  };

  // Returns the room a text or bytes take, for Reserve.
  static std::size_t RoomFor(std::u16string_view text) { return text.empty() ? 0 : text.size() + 1; }
  // Bytes are stored in the units, followed by a zero byte, rounded up to whole units.
  static std::size_t RoomForBytes(std::size_t count) {
    return count == 0 ? 0 : (count + 1 + sizeof(char16_t) - 1) / sizeof(char16_t);
  }

  // Empties the buffer, overwriting the copies (see EmptyForReuse); it keeps its storage (up to kKeptBytes) for
  // the next answer.
  void Clear() { EmptyForReuse(buffer_, kKeptBytes); }

  // Makes room for `units` more units, so that the Adds that follow allocate once.
  void Reserve(std::size_t units) { buffer_.reserve(buffer_.size() + units); }

  // Copies `text` and a zero unit.
  Part AddText(std::u16string_view text) {
    if (text.empty()) return Part{};
    const Part part{buffer_.size(), text.size()};
    buffer_.append(text.data(), text.size()).push_back(0);
    return part;
  }
  // Copies `count` bytes and a zero byte (so a host can read a text body as a C string).
  Part AddBytes(const unsigned char* bytes, std::size_t count);

  // Returns the zero-terminated copy of a text, or null for an empty part.
  const WideChar* Text(Part part) const { return part.IsEmpty() ? nullptr : AsWide(buffer_.data() + part.at); }
  std::u16string_view View(Part part) const { return std::u16string_view(buffer_).substr(part.at, part.size); }
  // Returns the copy of the bytes (a zero byte after them), or null for an empty part. Any object's storage may be
  // read as bytes, the units of this buffer included.
  const unsigned char* Bytes(Part part) const {
    return part.IsEmpty() ? nullptr : reinterpret_cast<const unsigned char*>(buffer_.data() + part.at);
  }

 private:
  std::u16string buffer_;
};

}  // namespace OAuthClient

#endif  // OAUTH_RESPONSES_ANSWER_COPY_H
