#include "plugin/plugin_folder.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/embedded_resources.h"
#include "platform/file_system.h"

namespace tessalune::plugin {

std::filesystem::path defaultPluginDir() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::filesystem::path(data) / "tessalune";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : ".") / ".local" / "share" / "tessalune";
}

bool installDataFolder(const std::filesystem::path& pluginDir) {
  const std::filesystem::path data = pluginDir / "Tessalune";
  if (std::filesystem::exists(data)) return false;
  std::filesystem::create_directories(data);
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    std::ofstream out(pluginDir / path, std::ios::binary);
    out << *platform::embeddedResource(path);
    if (!out.flush()) throw std::runtime_error("cannot write " + (pluginDir / path).string());
  }
  return true;
}

DataFolderRepair repairDataFolder(const std::filesystem::path& pluginDir, bool force) {
  DataFolderRepair repair;
  platform::FileSystem& files = platform::systemFileSystem();
  std::filesystem::create_directories(pluginDir / "Tessalune");
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    const std::filesystem::path file = pluginDir / path;
    const std::string_view shipped = *platform::embeddedResource(path);
    const platform::FileContents present = platform::readFile(files, file, shipped.size() + 1);
    const bool missing = present.error == ENOENT;
    if (!missing && present.error == 0 && present.bytes == shipped) continue;
    if (!missing && !force) {
      repair.differing.emplace_back(path);
      continue;
    }
    if (!missing) {
      std::error_code error;
      std::filesystem::copy_file(file, file.string() + ".bak",
                                 std::filesystem::copy_options::overwrite_existing, error);
      if (error) throw std::runtime_error("cannot keep " + file.string() + ".bak: " + error.message());
    }
    platform::writeFileAtomically(files, file, std::string(shipped));
    (missing ? repair.restored : repair.replaced).emplace_back(path);
  }
  return repair;
}

}  // namespace tessalune::plugin
