#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>

#include "platform/embedded_resources.h"
#include "platform/messenger.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "platform/ui_language.h"
#include "plugin/plugin.h"
#include "store/config_file.h"
#include "support/config_fixture.h"
#include "support/faulty_file_system.h"
#include "support/scripted_windows.h"

namespace tessalune::testing {

// A plug-in on a folder of its own, with recorded boxes and scripted windows, whose
// configuration goes through a file system that can be made to fail.
class PluginFixture : public ::testing::Test {
 protected:
  void start(bool withConfiguration = true) {
    for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(dir.path() / path, std::ios::binary) << *platform::embeddedResource(path);
    }
    if (withConfiguration) store::writeDefaultConfiguration(dir.path(), platform::language::kEnglish);
    plugin.Initialize(0, "", &messenger);
  }
  bool run(std::string_view command, std::string_view argument, std::string& result) {
    return plugin.ParseCommand(command, argument, nullptr, result);
  }
  std::string lastMessage() const { return dialogs.shown().empty() ? "" : dialogs.shown().back().text; }
  bool wasShown(std::string_view text) const {
    for (const auto& box : dialogs.shown()) {
      if (box.text.find(text) != std::string::npos) return true;
    }
    return false;
  }

  TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  ScriptedWindows windows;
  platform::RecordingShell shell;
  platform::HostMessenger messenger{"\u00B7#Neo"};
  FaultyFileSystem files;
  plugin::Plugin plugin{
      plugin::HostServices{dialogs, windows, shell, dir.path(), platform::language::kEnglish, files}};
};

}  // namespace tessalune::testing
