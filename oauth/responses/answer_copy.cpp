// AnswerCopy: the texts and bytes a response copies out of the HTTP client object, kept in one buffer.
#include "oauth/responses/answer_copy.h"

#include <algorithm>

namespace OAuthClient {

AnswerCopy::Part AnswerCopy::AddBytes(const unsigned char* bytes, std::size_t count) {
  if (count == 0) return Part{};
  const Part part{buffer_.size(), count};
  buffer_.resize(buffer_.size() + RoomForBytes(count));  // zero units: the zero byte, and the padding of an odd count
  std::copy(bytes, bytes + count, reinterpret_cast<unsigned char*>(buffer_.data() + part.at));
  return part;
}

}  // namespace OAuthClient
