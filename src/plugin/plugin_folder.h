#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_folders.h"

namespace tessalune::plugin {

// The default plug-in folder of every host: "tessalune" in the user's data folder
// ($XDG_DATA_HOME when absolute, else .local/share in the home folder, see
// platform::userDataHome). None when the user has no home folder.
std::optional<std::filesystem::path> defaultPluginDir(
    const platform::UserFolderSources& sources = platform::systemUserFolderSources());

// Why there is no default plug-in folder, as one line.
inline constexpr std::string_view kNoDefaultPluginDir =
    "no plug-in folder: no home folder was found (HOME is unset or relative and the password database "
    "has none); give --plugin-dir DIR";

// The default plug-in folder; throws std::runtime_error (kNoDefaultPluginDir) without one.
std::filesystem::path requireDefaultPluginDir(
    const platform::UserFolderSources& sources = platform::systemUserFolderSources());

// As an installer would: a plug-in folder without its data folder ("Tessalune") gets the
// one the program carries. The folders it creates are the user's alone (0700). True when
// it was installed now; throws std::runtime_error when it cannot be written.
bool installDataFolder(const std::filesystem::path& pluginDir);

// What a repair of the data folder found and did, as paths relative to the plug-in folder.
struct DataFolderRepair {
  std::vector<std::string> restored;   // shipped files that were missing, written again
  std::vector<std::string> differing;  // shipped files changed here, left alone
  std::vector<std::string> replaced;   // changed files written again, the old one kept as FILE.bak
};

// Restores the shipped files of the data folder (language files, user guides) that are
// missing; with force, also those that differ from the shipped ones. The configuration is
// never touched. Throws std::runtime_error naming a file that cannot be written.
DataFolderRepair repairDataFolder(const std::filesystem::path& pluginDir, bool force);

}  // namespace tessalune::plugin
