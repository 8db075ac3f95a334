#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/byte_writer.h"
#include "engine/colour.h"

namespace tessalune::engine {

// An RTF colour table: colours in order of first use, each once, numbered from 1. Looked
// up through an open-addressing hash table: a gradient gives nearly every character a
// colour of its own, and the writers look one up for every colour change they write.
class RtfColourTable {
 public:
  // The position of colour, added at the end when it is new.
  std::size_t indexOf(ColourNumber colour) {
    if ((colours_.size() + 1) * 2 > slots_.size()) grow();
    std::size_t slot = home(colour);
    while (slots_[slot] != 0) {
      if (colours_[slots_[slot] - 1] == colour) return slots_[slot];
      slot = (slot + 1) & (slots_.size() - 1);
    }
    colours_.push_back(colour);
    slots_[slot] = static_cast<std::uint32_t>(colours_.size());
    return colours_.size();
  }
  bool empty() const { return colours_.empty(); }

  // "{\colortbl ;" and each entry ("\red" R "\green" G "\blue" B ";"), then "}".
  std::string text() const {
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
    ByteWriter out(16 + colours_.size() * 32);
    out.put("{\\colortbl ;");
    const auto component = [&](std::string_view word, int value) {
      const std::array<char, 4>& d = kDecimal[static_cast<std::size_t>(value)];
      out.put(word);
      out.put(std::string_view(d.data(), static_cast<std::size_t>(d[3])));
    };
    for (ColourNumber c : colours_) {
      component("\\red", redOf(c));
      component("\\green", greenOf(c));
      component("\\blue", blueOf(c));
      out.put(';');
    }
    out.put('}');
    return std::move(out).take();
  }

 private:
  std::size_t home(ColourNumber colour) const { return (colour * 0x9E3779B1u >> 7) & (slots_.size() - 1); }
  void grow() {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
    for (std::size_t i = 0; i < colours_.size(); ++i) {
      std::size_t slot = home(colours_[i]);
      while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
      slots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
  }

  std::vector<ColourNumber> colours_;
  std::vector<std::uint32_t> slots_;  // 0: empty, else a position in colours_
};

}  // namespace tessalune::engine
