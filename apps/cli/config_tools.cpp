#include "config_tools.h"

#include <unistd.h>

#include <iostream>
#include <memory>
#include <stdexcept>

#include "engine/xml2plus.h"
#include "exit_status.h"
#include "io.h"
#include "platform/ui_language.h"
#include "plugin/settings_session.h"
#include "store/config_file.h"
#include "store/import_export.h"
#include "store/quicknicks.h"
#include "store/setting_elements.h"
#include "store/store_context.h"

namespace tessalune::cli {

using plugin::SettingsSession;

namespace {

// A failure of the tool's own, told as one line naming what it concerns.
struct ToolError : std::runtime_error {
  ToolError(int status, const std::string& message) : std::runtime_error(message), status(status) {}
  int status;
};

// The session's failures, as one line about the file they concern.
void throwOnFailure(const SettingsSession& session, const std::string& file) {
  if (session.toolFailures().empty()) return;
  throw ToolError(kFileOrNetwork, file + ": " + session.toolFailures().front());
}

struct ConfigOptions {
  // Empty where the user has no home folder: the command then fails, saying so.
  std::string pluginDir = plugin::defaultPluginDir().value_or("").string();
  std::string path;
  std::string value;
  std::string file;
};

void addPluginDirOption(CLI::App* command, ConfigOptions& options) {
  command
      ->add_option("--plugin-dir", options.pluginDir, "The plug-in's folder (holds Tessalune/tessalune.xml)")
      ->capture_default_str();
}

void show(SettingsSession& session) {
  for (store::Setting s : store::kAllSettings)
    std::cout << store::settingPath(s) << "\t" << store::settingText(session.settings(), s) << "\n";
  std::cout << "quicknicks\t" << store::counterText(session.quickNicks()) << "\n";
}

void listQuickNicks(SettingsSession& session, const ConfigOptions& o) {
  const auto listed = store::listQuickNicks(session.store());
  if (!listed) {
    throwOnFailure(session, store::configFilePath(o.pluginDir).string());
    return;
  }
  for (const store::ListedQuickNick& entry : *listed) {
    std::cout << entry.shortcut.value_or("(no shortcut)") << "\t"
              << engine::xml2plus(entry.markup, session.store().failures) << "\n";
  }
}

using Action = void (*)(SettingsSession&, const ConfigOptions&);

// The plug-in folder ready for a tool: its data folder installed and a configuration in it,
// as the plug-in's first run would leave them.
void prepareFolder(SettingsSession& session, const std::filesystem::path& pluginDir) {
  try {
    if (plugin::installDataFolder(pluginDir)) {
      std::cerr << "tessalune: installed the data folder in " << (pluginDir / "Tessalune").string() << "\n";
    }
  } catch (const std::exception& e) {
    throw ToolError(kFileOrNetwork, pluginDir.string() + ": " + e.what());
  }
  std::error_code error;
  if (!std::filesystem::exists(store::configFilePath(pluginDir), error)) {
    try {
      store::writeDefaultConfiguration(session.store(), platform::uiLanguage());
    } catch (const std::exception& e) {
      throw ToolError(kFileOrNetwork, store::configFilePath(pluginDir).string() + ": " + e.what());
    }
  }
}

void addCommand(CLI::App* parent, const char* name, const std::string& help,
                std::shared_ptr<ConfigOptions> options, int& exitCode, Action action, bool load) {
  CLI::App* command = parent->add_subcommand(name, help);
  command->footer(kExitStatusHelp);
  addPluginDirOption(command, *options);
  if (std::string_view(name) == "set") {
    std::string paths = "PATH is one of (the leading /config/ may be left out):";
    for (store::Setting s : store::kAllSettings)
      paths += "\n  " + std::string(store::settingPath(s)) + "  " + store::allowedSettingValues(s);
    command->footer(paths + "\n" + kExitStatusHelp);
    const std::string_view example = store::settingPath(store::Setting::NickEnabled);
    command->add_option("PATH", options->path, "The setting, e.g. " + std::string(example.substr(8)))
        ->required();
    command->add_option("VALUE", options->value, "Its new value")->required();
  } else if (std::string_view(name) == "import") {
    command->add_option("FILE", options->file, "The XML file")->required();
  } else if (std::string_view(name) == "export") {
    command
        ->add_option("FILE", options->file,
                     "The XML file (- for standard output); a FIFO or a device is written into")
        ->required();
  }
  command->callback([options, &exitCode, action, load] {
    try {
      if (options->pluginDir.empty()) options->pluginDir = plugin::requireDefaultPluginDir().string();
      SettingsSession session(options->pluginDir, std::nullopt, SettingsSession::Failures::Tool);
      prepareFolder(session, options->pluginDir);
      if (load) session.load();
      throwOnFailure(session, store::configFilePath(options->pluginDir).string());
      action(session, *options);
      exitCode = kSuccess;
    } catch (const ToolError& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = e.status;
    } catch (const std::exception& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = kFileOrNetwork;
    }
  });
}

// A value element, checked before anything is written: the file stays as it is otherwise.
void setValue(SettingsSession& session, const ConfigOptions& o) {
  const std::optional<store::Setting> setting = store::findSetting(o.path);
  if (!setting) {
    throw ToolError(kUsage, o.path + ": no such setting (config set --help lists them)");
  }
  const std::optional<std::string> value = store::checkedSettingText(*setting, o.value);
  if (!value) {
    throw ToolError(kUsage, std::string(store::settingPath(*setting)) + ": \"" + o.value +
                                "\" is not a valid value (allowed: " + store::allowedSettingValues(*setting) +
                                ")");
  }
  store::writeConfig(store::settingPath(*setting), *value, session.store());
  throwOnFailure(session, store::configFilePath(o.pluginDir).string());
}

void importFile(SettingsSession& session, const ConfigOptions& o) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(o.file, error)) {
    throw ToolError(kFileOrNetwork,
                    o.file + ": " + (std::filesystem::exists(o.file, error) ? "not a file" : "no such file"));
  }
  const bool imported = store::importConfig(o.file, session.store());
  throwOnFailure(session, o.file);
  if (!imported) throw ToolError(kNotDone, o.file + ": refused, nothing was imported");
  // The plug-in starts again on the imported file, as after the preferences' import, and
  // its load tells what the file lacks.
  session.load();
  throwOnFailure(session, store::configFilePath(o.pluginDir).string());
}

