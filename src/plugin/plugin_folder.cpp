#include "plugin/plugin_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>

#include "platform/embedded_resources.h"
#include "platform/file_system.h"

namespace tessalune::plugin {

namespace {

// The largest present file repair reads, to compare it and to keep it as a backup.
constexpr std::uintmax_t kLargestKept = 64u << 20;

// Creates a folder and its missing parents for the user alone (0700, whatever the umask),
// as the XDG rules ask of the folders a program creates in the user's data folder; the
// folders that exist keep their modes.
void createPrivateFolders(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path p = folder; !p.empty(); p = p.parent_path()) {
    std::error_code ignored;
    if (std::filesystem::exists(p, ignored)) break;
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
    if (::mkdir(p->c_str(), S_IRWXU) == 0) {
      ::chmod(p->c_str(), S_IRWXU);
    } else if (errno != EEXIST) {
      throw std::filesystem::filesystem_error("cannot create the folder", *p,
                                              std::error_code(errno, std::generic_category()));
    }
  }
}

}  // namespace

std::optional<std::filesystem::path> defaultPluginDir(const platform::UserFolderSources& sources) {
  std::optional<std::filesystem::path> data = platform::userDataHome(sources);
  if (!data) return std::nullopt;
  return *data / "tessalune";
}

std::filesystem::path requireDefaultPluginDir(const platform::UserFolderSources& sources) {
  std::optional<std::filesystem::path> folder = defaultPluginDir(sources);
  if (!folder) throw std::runtime_error(std::string(kNoDefaultPluginDir));
  return *folder;
}

bool installDataFolder(const std::filesystem::path& pluginDir) {
  const std::filesystem::path data = pluginDir / "Tessalune";
  if (std::filesystem::exists(data)) return false;
  createPrivateFolders(data);
  // Each file whole or not at all: a full disk leaves files missing, never cut short.
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    platform::writeFileAtomically(platform::systemFileSystem(), pluginDir / path,
                                  std::string(*platform::embeddedResource(path)));
  }
  return true;
}

DataFolderRepair repairDataFolder(const std::filesystem::path& pluginDir, bool force) {
  DataFolderRepair repair;
  platform::FileSystem& files = platform::systemFileSystem();
  createPrivateFolders(pluginDir / "Tessalune");
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    const std::filesystem::path file = pluginDir / path;
    const std::string_view shipped = *platform::embeddedResource(path);
    const platform::FileContents present = platform::readFile(files, file, kLargestKept);
    // Empty, or the shipped file cut short (a write that broke off), is damage, not an edit.
    const bool missing =
        present.error == ENOENT ||
        (present.error == 0 && present.bytes.size() < shipped.size() && shipped.starts_with(present.bytes));
    if (!missing && present.error == 0 && present.bytes == shipped) continue;
    if (!missing && !force) {
      repair.differing.emplace_back(path);
      continue;
    }
    if (!missing) {
      // The old file is kept under a new file of that name, never written through a link
      // (or into a pipe) that stands there.
      const std::filesystem::path backup = file.string() + ".bak";
      std::error_code error;
      const auto standing = std::filesystem::symlink_status(backup, error).type();
      if (standing != std::filesystem::file_type::not_found &&
          standing != std::filesystem::file_type::regular) {
        std::filesystem::remove(backup, error);
      }
      if (present.error != 0)
        throw std::runtime_error("cannot keep " + backup.string() + ": the file cannot be read");
      platform::writeFileAtomically(files, backup, present.bytes);
    }
    platform::writeFileAtomically(files, file, std::string(shipped));
    (missing ? repair.restored : repair.replaced).emplace_back(path);
  }
  return repair;
}

}  // namespace tessalune::plugin
