#include "engine/plus_to_styled_text.h"

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

}  // namespace tessalune::engine