void exportFile(SettingsSession& session, const ConfigOptions& o) {
  if (o.file == "-") {
    std::cout.flush();
    store::exportConfig(STDOUT_FILENO, "standard output", session.store());
    throwOnFailure(session, "standard output");
    return;
  }
  store::exportConfig(o.file, session.store());
  throwOnFailure(session, o.file);
}

}  // namespace

void addConfigTools(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ConfigOptions>();
  CLI::App* config = app.add_subcommand("config", "Show or change the settings of a plug-in folder.");
  config->require_subcommand(1);
  addCommand(
      config, "show", "Print every setting as the preferences hold it after a load.", options, exitCode,
      [](SettingsSession& s, const ConfigOptions&) { show(s); }, true);
  addCommand(config, "set",
             "Write one element as the preferences do (e.g. set " +
                 std::string(store::settingPath(store::Setting::NickEnabled)) + " 1).",
             options, exitCode, setValue, false);
  addCommand(config, "import", "Replace the configuration by an XML file.", options, exitCode, importFile,
             false);
  addCommand(config, "export", "Save the configuration to an XML file.", options, exitCode, exportFile,
             false);

  auto repairOptions = std::make_shared<ConfigOptions>();
  auto force = std::make_shared<bool>(false);
  CLI::App* repair = app.add_subcommand(
      "repair",
      "Restore the shipped files of the data folder (language files, user guides) that are missing; files "
      "changed here are listed, and replaced only with --force (the old one kept as FILE.bak). The "
      "configuration is never touched. Exit status 1 when changed files were left as they are.");
  addPluginDirOption(repair, *repairOptions);
  repair->add_flag("--force", *force, "Also replace the shipped files that were changed");
  repair->footer(kExitStatusHelp);
  repair->callback([repairOptions, force, &exitCode] {
    try {
      if (repairOptions->pluginDir.empty())
        repairOptions->pluginDir = plugin::requireDefaultPluginDir().string();
      const plugin::DataFolderRepair done = plugin::repairDataFolder(repairOptions->pluginDir, *force);
      for (const std::string& file : done.restored) std::cout << "restored\t" << file << "\n";
      for (const std::string& file : done.replaced)
        std::cout << "replaced\t" << file << " (the old one is " << file << ".bak)\n";
      for (const std::string& file : done.differing)
        std::cout << "changed\t" << file << " (--force replaces it)\n";
      if (done.restored.empty() && done.replaced.empty() && done.differing.empty())
        std::cout << "nothing to repair\n";
      exitCode = done.differing.empty() ? kSuccess : kNotDone;
    } catch (const std::exception& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = kFileOrNetwork;
    }
  });

  CLI::App* quicknick = app.add_subcommand("quicknick", "The saved nicknames of a plug-in folder.");
  quicknick->require_subcommand(1);
  addCommand(quicknick, "list", "Print each QuickNick's shortcut and Plus! text.", options, exitCode,
             listQuickNicks, false);
}

}  // namespace tessalune::cli
