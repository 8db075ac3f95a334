#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/colour.h"
#include "engine/intern_table.h"

namespace tessalune::engine {

// The format of one character of a rich-text box.
struct CharFormat {
  BoxColour textColour;  // nothing: the automatic text colour
  BoxColour background;  // nothing: no background
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;

  bool operator==(const CharFormat&) const = default;
};

struct StyledChar {
  char32_t ch;
  CharFormat format;

  bool operator==(const StyledChar&) const = default;
};

inline bool isLineBreakChar(char32_t c) {
  return c == U'\r' || c == U'\n';
}

// The numbers of the formats of a text's characters: two bytes each while the text has
// fewer than 65 536 formats, four beyond.
class FormatIds {
 public:
  std::size_t size() const { return wide_ ? wideIds_.size() : narrowIds_.size(); }
  std::uint32_t operator[](std::size_t i) const { return wide_ ? wideIds_[i] : narrowIds_[i]; }
  void set(std::size_t i, std::uint32_t id);
  void pushBack(std::uint32_t id);
  void erase(std::size_t start, std::size_t count);
  void insert(std::size_t at, const std::vector<std::uint32_t>& ids);
  void truncate(std::size_t size);
  void reserve(std::size_t size);

 private:
  void widen();

  bool wide_ = false;
  std::vector<std::uint16_t> narrowIds_;
  std::vector<std::uint32_t> wideIds_;
};

// Styled characters, kept small because a box may hold megabytes of text: each distinct
// format is stored once and every character holds its code point and its format's number.
// The code points and the formats are shared between copies until one of them changes
// them, as the conversions copy whole boxes only to recolour them. Reading a character gives a
// value; formats change through setFormat.
class StyledText {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = StyledChar;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = StyledChar;

    const_iterator() = default;
    const_iterator(const StyledText* text, std::size_t at) : text_(text), at_(at) {}
    StyledChar operator*() const { return (*text_)[at_]; }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return {text_, at_++}; }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    const StyledText* text_ = nullptr;
    std::size_t at_ = 0;
  };

  StyledText() = default;
  StyledText(std::size_t count, const StyledChar& c);
  StyledText(std::initializer_list<StyledChar> chars);

  std::size_t size() const { return chars_ ? chars_->size() : 0; }
  bool empty() const { return size() == 0; }
  char32_t charAt(std::size_t i) const { return (*chars_)[i]; }
  const CharFormat& formatAt(std::size_t i) const { return (*table_)[ids_[i]]; }
  StyledChar operator[](std::size_t i) const { return {charAt(i), formatAt(i)}; }
  StyledChar back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void push_back(const StyledChar& c);
  // Room for size characters. Room that is never written costs address space only, so a
  // reader reserves for as many characters as its input could hold.
  void reserve(std::size_t size);
  void setFormat(std::size_t i, const CharFormat& format);
  // Calls change(CharFormat&) on a copy of the format of each of count characters from
  // start and gives each the result; characters that shared a format share the result.
  template <typename Change>
  void changeFormats(std::size_t start, std::size_t count, Change&& change) {
    std::uint32_t before = 0, after = 0;
    bool known = false;
    for (std::size_t i = start; i < start + count; ++i) {
      if (!known || ids_[i] != before) {
        before = ids_[i];
        CharFormat format = formatAt(i);
        change(format);
        after = idOf(format);
        before = ids_[i];  // a clean-up on the way may have renumbered
        known = true;
      }
      ids_.set(i, after);
    }
  }
  // Replaces count characters from start by all of inserted.
  void replace(std::size_t start, std::size_t count, StyledText inserted);
  void truncate(std::size_t size);
  void swap(StyledText& other) noexcept;

  bool operator==(const StyledText& other) const;

 private:
  struct FormatHash {
    std::size_t operator()(const CharFormat& f) const;
  };
  // Formats are numbered in order of first use and never renumbered while shared.
  using FormatTable = InternTable<CharFormat, FormatHash>;

  std::vector<char32_t>& ownChars();
  FormatTable& ownTable();
  // The number of format, added if new. A clean-up on the way renumbers the table: a caller
  // holding numbers not yet stored in ids_ passes mayCleanUp false.
  std::uint32_t idOf(const CharFormat& format, bool mayCleanUp = true);
  void dropUnusedFormats();

  static constexpr std::size_t kFirstCleanUp = 4096;

  std::shared_ptr<std::vector<char32_t>> chars_;
  std::shared_ptr<FormatTable> table_;
  FormatIds ids_;
  std::size_t nextCleanUp_ = kFirstCleanUp;
};

// The house RTF dialect of the box (one font, one size, a colour table in order of first
// use, a NUL after the closing brace).
std::string writeRtf(const StyledText& text);

// Appends characters to a text, each lone CR or LF made the line break CR LF in its own
// format; a CR LF pair takes the format of its CR.
class LineBreakNormaliser {
 public:
  explicit LineBreakNormaliser(StyledText& text) : text_(text) {}
  void add(char32_t c, const CharFormat& format);
  // Appends UTF-8 text in one format.
  void addText(std::string_view utf8, const CharFormat& format);

 private:
  StyledText& text_;
  bool afterCr_ = false;
};

// Reads RTF: everything writeRtf and plus2rtf produce, and more. Unknown control words
// and destinations are skipped, the last \par before the closing brace ends the document,
// and malformed input loads as far as it can be read; text that is not RTF at all loads
// as plain text. Every lone CR or LF becomes the line break CR LF. Never fails.
StyledText readRtf(std::string_view rtf);

}  // namespace tessalune::engine
