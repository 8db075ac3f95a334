#include "update/plugin_version.h"

namespace tessalune::update {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string versionCaption(const PluginVersion& version) {
  return "v" + std::to_string(version.major) + "." + std::to_string(version.minor);
}

std::string dottedVersion(const PluginVersion& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision);
}

std::optional<PluginVersion> parseVersionFile(std::string_view text) {
  // A line break or spaces after the revision are what an editor leaves; anything else
  // after it is not a version.
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  if (text.size() != 7 || text[1] != '.' || text[3] != '.') return std::nullopt;
  for (std::size_t i : {0u, 2u, 4u, 5u, 6u}) {
    if (!isDigit(text[i])) return std::nullopt;
  }
  return PluginVersion{text[0] - '0', text[2] - '0',
                       (text[4] - '0') * 100 + (text[5] - '0') * 10 + (text[6] - '0')};
}

bool isNewer(const PluginVersion& remote, const PluginVersion& installed) {
  if (remote.major != installed.major) return remote.major > installed.major;
  if (remote.minor != installed.minor) return remote.minor > installed.minor;
  return remote.revision > installed.revision;
}

}  // namespace tessalune::update
