#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tessalune::engine {

// Whether text holds prefix at position at (at most text.size()). Compares in place: the
// patterns are a few bytes long and met at nearly every marker.
inline bool startsWithAt(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (text[at + i] != prefix[i]) return false;
  }
  return true;
}

// The first occurrence of pattern in text from `from` on, found through its byte at
// anchor (by default the first): choosing one that the text seldom holds keeps the search
// from stopping at every marker.
template <typename Char>
std::size_t findIn(const std::basic_string<Char>& text, std::basic_string_view<Char> pattern,
                   std::size_t from, std::size_t anchor = 0) {
  if (anchor == 0) return text.find(pattern, from);
  for (std::size_t at = from + anchor; at < text.size(); ++at) {
    at = text.find(pattern[anchor], at);
    if (at == std::basic_string<Char>::npos) break;
    if (text.compare(at - anchor, pattern.size(), pattern) == 0) return at - anchor;
  }
  return std::basic_string<Char>::npos;
}

// Rewrites a text in one forward pass. When nothing written is longer than what it
// replaces, the result grows in place behind the reading position (what is still to be
// read stays as it was) and a large text is never copied; otherwise it is built aside.
template <typename Char>
class Rewrite {
 public:
  using String = std::basic_string<Char>;

  Rewrite(String& text, bool shrinks) : text_(text), inPlace_(shrinks) {
    if (!inPlace_) out_.reserve(text.size());
  }

  // The text as it was, valid from read() on.
  const String& source() const { return text_; }
  std::size_t read() const { return read_; }
  // The result so far.
  std::basic_string_view<Char> written() const {
    return inPlace_ ? std::basic_string_view<Char>(text_).substr(0, write_)
                    : std::basic_string_view<Char>(out_);
  }

  // Keeps the source up to end as it is.
  void keepUpTo(std::size_t end) {
    if (inPlace_) {
      if (write_ != read_) std::copy(text_.begin() + read_, text_.begin() + end, text_.begin() + write_);
      write_ += end - read_;
    } else {
      out_.append(text_, read_, end - read_);
    }
    read_ = end;
  }
  // Replaces the next `length` characters of the source by `with`.
  void replace(std::size_t length, std::basic_string_view<Char> with) {
    read_ += length;
    write(with);
  }
  void write(std::basic_string_view<Char> with) {
    if (inPlace_) {
      std::copy(with.begin(), with.end(), text_.begin() + write_);
      write_ += with.size();
    } else {
      out_.append(with);
    }
  }
  void write(Char c) { write(std::basic_string_view<Char>(&c, 1)); }
  // Drops the last `length` characters written.
  void unwrite(std::size_t length) {
    if (inPlace_) {
      write_ -= length;
    } else {
      out_.resize(out_.size() - length);
    }
  }
  // Keeps the rest of the source and makes the result the text.
  void finish() {
    keepUpTo(text_.size());
    if (inPlace_) {
      text_.resize(write_);
    } else {
      text_.swap(out_);
    }
  }

 private:
  String& text_;
  bool inPlace_;
  String out_;
  std::size_t read_ = 0;
  std::size_t write_ = 0;
};

// Replaces every occurrence of from, left to right and without overlap, in one pass.
// The conversions are sequences of such whole-string replacements.
template <typename Char>
void replaceAll(std::basic_string<Char>& text, std::basic_string_view<Char> from,
                std::basic_string_view<Char> to, std::size_t anchor = 0) {
  if (from.empty()) return;
  std::size_t found = findIn(text, from, 0, anchor);
  if (found == std::basic_string<Char>::npos) return;
  Rewrite<Char> rewrite(text, to.size() <= from.size());
  while (found != std::basic_string<Char>::npos) {
    rewrite.keepUpTo(found);
    rewrite.replace(from.size(), to);
    found = findIn(rewrite.source(), from, rewrite.read(), anchor);
  }
  rewrite.finish();
}

inline void replaceAll(std::string& text, std::string_view from, std::string_view to,
                       std::size_t anchor = 0) {
  replaceAll<char>(text, from, to, anchor);
}
inline void replaceAll(std::u32string& text, std::u32string_view from, std::u32string_view to) {
  replaceAll<char32_t>(text, from, to);
}

struct Replacement {
  std::string_view from;
  std::string_view to;
};

// Applies several replacements in one left-to-right pass. Valid as a stand-in for
// applying them one after another only when every pattern starts with `lead`, contains
// no other `lead`, and no replacement text can take part in a match: then no two
// occurrences overlap and no replacement creates or destroys another's match.
template <std::size_t N>
void replaceEach(std::string& text, char lead, const Replacement (&replacements)[N]) {
  std::size_t found = text.find(lead);
  if (found == std::string::npos) return;
  const bool shrinks = std::all_of(std::begin(replacements), std::end(replacements),
                                   [](const Replacement& r) { return r.to.size() <= r.from.size(); });
  Rewrite<char> rewrite(text, shrinks);
  while (found != std::string::npos) {
    std::size_t next = found + 1;
    const char second = found + 1 < rewrite.source().size() ? rewrite.source()[found + 1] : '\0';
    for (const Replacement& r : replacements) {
      if (r.from.size() < 2 || r.from[1] != second || !startsWithAt(rewrite.source(), found, r.from))
        continue;
      rewrite.keepUpTo(found);
      rewrite.replace(r.from.size(), r.to);
      next = rewrite.read();
      break;
    }
    found = rewrite.source().find(lead, next);
  }
  rewrite.finish();
}

}  // namespace tessalune::engine
