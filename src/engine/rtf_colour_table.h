#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

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
    std::string out = "{\\colortbl ;";
    out.reserve(out.size() + colours_.size() * 30 + 1);
    char digits[4];
    const auto component = [&](std::string_view word, int value) {
      out += word;
      out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    };
    for (ColourNumber c : colours_) {
      component("\\red", redOf(c));
      component("\\green", greenOf(c));
      component("\\blue", blueOf(c));
      out.push_back(';');
    }
    out.push_back('}');
    return out;
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
