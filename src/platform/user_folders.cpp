#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tessalune::platform {

namespace {

// The home folder of the password database's entry for the effective user (getpwuid_r,
// with a buffer that grows while the entry does not fit).
std::optional<std::string> passwordDatabaseHome() {
  const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  for (;;) {
    const int error = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found);
    if (error == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (error == EINTR) continue;
    if (error != 0 || !found || !found->pw_dir) return std::nullopt;
    return std::string(found->pw_dir);
  }
}

bool isAbsolute(const std::optional<std::string>& path) {
  return path && std::filesystem::path(*path).is_absolute();
}

}  // namespace

UserFolderSources systemUserFolderSources() {
  return {[](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            return value ? std::optional<std::string>(value) : std::nullopt;
          },
          passwordDatabaseHome};
}

std::optional<std::filesystem::path> userDataHome(const UserFolderSources& sources) {
  if (std::optional<std::string> data = sources.environment("XDG_DATA_HOME"); isAbsolute(data)) return *data;
  std::optional<std::string> home = sources.environment("HOME");
  if (!isAbsolute(home)) home = sources.passwordHome();
  if (!isAbsolute(home)) return std::nullopt;
  return std::filesystem::path(*home) / ".local" / "share";
}

}  // namespace tessalune::platform
