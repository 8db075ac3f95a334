#pragma once

#include <string>
#include <string_view>

#include "errors/lifecycle.h"
#include "store/store_context.h"

namespace tessalune::store {

inline constexpr int kOpenDialog = 1;
inline constexpr int kSaveDialog = 2;

// The open (kind 1) or save (any other kind) dialog for a configuration file: the chosen
// full path, or "" when cancelled. A name typed without extension gets defaultExtension;
// an open dialog accepts only an existing file.
std::string ShowFileDialog(StoreContext& ctx, int kind, std::string_view title,
                           std::string_view initialFileName, std::string_view filterDescription,
                           std::string_view filterPattern, const std::filesystem::path& initialDirectory,
                           std::string_view defaultExtension);

// Copies the XML document at path over the configuration file (parsed, then saved), and
// says so (message 144); true when it did. A file that does not parse is reported as a
// configuration error; one with more QuickNicks than the manager can count is refused
// with a message.
bool importConfig(const std::filesystem::path& path, StoreContext& ctx);

// Saves the configuration file's document to path, a file the user chose, and says so
// (message 146). A regular file or a new name is replaced atomically, a FIFO or a device is
// written into, anything else is refused (platform::writeChosenFile); nothing else in the
// folder is touched.
void exportConfig(const std::filesystem::path& path, StoreContext& ctx);

// The same export to a descriptor already open (a command-line tool's standard output);
// name is what a failure names.
void exportConfig(int fd, const std::string& name, StoreContext& ctx);

// The preferences' Import button: the open dialog, importConfig, then the plug-in starts
// again (once the button has returned) whatever the import did.
void importWithRestart(StoreContext& ctx, errors::Lifecycle& lifecycle);

// The preferences' Export button: the save dialog, then exportConfig.
void exportWithDialog(StoreContext& ctx);

}  // namespace tessalune::store
