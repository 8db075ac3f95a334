#include "plugin/command_table.h"

#include <string>

#include "engine/ascii.h"

namespace tessalune::plugin {

Command commandOf(std::string_view typed) {
  if (!typed.starts_with('/')) return Command::None;
  const std::string word = engine::asciiLowered(typed.substr(1));
  for (const CommandRow& row : kCommandTable) {
    if (row.word == word) return row.command;
  }
  return Command::None;
}

}  // namespace tessalune::plugin
