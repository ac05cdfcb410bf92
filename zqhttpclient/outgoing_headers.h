// OutgoingHeaders: the request header fields set on an HTTP client object, checked so that none can inject a line.
#ifndef ZQHTTPCLIENT_OUTGOING_HEADERS_H
#define ZQHTTPCLIENT_OUTGOING_HEADERS_H

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace OAuthClient::Http {

// Returns true when `text` may stand as a header field value (or user agent) on a line of its own (RFC 9110
// section 5.5): no control character but tab, so no CR, LF or NUL can end or split the line. Bytes from 0x80 up
// (UTF-8) pass.
bool IsFieldValueText(std::string_view text);

// An ordered list of header fields, one per name (names compared ASCII case-insensitively). Names and values are
// UTF-8. A name must be an HTTP token (RFC 9110 section 5.6.2); a value may be empty but must hold no control
// character other than tab (no CR, LF or NUL), so a header can never end the header block early or add a line of
// its own. Leading and trailing spaces and tabs of a name and of a value are dropped (a receiver drops them from a
// value and refuses them around a name).
//
// The fields are kept in one string, each as "name:value\n" (a token holds no colon and a value no line break), so
// that a request's few fields cost one allocation rather than one per value and one for the list; the UTF-16 value
// of the component's interface is converted straight into it. Where the first fields' names and values lie is
// noted beside the string, so that walking and looking them up needs no parse; fields past those are parsed.
class OutgoingHeaders {
 public:
  using Field = std::pair<std::string_view, std::string_view>;

  // Walks the fields in order, each as a (name, value) pair of views into the list.
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Field;
    using difference_type = std::ptrdiff_t;
    using pointer = const Field*;
    using reference = Field;

    Iterator(const OutgoingHeaders& headers, std::size_t index, std::size_t at)
        : headers_(&headers), index_(index), at_(at) {}
    Field operator*() const { return headers_->FieldAt(index_, at_); }
    Iterator& operator++() {
      at_ = headers_->NextLineAt(index_, at_);
      ++index_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    const OutgoingHeaders* headers_;
    std::size_t index_;  // the field's place in the list
    std::size_t at_;     // where its line starts
  };

  // Adds the field, or replaces the value (and name spelling) of the field of the same name in place.
  // Returns false and changes nothing when the name or value is not acceptable.
  bool Set(std::string_view name, std::string_view value);
  // The same for the UTF-16 texts of the component's interface: the name, which must be a token and so ASCII, is
  // checked before anything is converted, and the value is converted into the list and checked there.
  bool Set(std::u16string_view name, std::u16string_view value);

  // Removes the field of that name. Returns false when there was none.
  bool Remove(std::string_view name);

  // Adds every "Name: value" line of a text whose lines end in CR LF (a lone LF also ends a line; empty lines
  // are skipped), as Set does. Returns false and adds nothing when any line lacks a colon or fails Set's checks.
  bool SetFromText(std::string_view text);

  // Returns the value of the field of that name, if set.
  std::optional<std::string_view> Find(std::string_view name) const;

  // Removes every field. The fields' storage is kept for the next ones; like every change that drops bytes of
  // it, this overwrites them (see EmptyForReuse), so a header value does not outlive its removal there.
  void Clear();
  // The bytes the fields take on the wire, each as "Name: value" and CR LF.
  std::size_t WireBytes() const { return lines_.size() + 2 * fieldCount_; }
  Iterator begin() const { return Iterator(*this, 0, 0); }
  Iterator end() const { return Iterator(*this, 0, lines_.size()); }
  const OutgoingHeaders& Fields() const { return *this; }

 private:
  // Where a noted field's line starts and how long its name and value are.
  struct Place {
    std::size_t at;
    std::size_t nameSize;
    std::size_t valueSize;
  };
  static constexpr std::size_t kNotedFields = 8;

  Field FieldAt(std::size_t index, std::size_t at) const {
    if (index >= notedCount_) return ParsedFieldAt(at);
    const Place& place = noted_[index];
    return {std::string_view(lines_.data() + place.at, place.nameSize),
            std::string_view(lines_.data() + place.at + place.nameSize + 1, place.valueSize)};
  }
  std::size_t NextLineAt(std::size_t index, std::size_t at) const {
    if (index >= notedCount_) return lines_.find('\n', at) + 1;
    const Place& place = noted_[index];
    return place.at + place.nameSize + 1 + place.valueSize + 1;
  }
  Field ParsedFieldAt(std::size_t at) const;
  // The place in the list and the line start of the field of that name among the lines before `limit`, if any.
  std::optional<std::pair<std::size_t, std::size_t>> FieldNamed(std::string_view name, std::size_t limit) const;
  // Appends a line with the name `appendName` writes and the value `appendValue` writes, and returns true; returns
  // false (and leaves the list as it was) when the value written is not acceptable. The field of the same name, if
  // there is one, takes the new line in its place.
  template <typename AppendName, typename AppendValue>
  bool Store(AppendName&& appendName, AppendValue&& appendValue);
  // Notes the places of the first fields again after a change that moved them.
  void NoteFields();

  std::string lines_;
  std::array<Place, kNotedFields> noted_;  // the first notedCount_ are set
  std::size_t notedCount_ = 0;
  std::size_t fieldCount_ = 0;
};

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_OUTGOING_HEADERS_H
