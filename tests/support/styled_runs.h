#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "engine/styled_text.h"

namespace tessalune::testing {

// Characters in runs of one format each.
inline engine::StyledText styledRuns(
    std::initializer_list<std::pair<std::u32string_view, engine::CharFormat>> runs) {
  engine::StyledText text;
  for (const auto& [chars, format] : runs) {
    for (char32_t c : chars) text.push_back({c, format});
  }
  return text;
}

}  // namespace tessalune::testing
