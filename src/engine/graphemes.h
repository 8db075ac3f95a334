#pragma once

#include <cstdint>
#include <span>

namespace tessalune::engine {

// Where the characters a person sees begin: Unicode's extended grapheme clusters (UAX #29,
// as of Unicode 15.0). An emoji joined by zero width joiners, a letter and its combining
// accents, a flag's two regional indicators, a Hangul syllable written as jamo: each is
// one cluster of several characters.

// The grapheme cluster break property of a character.
enum class GraphemeBreak : std::uint8_t {
  Other,
  CR,
  LF,
  Control,
  Extend,
  ZWJ,
  RegionalIndicator,
  Prepend,
  SpacingMark,
  L,
  V,
  T,
  LV,
  LVT
};

// Characters first to last share a property and whether they are Extended_Pictographic.
struct GraphemeRange {
  char32_t first;
  char32_t last;
  GraphemeBreak property;
  bool pictographic;
};

// Every character whose property is not Other or that is Extended_Pictographic, in
// ranges sorted by their first character (generated from Unicode's data files).
std::span<const GraphemeRange> graphemeRanges();

// The property of c and whether c is Extended_Pictographic.
GraphemeRange graphemeRangeOf(char32_t c);

// Reads a text one character at a time, first to last, and tells whether each begins a
// cluster. Whether it does can depend on any number of characters before it (a run of
// regional indicators, an emoji's extensions), so a text is read from its start.
class GraphemeBreaker {
 public:
  // True when a cluster begins at c: always for the first character.
  bool startsCluster(char32_t c);

 private:
  bool started_ = false;
  GraphemeBreak previous_ = GraphemeBreak::Other;
  // An Extended_Pictographic character and Extend characters after it: a ZWJ then
  // joins the next pictograph to it.
  bool inPictograph_ = false;
  bool pictographThenZwj_ = false;
  // Regional indicators read in a row, since the last other character.
  std::uint32_t regionalIndicators_ = 0;
};

}  // namespace tessalune::engine
