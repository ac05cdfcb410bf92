// HeaderLines: iteration over the lines of a header text, for every parser of header text in this tree.
#ifndef OAUTHCLIENT_COMMON_HEADER_LINES_H
#define OAUTHCLIENT_COMMON_HEADER_LINES_H

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace OAuthClient {

// What ends a line.
enum class LineBreak {
  // CR LF only; a lone CR or LF stays inside the line (received header blocks, which the component writes).
  kCrLf,
  // LF, with one CR right before it dropped; a lone CR stays inside the line, so a check of the line can refuse it
  // (header text handed in by a caller).
  kLf,
  // CR LF, or a lone CR, or a lone LF: each ends a line, so a bare-LF text loses no character of its next line
  // (the library's header texts, whose hosts mix all three).
  kCrLfOrLone,
};

// A range over the lines of `text` without their line breaks, for range-for. Every line, empty ones included, is
// visited in order; after the last break a non-empty remainder is the last line, so a text that ends in a break has
// no empty last line and an empty text has no lines. The text must outlive the range and its iterators.
template <typename Char>
class HeaderLines {
 public:
  using View = std::basic_string_view<Char>;

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = View;
    using difference_type = std::ptrdiff_t;
    using pointer = const View*;
    using reference = const View&;

    Iterator() = default;
    Iterator(View rest, LineBreak lineBreak) : rest_(rest), lineBreak_(lineBreak), atEnd_(rest.empty()) { Advance(); }

    reference operator*() const { return line_; }
    pointer operator->() const { return &line_; }
    Iterator& operator++() {
      Advance();
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      Advance();
      return before;
    }
    // Iterators compare equal only at the end; that is all range-for needs.
    bool operator==(const Iterator& other) const { return atEnd_ && other.atEnd_; }
    bool operator!=(const Iterator& other) const { return !(*this == other); }

   private:
    // Cuts the next line off rest_, or marks the end when nothing is left.
    void Advance() {
      if (done_) {
        atEnd_ = true;
        return;
      }
      const std::size_t lineEnd = FindBreak();
      if (lineEnd == View::npos) {
        line_ = rest_;
        done_ = true;
        return;
      }
      line_ = rest_.substr(0, lineEnd);
      rest_.remove_prefix(lineEnd + BreakLength(lineEnd));
      // An empty remainder after a break is no line.
      if (rest_.empty()) done_ = true;
    }

    // Returns where the line ends (before its break, a CR before an LF included) or npos for no break.
    std::size_t FindBreak() const {
      switch (lineBreak_) {
        case LineBreak::kCrLf: {
          const Char crLf[] = {Char('\r'), Char('\n')};
          return rest_.find(View(crLf, 2));
        }
        case LineBreak::kLf: {
          const std::size_t lf = rest_.find(Char('\n'));
          return (lf != View::npos && lf > 0 && rest_[lf - 1] == Char('\r')) ? lf - 1 : lf;
        }
        case LineBreak::kCrLfOrLone:
          break;
      }
      const Char breaks[] = {Char('\r'), Char('\n')};
      return rest_.find_first_of(View(breaks, 2));
    }

    // Returns how many characters the break at `at` takes.
    std::size_t BreakLength(std::size_t at) const {
      const bool crLf = rest_[at] == Char('\r') && at + 1 < rest_.size() && rest_[at + 1] == Char('\n');
      return crLf ? 2 : 1;
    }

    View rest_;
    View line_;
    LineBreak lineBreak_ = LineBreak::kCrLf;
    bool done_ = false;
    bool atEnd_ = true;
  };

  HeaderLines(View text, LineBreak lineBreak) : text_(text), lineBreak_(lineBreak) {}
  Iterator begin() const { return Iterator(text_, lineBreak_); }
  Iterator end() const { return Iterator(); }

 private:
  View text_;
  LineBreak lineBreak_;
};

// Deduction guides, so that HeaderLines(text, LineBreak::kLf) works for std::string and std::u16string texts.
template <typename Char>
HeaderLines(std::basic_string_view<Char>, LineBreak) -> HeaderLines<Char>;
template <typename Char>
HeaderLines(const std::basic_string<Char>&, LineBreak) -> HeaderLines<Char>;

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_HEADER_LINES_H
