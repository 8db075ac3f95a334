#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "update/project_version.h"

namespace tessalune::update {

// The plug-in's own version: what the about window shows, what the update window reports
// as installed and what an update check compares the server's version with.
struct PluginVersion {
  int major;
  int minor;
  int revision;
};
inline constexpr PluginVersion kPluginVersion{project::kMajor, project::kMinor, project::kRevision};
// "2.0.708": the same version as text, for what must hold it before the program runs (the
// command's --version, a chat client's plug-in list).
inline constexpr const char* kVersionText = project::kVersionText;
static_assert(kPluginVersion.major >= 0 && kPluginVersion.major <= 9 && kPluginVersion.minor >= 0 &&
                  kPluginVersion.minor <= 9 && kPluginVersion.revision >= 0 && kPluginVersion.revision <= 999,
              "the update server's version file holds one digit, one digit and three digits");

// "v2.0": the major and minor numbers, as the about window's lbl_ver shows them.
std::string versionCaption(const PluginVersion& version);
// "2.0.708": all three numbers, as the update window shows the installed version.
std::string dottedVersion(const PluginVersion& version);

// The version file's text as major, minor and revision: "digit.digit.ddd" and nothing
// after it but white space. Nothing for any other text.
std::optional<PluginVersion> parseVersionFile(std::string_view text);

// Whether remote is newer than installed, compared number by number (major, then minor,
// then revision). Equal versions are not newer.
bool isNewer(const PluginVersion& remote, const PluginVersion& installed);

}  // namespace tessalune::update
