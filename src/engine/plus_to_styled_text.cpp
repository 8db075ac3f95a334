#include "engine/plus_to_styled_text.h"

#include "engine/markup.h"
#include "engine/plus2rtf.h"

namespace tessalune::engine {

StyledText plusToStyledText(std::string plusText, errors::FailureContext& ctx) {
  const std::string rtf = plus2rtf(plusText, ctx);
  std::string().swap(plusText);  // let go before the characters are read
  return readRtf(rtf);
}

StyledText plusToStyledText(std::string plusText) {
  const std::string rtf = plus2rtf(plusText);
  std::string().swap(plusText);
  return readRtf(rtf);
}

bool hasBackgroundCode(std::string_view plusText) {
  for (std::size_t p = plusText.find(plus::kColour); p != std::string_view::npos;
       p = plusText.find(plus::kColour, p + 1)) {
    std::size_t at = p + plus::kColour.size();
    if (at < plusText.size() && plusText[at] == '#') {
      at += 7;
    } else {
      for (int digits = 0; digits < 2 && at < plusText.size() && plusText[at] >= '0' && plusText[at] <= '9';
           ++digits)
        ++at;
    }
    if (at < plusText.size() && plusText[at] == ',') return true;
  }
  return false;
}

}  // namespace tessalune::engine
