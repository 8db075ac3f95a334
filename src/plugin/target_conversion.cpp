#include "plugin/target_conversion.h"

#include <optional>

#include "engine/plus2rtf.h"
#include "engine/plus_to_styled_text.h"
#include "engine/rich_text_box.h"
#include "plugin/silent_conversion.h"
#include "targets/length_fit.h"
#include "targets/write_target.h"

namespace tessalune::plugin {

TargetConversion convertPlusTo(targets::Target target, std::string_view plus,
                               const errors::MessageTexts& messages,
                               const TargetConversion::Options& options) {
  const std::optional<engine::LengthFit> fit = targets::lengthFit(target, options.mode, options.limit);
  SilentConversion conversion(
      messages, {options.mode, options.noEnd, options.keepWhenThinned, false, fit ? &*fit : nullptr});
  engine::RichTextBox box("rtf_nick");
  box.setTextRtf(engine::plus2rtf(plus));
  TargetConversion result;
  // Backgrounds are converted when the text has some: the box shows white under every other
  // character, which is no background of the text's.
  result.plus = conversion.convert(box, engine::hasBackgroundCode(plus));
  if (!result.plus.empty()) result.text = targets::writeTarget(target, result.plus);
  result.message = conversion.message();
  result.question = conversion.question();
  return result;
}

}  // namespace tessalune::plugin
