#pragma once

#include <string>
#include <string_view>

namespace tessalune::engine {

// Replaces every occurrence of from, left to right and without overlap, in one pass.
// The conversions are sequences of such whole-string replacements.
template <typename Char>
void replaceAll(std::basic_string<Char>& text, std::basic_string_view<Char> from,
                std::basic_string_view<Char> to) {
  if (from.empty()) return;
  std::size_t found = text.find(from);
  if (found == std::basic_string<Char>::npos) return;
  std::basic_string<Char> out;
  out.reserve(text.size());
  std::size_t done = 0;
  while (found != std::basic_string<Char>::npos) {
    out.append(text, done, found - done);
    out.append(to);
    done = found + from.size();
    found = text.find(from, done);
  }
  out.append(text, done, std::basic_string<Char>::npos);
  text.swap(out);
}

inline void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  replaceAll<char>(text, from, to);
}
inline void replaceAll(std::u32string& text, std::u32string_view from, std::u32string_view to) {
  replaceAll<char32_t>(text, from, to);
}

}  // namespace tessalune::engine

namespace tessalune::engine {

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
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  while (found != std::string::npos) {
    const std::string_view rest = std::string_view(text).substr(found);
    std::size_t next = found + 1;
    for (const Replacement& r : replacements) {
      if (!rest.starts_with(r.from)) continue;
      out.append(text, done, found - done);
      out.append(r.to);
      done = next = found + r.from.size();
      break;
    }
    found = text.find(lead, next);
  }
  out.append(text, done, std::string::npos);
  text.swap(out);
}

}  // namespace tessalune::engine
