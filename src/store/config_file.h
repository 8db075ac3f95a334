#pragma once

#include <string>
#include <string_view>

#include "store/config_targets.h"
#include "store/store_context.h"

namespace tessalune::store {

// Loads the configuration file into the targets: its settings, then its QuickNick count
// and first entry. A missing or malformed section is skipped and reported
// once at the end (message 107); the file is never repaired. Traps its own failures, but
// for a default configuration that could not be written (errors::DefaultConfigurationFailure),
// which is the start-up's.
void loadConfig(ConfigTargets& targets, StoreContext& ctx);

// Writes one element's text (e.g. "/config/nickprefs/FGcolor", "#FF8000"): loads the file,
// changes that element, saves the whole file atomically. A missing element is a failure;
// nothing is created.
void writeConfig(std::string_view path, std::string_view value, StoreContext& ctx);

// The default configuration document of a language (lang::kLanguages; English for any
// other), as the 851 characters of its resource.
std::string defaultConfiguration(int languageId);

// Writes the default document of the language, followed by CR LF, over the configuration
// file. Throws std::runtime_error when it cannot be written (the Tessalune folder missing).
void writeDefaultConfiguration(const std::filesystem::path& pluginDir, int languageId);

// The same under the configuration's lock, for a file found missing: when another process
// has created it meanwhile, that file is kept. Throws when it cannot be written.
void writeDefaultConfiguration(StoreContext& ctx, int languageId);

}  // namespace tessalune::store
