#include "plugin/plugin_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/embedded_resources.h"

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

}  // namespace tessalune::plugin
