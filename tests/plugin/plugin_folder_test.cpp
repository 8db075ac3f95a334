#include "plugin/plugin_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <string>

namespace tessalune::plugin {
namespace {

// The environment and the password database as a test sets them.
platform::UserFolderSources sources(std::map<std::string, std::string> environment,
                                    std::optional<std::string> passwordHome) {
  return {[environment](const char* name) -> std::optional<std::string> {
            const auto found = environment.find(name);
            return found == environment.end() ? std::nullopt : std::optional(found->second);
          },
          [passwordHome] { return passwordHome; }};
}

// The XDG rules: an absolute XDG_DATA_HOME, else .local/share in the home folder, which is
// HOME, else the password database's. A relative path is never used: it would put the
// folder in the current directory.
TEST(DefaultPluginDir, FollowsTheXdgRulesThenThePasswordDatabase) {
  const struct {
    std::map<std::string, std::string> environment;
    std::optional<std::string> passwordHome;
    std::optional<std::filesystem::path> folder;
  } cases[] = {
      {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/a"}}, "/home/p", "/data/tessalune"},
      {{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/a"}}, "/home/p", "/home/a/.local/share/tessalune"},
      {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/a"}}, "/home/p", "/home/a/.local/share/tessalune"},
      {{}, "/home/p", "/home/p/.local/share/tessalune"},
      {{{"XDG_DATA_HOME", "data"}, {"HOME", "."}}, "/home/p", "/home/p/.local/share/tessalune"},
      {{{"HOME", ""}}, std::nullopt, std::nullopt},
      {{{"XDG_DATA_HOME", "data"}}, "home", std::nullopt},
  };
  for (const auto& c : cases) {
    const platform::UserFolderSources given = sources(c.environment, c.passwordHome);
    EXPECT_EQ(defaultPluginDir(given), c.folder) << ::testing::PrintToString(c.environment);
    if (!c.folder) {
      EXPECT_THROW(requireDefaultPluginDir(given), std::runtime_error);
    }
  }
}

mode_t modeOf(const std::filesystem::path& folder) {
  struct stat st {};
  EXPECT_EQ(::stat(folder.c_str(), &st), 0) << folder;
  return st.st_mode & 07777;
}

// The folders a first run creates are the user's alone, whatever the umask; a folder that
// was there keeps its mode.
TEST(InstallDataFolder, CreatesFoldersForTheUserAlone) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("tessalune-private-" + std::to_string(::getpid()));
  std::filesystem::remove_all(root);
  std::filesystem::create_directory(root);
  std::filesystem::permissions(root, std::filesystem::perms(0755));
  const mode_t before = ::umask(0);
  const bool installed = installDataFolder(root / "share" / "tessalune");
  ::umask(before);
  EXPECT_TRUE(installed);
  for (const char* created : {"share", "share/tessalune", "share/tessalune/Tessalune"})
    EXPECT_EQ(modeOf(root / created), 0700u) << created;
  EXPECT_EQ(modeOf(root), 0755u);
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace tessalune::plugin
