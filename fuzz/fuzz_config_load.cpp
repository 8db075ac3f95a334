// Starts the plug-in on a folder whose tessalune.xml is the input, as a host would. Whatever
// the file holds, the start-up must not crash, and a load must never write the file: only
// a missing file is replaced.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "platform/ui_language.h"
#include "plugin/plugin.h"
#include "support/scripted_windows.h"

using namespace tessalune;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv("TESSALUNE_UPDATE_URL", "http://127.0.0.1:9/", 1);  // an automatic check fails at once
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz::writeWhole(fuzz::configFile(), input);
  platform::ScriptedDialogs dialogs(platform::Answer::No);
  testing::ScriptedWindows windows;
  platform::RecordingShell shell;
  platform::HostMessenger messenger("\u00B7#Neo");
  plugin::Plugin plugin(
      plugin::HostServices{dialogs, windows, shell, fuzz::pluginFolder(), platform::language::kEnglish});
  plugin.Initialize(0, "", &messenger);
  std::string result;
  if (!plugin.halted()) plugin.ParseCommand("/xquicknick", "a", nullptr, result);
  plugin.Uninitialize();
  if (fuzz::readWhole(fuzz::configFile()) != input)
    fuzz::broken("the load wrote a configuration that existed");
  return 0;
}
