#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/byte_writer.h"
#include "engine/colour.h"
#include "engine/intern_table.h"

namespace tessalune::engine {

// An RTF colour table: colours in order of first use, each once, numbered from 1.
class RtfColourTable {
 public:
  // The position of colour, added at the end when it is new.
  std::size_t indexOf(ColourNumber colour) { return std::size_t{colours_.add(colour)} + 1; }
  bool empty() const { return colours_.empty(); }

  // "{\colortbl ;" and each entry ("\red" R "\green" G "\blue" B ";"), then "}".
  std::string text() const {
    ByteWriter out(textSize());
    appendText(out);
    return std::move(out).take();
  }
  // An upper bound of the text's size.
  std::size_t textSize() const { return 16 + colours_.size() * 32; }
  // The same text, written on to a writer that takes characters and pieces (a ByteWriter).
  template <typename Out>
  void appendText(Out& out) const {
    // Each entry is the same three words around three numbers of one to three digits.
    static constexpr auto kDecimal = [] {
      std::array<std::array<char, 4>, 256> all{};  // digits, then their count in the last place
      for (int v = 0; v < 256; ++v) {
        std::array<char, 4>& d = all[static_cast<std::size_t>(v)];
        const int n = v >= 100 ? 3 : v >= 10 ? 2 : 1;
        for (int i = n - 1, rest = v; i >= 0; --i, rest /= 10)
          d[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
        d[3] = static_cast<char>(n);
      }
      return all;
    }();
    out.put("{\\colortbl ;");
    const auto component = [&](std::string_view word, int value) {
      const std::array<char, 4>& d = kDecimal[static_cast<std::size_t>(value)];
      out.put(word);
      out.put(std::string_view(d.data(), static_cast<std::size_t>(d[3])));
    };
    for (ColourNumber c : colours_.values()) {
      component("\\red", redOf(c));
      component("\\green", greenOf(c));
      component("\\blue", blueOf(c));
      out.put(';');
    }
    out.put('}');
  }

 private:
  struct Hash {
    std::size_t operator()(ColourNumber colour) const { return colour * 0x9E3779B1u >> 7; }
  };
  InternTable<ColourNumber, Hash> colours_;
};

}  // namespace tessalune::engine
