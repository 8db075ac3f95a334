#pragma once

#include <filesystem>

namespace tessalune::plugin {

// The default plug-in folder: $XDG_DATA_HOME/tessalune, else ~/.local/share/tessalune.
std::filesystem::path defaultPluginDir();

// As an installer would: a plug-in folder without its data folder ("Tessalune") gets the
// one the program carries. True when it was installed now; throws std::runtime_error when
// it cannot be written.
bool installDataFolder(const std::filesystem::path& pluginDir);

}  // namespace tessalune::plugin
