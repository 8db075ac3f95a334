#pragma once

#include <cstdint>
#include <filesystem>

#include "errors/message_texts.h"
#include "errors/routine_guard.h"
#include "platform/dialogs.h"
#include "platform/xml_document.h"

namespace tessalune::store {

// What every routine of the store needs: where the plug-in lives, the dialogs, the
// messages, and where failures go (with the shared step marker).
struct StoreContext {
  std::filesystem::path pluginDir;  // the folder of the plug-in; the file is Tessalune/tessalune.xml in it
  platform::Dialogs& dialogs;
  const errors::MessageTexts& messages;
  errors::FailureContext& failures;
};

// "<pluginDir>/Tessalune/tessalune.xml".
std::filesystem::path configFilePath(const std::filesystem::path& pluginDir);

// No real configuration comes near this size; a larger file is refused unread.
inline constexpr std::uintmax_t kMaxConfigBytes = 64u << 20;

// Loads the configuration file into doc, the way every routine of the store starts. On
// failure reports kind "cfg" with the parser's details and source as the routine's name,
// and returns false. The report may itself fail (a default file that cannot be written):
// that failure goes to the caller.
bool loadConfigDocument(platform::XmlDocument& doc, const std::filesystem::path& file, StoreContext& ctx,
                        std::string_view source);

}  // namespace tessalune::store
