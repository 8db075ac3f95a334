#include "targets/target_table.h"

#include "engine/utf8.h"

namespace tessalune::targets {

const TargetInfo& targetInfo(Target target) {
  for (const TargetInfo& info : kTargets) {
    if (info.target == target) return info;
  }
  return kTargets[0];
}

std::optional<Target> targetNamed(std::string_view name) {
  for (const TargetInfo& info : kTargets) {
    if (info.name == name) return info.target;
  }
  return std::nullopt;
}

int targetLimit(Target target, engine::EditorMode mode, int userLimit) {
  if (userLimit > 0) return userLimit;
  const TargetInfo& info = targetInfo(target);
  return mode == engine::EditorMode::Nickname ? info.nicknameLimit : info.messageLimit;
}

std::size_t measure(Unit unit, std::string_view text) {
  return unit == Unit::Utf8Bytes ? text.size() : engine::countChars(text);
}

}  // namespace tessalune::targets
