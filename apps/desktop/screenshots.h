#pragma once

#include <filesystem>

#include "host_window.h"

namespace tessalune::desktop {

// Opens every window of the plug-in through the host as a user would, saves each as
// "<window>.png" in folder and the host, after a nickname coloured in the editor, as
// "host.png". False when a file cannot be written.
bool saveScreenshots(HostWindow& host, const std::filesystem::path& folder);

}  // namespace tessalune::desktop
