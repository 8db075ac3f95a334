#include "plugin/plugin_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace tessalune::plugin {
namespace {

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
