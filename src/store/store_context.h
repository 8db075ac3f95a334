#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "errors/message_texts.h"
#include "errors/routine_guard.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/xml_document.h"
#include "store/config_lock.h"

namespace tessalune::store {

// What every routine of the store needs: where the plug-in lives, the dialogs, the
// messages, where failures go (with the shared step marker), the lock that keeps other
// writers out, and the file system the file is read and written through.
struct StoreContext {
  std::filesystem::path pluginDir;  // the folder of the plug-in; the file is Tessalune/tessalune.xml in it
  platform::Dialogs& dialogs;
  const errors::MessageTexts& messages;
  errors::FailureContext& failures;
  ConfigLock& lock;
  platform::FileSystem& files = platform::systemFileSystem();
  // The interface language whose default configuration is written where the file is found
  // missing, after the report has said so; none where a missing file is only reported.
  std::optional<int> defaultLanguage = std::nullopt;
};

// "<pluginDir>/Tessalune/tessalune.xml".
std::filesystem::path configFilePath(const std::filesystem::path& pluginDir);

// One store routine's use of the configuration file: the lock taken, the file loaded into
// a fresh document, saved when the routine changed it. The lock is given up before any
// message box or report, so no other process waits on a person, and at the latest when
// the session ends (an exception unwinding through a routine releases it before the
// routine's trap reports).
class ConfigSession {
 public:
  // Takes the lock; throws errors::RuntimeFailure when another process keeps it.
  explicit ConfigSession(StoreContext& ctx);
  ~ConfigSession() { release(); }
  ConfigSession(const ConfigSession&) = delete;
  ConfigSession& operator=(const ConfigSession&) = delete;

  // Loads the configuration file (or another file, for an import); false after the
  // failure was reported as kind "cfg" under source, with the lock already given up.
  bool load(std::string_view source);
  bool load(const std::filesystem::path& file, std::string_view source);

  // Gives up the lock and reports why the document did not load, as load does; a missing
  // configuration is then recreated from the default of ctx.defaultLanguage (a file that
  // cannot be written throws errors::DefaultConfigurationFailure).
  void reportLoadFailure(std::string_view source);

  platform::XmlDocument& doc() { return doc_; }
  // Replaces the configuration file by the document. Throws when it cannot be written, or
  // when the lock could not be taken (a write without it could be lost).
  void save() {
    ctx_.lock.requireForWriting();
    doc_.save(configFilePath(ctx_.pluginDir), ctx_.files);
  }
  void release();

 private:
  StoreContext& ctx_;
  platform::XmlDocument doc_;
  bool held_ = false;
};

}  // namespace tessalune::store
