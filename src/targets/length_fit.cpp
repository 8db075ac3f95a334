#include "targets/length_fit.h"

#include <string>

#include "targets/write_target.h"

namespace tessalune::targets {

std::optional<engine::LengthFit> lengthFit(Target target, engine::EditorMode mode, int userLimit) {
  if (target == Target::Plus && userLimit <= 0) return std::nullopt;
  const Unit unit = targetInfo(target).unit;
  engine::LengthFit fit;
  fit.unit =
      unit == Unit::Utf8Bytes ? engine::LengthFit::Unit::Utf8Bytes : engine::LengthFit::Unit::Characters;
  fit.limit = static_cast<std::size_t>(targetLimit(target, mode, userLimit));
  fit.measure = [target, unit](std::string_view plus) { return measure(unit, writeTarget(target, plus)); };
  return fit;
}

}  // namespace tessalune::targets
