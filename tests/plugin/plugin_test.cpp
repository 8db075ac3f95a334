#include "plugin/plugin.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/embedded_resources.h"
#include "platform/ui_language.h"
#include "store/config_file.h"
#include "support/config_fixture.h"
#include "support/http_test_server.h"
#include "support/plugin_fixture.h"
#include "support/scripted_windows.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"
#include "update/plugin_version.h"

namespace tessalune::plugin {
namespace {

using platform::Icon;

using PluginTest = testing::PluginFixture;

// The rows as every host lists them: a command without help leaves the host's text alone;
// a number outside 1 to 8 changes nothing.
TEST_F(PluginTest, PublishesEightCommands) {
  start();
  std::string name, value, help;
  std::int32_t count = 0, tags = 5;
  EXPECT_TRUE(plugin.GetPublishInfo(name, count, tags));
  EXPECT_EQ(name, "Tessalune v2");
  EXPECT_EQ(count, 8);
  EXPECT_EQ(tags, 0);
  const struct {
    std::int32_t index;
    const char* name;
    const char* value;
    const char* help;
  } rows[] = {
      {0, "-", "-", "-"},
      {1, "Create a colored nickname", "xtessalune", "nickname"},
      {2, "Create a colored text", "xondrivela", "text"},
      {3, "Use a QuickNick", "xquicknick", "shortcut"},
      {4, "Save current nick", "xquicknicksave", "shortcut"},
      {5, "QuickNicks management", "xquicknick", "-"},
      {6, "Configuration", "xtessalunecfg", "-"},
      {7, "About...", "xtessaluneabout", "-"},
      {8, "Help", "xtessalunehelp", "-"},
      {9, "-", "-", "-"},
  };
  for (const auto& row : rows) {
    name = value = help = "-";
    plugin.GetPublishCommandInfo(row.index, name, value, help);
    EXPECT_EQ(name, row.name) << row.index;
    EXPECT_EQ(value, row.value) << row.index;
    EXPECT_EQ(help, row.help) << row.index;
  }
}

// Every published word selects its command, in any case of its letters; nothing else does.
TEST(CommandWords, SelectTheirCommandsOverTheWholeWordIgnoringCase) {
  const std::pair<std::string_view, Command> cases[] = {
      {"/xtessalune", Command::Nickname},
      {"/XTessaLune", Command::Nickname},
      {"/xondrivela", Command::Text},
      {"/xquicknick", Command::UseQuickNick},
      {"/XQUICKNICK", Command::UseQuickNick},
      {"/xquicknicksave", Command::SaveQuickNick},
      {"/xtessalunecfg", Command::Preferences},
      {"/xtessaluneabout", Command::About},
      {"/xtessalunehelp", Command::Help},
      {"/xfoo", Command::None},
      {"/xtessalune2", Command::None},
      {"xtessalune", Command::None},
      {"/xquick", Command::None},
      {"", Command::None},
      {"/", Command::None},
  };
  for (const auto& [typed, command] : cases) EXPECT_EQ(commandOf(typed), command) << typed;
}

TEST_F(PluginTest, MatchesWholeCommandWordsIgnoringCase) {
  start();
  std::string result = "typed";
  EXPECT_FALSE(run("/xfoo", "x", result));
  EXPECT_EQ(result, "typed");
  EXPECT_TRUE(run("/XQUICKNICK", "abc", result));
  EXPECT_EQ(lastMessage(), "The specified shortcut doesn't match any existing QuickNick.");
  EXPECT_EQ(result, "typed");
}

// The C library lower-cases by the locale, and under a Turkish one "I" does not become "i":
// the command words are ASCII and match whatever locale the host has set.
TEST_F(PluginTest, MatchesUpperCaseWordsUnderATurkishLocale) {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  if (!std::setlocale(LC_CTYPE, "tr_TR.UTF-8")) GTEST_SKIP() << "the tr_TR.UTF-8 locale is not installed";
  start();
  std::string result = "typed";
  const bool handled = run("/XQUICKNICK", "abc", result);
  std::setlocale(LC_CTYPE, previous.c_str());
  EXPECT_TRUE(handled);
}

TEST_F(PluginTest, ColoursAnArgumentWithAnEnabledPreset) {
  start();
  plugin.prefs()->chkNick.click();  // as the user ticks it: written to the file
  std::string result = "typed";
  EXPECT_TRUE(run("/xtessalune", "Hello", result));
  EXPECT_EQ(result, "/nick2 \u00B7$1Hello\u00B70");
  EXPECT_TRUE(run("/xtessalune", "", result));
  EXPECT_EQ(lastMessage(), "You must type a nick.");
  EXPECT_EQ(result, "/nick2 \u00B7$1Hello\u00B70");  // untouched after the warning
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_TRUE(run("/xtessalune", "  ", result));  // blank arguments are arguments
  EXPECT_TRUE(result.starts_with("/nick2 ")) << result;
}

// A host's own list of the settings changes them as the preferences window does: the file,
// the commands, the window and the language follow; a value the element cannot hold is
// refused and changes nothing.
TEST_F(PluginTest, AHostChangesASettingAsThePreferencesWindowDoes) {
  start();
  const struct {
    store::Setting setting;
    const char* text;
    bool taken;
    const char* held;
  } cases[] = {
      {store::Setting::NickEnabled, "1", true, "1"},
      {store::Setting::NickFGColour, "#00ff00", true, "#00FF00"},
      {store::Setting::NickFGColour, "green", false, "#00FF00"},
      {store::Setting::NickBGType, "3", false, "0"},
      {store::Setting::Language, "fr", true, "fr"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plugin.changeSetting(c.setting, c.text), c.taken) << c.text;
    EXPECT_EQ(plugin.settingText(c.setting), c.held) << c.text;
    EXPECT_EQ(dir.configValue(std::string(store::settingPath(c.setting))), c.held) << c.text;
  }
  EXPECT_TRUE(plugin.prefs()->chkNick.checked());
  EXPECT_EQ(plugin.language(), lang::LanguageId::ofCode("fr"));
  // The about window's words that no language file holds follow as well.
  EXPECT_EQ(plugin.about()->grp_credits.caption(), "Remerciements");
  EXPECT_EQ(plugin.about()->lbl_build.caption(),
            "Compilation " + std::to_string(update::kPluginVersion.revision));
  std::string result;
  EXPECT_TRUE(run("/xtessalune", "Hi", result));
  EXPECT_EQ(result, "/nick2 \u00B7$9Hi\u00B70");
  EXPECT_TRUE(windows.shown.empty());
}

TEST_F(PluginTest, WithoutAPresetTheEditorOpensOnTheCurrentNickname) {
  start();
  std::string seen;
  bool shownWhileOpen = false;
  windows.onShow = [&](ui::Window& w) {
    if (w.name() == "frmPrincipal") seen = plugin.editor()->rtf_nick.box().text();
    shownWhileOpen = plugin.windowShown();
  };
  std::string result = "typed";
  EXPECT_FALSE(plugin.windowShown());
  EXPECT_TRUE(run("/xtessalune", "", result));
  EXPECT_TRUE(shownWhileOpen);  // a host tells a command typed meanwhile that it waits
  EXPECT_FALSE(plugin.windowShown());
  EXPECT_EQ(seen, "Neo");
  EXPECT_EQ(result, "typed");  // closed without OK
  EXPECT_EQ(windows.shown, std::vector<std::string>{"frmPrincipal"});
}

TEST_F(PluginTest, TheTextCommandSwitchesToTextModeFirst) {
  start();
  plugin.prefs()->chkText.click();
  std::string result;
  EXPECT_TRUE(run("/xtessalune", "x", result));
  EXPECT_EQ(plugin.editor()->mode(), engine::EditorMode::Nickname);
  EXPECT_TRUE(run("/xondrivela", std::string(1101, 'm'), result));
  EXPECT_EQ(plugin.editor()->mode(), engine::EditorMode::Text);
  EXPECT_EQ(lastMessage(), "The message is too long (>1100 characters).");
}

TEST_F(PluginTest, SavesAndUsesQuickNicks) {
  start();
  std::string result = "typed";
  EXPECT_TRUE(run("/xquicknicksave", "", result));
  EXPECT_EQ(lastMessage(), "You must type a shortcut.");
  EXPECT_EQ(result, "");
  EXPECT_TRUE(run("/xquicknicksave", "work", result));
  EXPECT_EQ(lastMessage(), "The nickname was saved successfully.");
  result = "typed";
  EXPECT_TRUE(run("/xquicknick", "work", result));
  EXPECT_EQ(result, "/nick2 \u00B7$,0\u00B7#Neo\u00B70");
  result = "typed";
  EXPECT_TRUE(run("/xquicknick", "", result));  // the manager, closed without Use
  EXPECT_EQ(result, "typed");
}

TEST_F(PluginTest, AnImportRestartsThePluginWithItsSettings) {
  start();
  std::string file = store::defaultConfiguration(1033) + "\r\n";
  file.replace(file.find("<suffix>0</suffix>"), 18, "<suffix>1</suffix>");
  std::ofstream(dir.path() / "other.xml", std::ios::binary) << file;
  dialogs.queueFile((dir.path() / "other.xml").string());
  const ui::PrefsWindow* before = plugin.prefs();
  // The restart waits for the command to return: the window whose button asked for it
  // stays the plug-in's, hidden, until then.
  bool keptWhileItsHandlerRan = false;
  windows.onShow = [&](ui::Window& w) {
    if (w.name() != "frmPrefs") return;
    static_cast<ui::PrefsWindow&>(w).btnImport.click();
    keptWhileItsHandlerRan = plugin.prefs() == &w && !w.visible();
  };
  std::string result;
  EXPECT_TRUE(run("/xtessalunecfg", "", result));
  windows.onShow = nullptr;
  EXPECT_TRUE(keptWhileItsHandlerRan);
  EXPECT_NE(plugin.prefs(), before);
  EXPECT_TRUE(plugin.prefs()->chk_noEnd.checked());
  EXPECT_TRUE(plugin.editor()->chk_noEnd.checked());
  EXPECT_TRUE(run("/xtessaluneabout", "", result));  // the old windows are gone, the new ones answer
  EXPECT_EQ(windows.shown.back(), "frmAbout");
}

TEST_F(PluginTest, TheAutomaticCheckWaitsForIdleTimeAndGivesWayToTheHost) {
  test::HttpTestServer server;
  server.serveBody("/TLupdate", "2.1.000");
  ::setenv("TESSALUNE_UPDATE_URL", server.url("/").c_str(), 1);
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    std::ofstream(dir.path() / path, std::ios::binary) << *platform::embeddedResource(path);
  }
  store::writeDefaultConfiguration(dir.path(), platform::language::kEnglish);
  std::string file = dir.readConfig();
  file.replace(file.find("<update>0</update>"), 18, "<update>1</update>");
  dir.writeConfig(file);
  // Neither Initialize nor a command nor a window waits on the network: the check runs
  // when the host has nothing else to do.
  plugin.Initialize(0, "", &messenger);
  std::string result;
  plugin.ParseCommand("/xfoo", "", nullptr, result);
  EXPECT_EQ(server.requestCount(), 0);
  EXPECT_TRUE(windows.shown.empty());
  // A host that must get on gives the check up: nothing is announced, and the check has
  // had its one turn of this start-up.
  plugin.runPendingWork([] { return false; });
  EXPECT_TRUE(windows.shown.empty());
  plugin.runPendingWork();
  EXPECT_TRUE(windows.shown.empty());
  // After a restart the check runs again, and announces what it finds.
  plugin.Uninitialize();
  plugin.Initialize(0, "", &messenger);
  plugin.runPendingWork([] { return true; });
  ::unsetenv("TESSALUNE_UPDATE_URL");
  EXPECT_EQ(lastMessage(), "A new version of Tessalune is available ! (2.1.0)");
  EXPECT_EQ(windows.shown, std::vector<std::string>{"frmUpd"});
  plugin.Uninitialize();  // closes the connection before the server stops
}

// A host that gives idle time without a callback to ask still gets it back: a version file
// dripped slower than the deadline fails the check instead of holding the host.
TEST_F(PluginTest, TheAutomaticCheckEndsByItsDeadlineWithoutAHostToAsk) {
  test::HttpTestServer server;
  server.serveDripping("/TLupdate", "2.1.000", std::chrono::milliseconds(400));
  ::setenv("TESSALUNE_UPDATE_URL", server.url("/").c_str(), 1);
  plugin::Plugin dripped{plugin::HostServices{dialogs,
                                              windows,
                                              shell,
                                              dir.path(),
                                              platform::language::kEnglish,
                                              files,
                                              {},
                                              15,
                                              {.wholeFileDeadline = std::chrono::seconds(1)}}};
  start();
  plugin.Uninitialize();
  std::string file = dir.readConfig();
  file.replace(file.find("<update>0</update>"), 18, "<update>1</update>");
  dir.writeConfig(file);
  dripped.Initialize(0, "", &messenger);
  ::unsetenv("TESSALUNE_UPDATE_URL");
  dripped.runPendingWork();
  EXPECT_EQ(dripped.update()->lbl_majInfo.caption(), "Error during search");
  EXPECT_TRUE(windows.shown.empty());
  dripped.Uninitialize();
}

TEST_F(PluginTest, AFatalConfigurationErrorIgnoresEveryCommand) {
  start(false);
  dir.writeConfig("<config><suffix>");
  plugin.Uninitialize();
  plugin.Initialize(0, "", &messenger);
  EXPECT_TRUE(plugin.halted());
  std::string result = "typed";
  for (const char* command : {"/xtessalune", "/xtessalunecfg", "/xtessaluneabout", "/xquicknick"}) {
    EXPECT_FALSE(run(command, "", result)) << command;
  }
  EXPECT_EQ(result, "typed");
  std::string name, value, help;
  std::int32_t count = 0, tags = 0;
  EXPECT_TRUE(plugin.GetPublishInfo(name, count, tags));
}

TEST_F(PluginTest, AStartUpThatCannotCreateItsConfigurationSaysSoInBothLanguages) {
  std::filesystem::remove_all(dir.path() / "Tessalune");
  plugin.Initialize(0, "", &messenger);
  EXPECT_TRUE(plugin.halted());
  EXPECT_TRUE(
      lastMessage().starts_with("Une erreur est survenue lors du chargement de Tessalune:\r\nAn error "
                                "happened while loading Tessalune:\r\n\r\n"
                                "code: "))
      << lastMessage();
  EXPECT_EQ(dialogs.shown().back().icon, Icon::Critical);
}

}  // namespace
}  // namespace tessalune::plugin
