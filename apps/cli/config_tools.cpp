#include "config_tools.h"

#include <iostream>
#include <memory>

#include "engine/colour.h"
#include "engine/xml2plus.h"
#include "io.h"
#include "lang/languages.h"
#include "platform/xml_document.h"
#include "plugin/settings_session.h"
#include "store/config_file.h"
#include "store/import_export.h"
#include "store/quicknicks.h"

namespace tessalune::cli {

using plugin::defaultPluginDir;
using plugin::SettingsSession;

namespace {

struct ConfigOptions {
  std::string pluginDir = defaultPluginDir().string();
  std::string path;
  std::string value;
  std::string file;
};

void addPluginDirOption(CLI::App* command, ConfigOptions& options) {
  command
      ->add_option("--plugin-dir", options.pluginDir, "The plug-in's folder (holds Tessalune/tessalune.xml)")
      ->capture_default_str();
}

std::string flag(bool on) {
  return on ? "1" : "0";
}

void printPreset(std::ostream& out, const std::string& root, const engine::StylePreset& p, bool enabled) {
  out << root << "/enabled\t" << flag(enabled) << "\n"
      << root << "/FGtype\t" << p.FGtype << "\n"
      << root << "/BGtype\t" << p.BGtype << "\n"
      << root << "/FGgradtype\t" << p.FGgradtype << "\n"
      << root << "/BGgradtype\t" << p.BGgradtype << "\n"
      << root << "/FGcolor\t" << engine::rgb2hex(p.FGcolor) << "\n"
      << root << "/FGgrad1\t" << engine::rgb2hex(p.FGgrad1) << "\n"
      << root << "/FGgrad2\t" << engine::rgb2hex(p.FGgrad2) << "\n"
      << root << "/BGcolor\t" << engine::rgb2hex(p.BGcolor) << "\n"
      << root << "/BGgrad1\t" << engine::rgb2hex(p.BGgrad1) << "\n"
      << root << "/BGgrad2\t" << engine::rgb2hex(p.BGgrad2) << "\n";
}

void show(SettingsSession& session) {
  ui::PrefsWindow& prefs = session.prefs();
  const lang::Language* language = lang::languageAt(prefs.combo_lang.listIndex());
  std::ostream& out = std::cout;
  out << "/config/suffix\t" << flag(prefs.chk_noEnd.checked()) << "\n"
      << "/config/all\t" << flag(prefs.chk_all.checked()) << "\n"
      << "/config/update\t" << flag(prefs.chk_upd.checked()) << "\n"
      << "/config/lang\t" << (language ? language->code : "") << "\n"
      << "/config/replaceQN\t" << flag(session.quickNicks().chkReplaceQN.checked()) << "\n";
  printPreset(out, "/config/nickprefs", prefs.nickStyle(), prefs.chkNick.checked());
  printPreset(out, "/config/textprefs", prefs.textStyle(), prefs.chkText.checked());
  out << "quicknicks\t" << session.quickNicks().lbl_nbQN.caption() << "\n";
}

void listQuickNicks(SettingsSession& session) {
  store::ConfigSession config(session.store());
  if (!config.load("quicknick list")) return;
  config.release();
  for (const platform::XmlNode& entry : config.doc().selectNodes("/config/quicknicks/quicknick")) {
    const std::string shortcut =
        entry.hasAttribute("shortcut") ? entry.attribute("shortcut") : "(no shortcut)";
    std::cout << shortcut << "\t" << engine::xml2plus(store::quickNickBody(entry), session.store().failures)
              << "\n";
  }
}

using Action = void (*)(SettingsSession&, const ConfigOptions&);

void addCommand(CLI::App* parent, const char* name, const char* help, std::shared_ptr<ConfigOptions> options,
                int& exitCode, Action action, bool load) {
  CLI::App* command = parent->add_subcommand(name, help);
  addPluginDirOption(command, *options);
  if (std::string_view(name) == "set") {
    command->add_option("PATH", options->path, "Element path, e.g. /config/nickprefs/enabled")->required();
    command->add_option("VALUE", options->value, "The element's new text")->required();
  } else if (std::string_view(name) == "import" || std::string_view(name) == "export") {
    command->add_option("FILE", options->file, "The XML file")->required();
  }
  command->callback([options, &exitCode, action, load] {
    SettingsSession session(options->pluginDir, std::nullopt);
    try {
      if (load) session.load();
      action(session, *options);
    } catch (const std::exception& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = 1;
      return;
    }
    exitCode = session.failed() ? 1 : 0;
  });
}

}  // namespace

void addConfigTools(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ConfigOptions>();
  CLI::App* config = app.add_subcommand("config", "Show or change the settings of a plug-in folder.");
  config->require_subcommand(1);
  addCommand(
      config, "show", "Print every setting as the preferences hold it after a load.", options, exitCode,
      [](SettingsSession& s, const ConfigOptions&) { show(s); }, true);
  addCommand(
      config, "set", "Write one element as the preferences do (e.g. set /config/nickprefs/enabled 1).",
      options, exitCode,
      [](SettingsSession& s, const ConfigOptions& o) { store::writeConfig(o.path, o.value, s.store()); },
      false);
  addCommand(
      config, "import", "Replace the configuration by an XML file.", options, exitCode,
      [](SettingsSession& s, const ConfigOptions& o) { store::importConfig(o.file, s.store()); }, false);
  addCommand(
      config, "export", "Save the configuration to an XML file.", options, exitCode,
      [](SettingsSession& s, const ConfigOptions& o) { store::exportConfig(o.file, s.store()); }, false);

  CLI::App* quicknick = app.add_subcommand("quicknick", "The saved nicknames of a plug-in folder.");
  quicknick->require_subcommand(1);
  addCommand(
      quicknick, "list", "Print each QuickNick's shortcut and Plus! text.", options, exitCode,
      [](SettingsSession& s, const ConfigOptions&) { listQuickNicks(s); }, false);
}

}  // namespace tessalune::cli
