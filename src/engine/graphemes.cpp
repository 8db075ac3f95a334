#include "engine/graphemes.h"

#include <algorithm>

namespace tessalune::engine {

GraphemeRange graphemeRangeOf(char32_t c) {
  if (c >= 0x20 && c < 0x7F) return {c, c, GraphemeBreak::Other, false};  // the common case, without a search
  const std::span<const GraphemeRange> ranges = graphemeRanges();
  const auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                      [](char32_t v, const GraphemeRange& r) { return v < r.first; });
  if (after != ranges.begin() && c <= std::prev(after)->last) return *std::prev(after);
  return {c, c, GraphemeBreak::Other, false};
}

namespace {

bool isControlOrLineEnd(GraphemeBreak p) {
  return p == GraphemeBreak::Control || p == GraphemeBreak::CR || p == GraphemeBreak::LF;
}

// Whether a cluster may not end between two characters, by the rules that look at those two
// alone; the rules that look further back are the breaker's.
bool joinedByPair(GraphemeBreak before, GraphemeBreak after) {
  using enum GraphemeBreak;
  if (before == CR && after == LF) return true;
  if (isControlOrLineEnd(before) || isControlOrLineEnd(after)) return false;
  // Hangul syllables written as jamo.
  if (before == L && (after == L || after == V || after == LV || after == LVT)) return true;
  if ((before == LV || before == V) && (after == V || after == T)) return true;
  if ((before == LVT || before == T) && after == T) return true;
  // Extensions, spacing marks and prepended characters stay with their base.
  return after == Extend || after == ZWJ || after == SpacingMark || before == Prepend;
}

}  // namespace

bool GraphemeBreaker::startsCluster(char32_t c) {
  const GraphemeRange range = graphemeRangeOf(c);
  const GraphemeBreak p = range.property;
  bool starts = true;
  if (started_) {
    if (joinedByPair(previous_, p)) {
      starts = false;
    } else if (pictographThenZwj_ && range.pictographic) {
      starts = false;  // an emoji zero width joiner sequence
    } else if (previous_ == GraphemeBreak::RegionalIndicator && p == GraphemeBreak::RegionalIndicator) {
      starts = regionalIndicators_ % 2 == 0;  // flags pair the indicators from the first
    }
  }
  pictographThenZwj_ = inPictograph_ && p == GraphemeBreak::ZWJ;
  inPictograph_ = range.pictographic || (inPictograph_ && p == GraphemeBreak::Extend);
  regionalIndicators_ = p == GraphemeBreak::RegionalIndicator ? regionalIndicators_ + 1 : 0;
  previous_ = p;
  started_ = true;
  return starts;
}

}  // namespace tessalune::engine
