#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "tessalune_plugin.h"

namespace tessalune::cli {

// The plug-in module loaded with dlopen, as a chat host loads its plug-ins, and called
// through its C interface only.
class PluginModule {
 public:
  // Loads the module: $TESSALUNE_MODULE, else lib/libtessalune_plugin.so beside the
  // program's own folder. Throws std::runtime_error when it cannot.
  PluginModule();
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Creates and starts the plug-in for a folder; nickname() is asked for the friendly name.
  void start(const std::filesystem::path& pluginDir, const std::optional<std::string>& answer,
             const std::optional<std::string>& script);

  // True when the plug-in handled the command; throws std::runtime_error with the
  // plug-in's reason when the call failed (the line is then not sent).
  bool parseCommand(const std::string& command, const std::string& argument, std::string& result);
  // Gives the plug-in idle time (its automatic update check) until keepWaiting says no.
  // Nothing with a module older than interface 1.2.
  void idle(const std::function<bool()>& keepWaiting);
  std::string pluginName();
  std::int32_t commandCount();
  // The row of the command table: name, value and help ("" where the row has none).
  struct Row {
    std::string name, value, help;
  };
  Row commandRow(std::int32_t index);

  std::string nickname;

 private:
  template <typename F>
  F* resolve(const char* name);
  std::string take(char* text);
  // The result of a call, or its failure thrown with the plug-in's reason.
  int checked(int result, const char* call);

  void* handle_ = nullptr;
  tessalune_plugin* plugin_ = nullptr;
  tessalune_host host_{};
  decltype(&tessalune_create) create_ = nullptr;
  decltype(&tessalune_destroy) destroy_ = nullptr;
  decltype(&tessalune_initialize) initialize_ = nullptr;
  decltype(&tessalune_uninitialize) uninitialize_ = nullptr;
  decltype(&tessalune_get_publish_info) publishInfo_ = nullptr;
  decltype(&tessalune_get_publish_command_info) commandInfo_ = nullptr;
  decltype(&tessalune_parse_command) parse_ = nullptr;
  decltype(&tessalune_idle) idle_ = nullptr;  // null before interface 1.2
  decltype(&tessalune_last_error) lastError_ = nullptr;
  decltype(&tessalune_free) free_ = nullptr;
};

}  // namespace tessalune::cli
