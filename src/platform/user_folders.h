#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/ui_language.h"

namespace tessalune::platform {

// Where the user's folders are read from: the environment and the password database.
// Passed in, so that a test decides both and never touches a real home folder.
struct UserFolderSources {
  EnvironmentLookup environment;
  std::function<std::optional<std::string>()> passwordHome;  // the user's home in the password database
};

// The process's environment and the password database's entry of the user it runs as.
UserFolderSources systemUserFolderSources();

// The user's data folder as the XDG base directory rules give it: $XDG_DATA_HOME when it
// is an absolute path (a relative one is ignored), else .local/share in the home folder,
// which is $HOME when absolute, else the one the password database gives. None when there
// is no absolute home folder at all: a relative path would land in the current directory.
std::optional<std::filesystem::path> userDataHome(const UserFolderSources& sources);

}  // namespace tessalune::platform
