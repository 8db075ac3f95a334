// What a user meets when the configuration breaks, cannot be read or written, or a save
// cannot convert the nickname: the plug-in keeps running or halts as it says, never
// crashes, never says "saved" for what was not, and never loses what the file held.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "errors/failure.h"
#include "platform/xml_document.h"
#include "plugin/requests.h"
#include "support/plugin_fixture.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"

namespace tessalune::plugin {
namespace {

using Fault = testing::FaultyFileSystem::Fault;
constexpr std::string_view kSaved = "The nickname was saved successfully.";

class FailurePathsTest : public testing::PluginFixture {
 protected:
  // shortcut -> has the entry it names, in file order; "(none)" for an entry without one.
  std::string shortcuts() const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(dir.configFile()));
    std::string all;
    for (const auto& entry : doc.selectNodes("/config/quicknicks/quicknick"))
      all += (entry.hasAttribute("shortcut") ? entry.attribute("shortcut") : "(none)") + " ";
    return all;
  }
};

// The manager window that a report unloads must not be used by the save path afterwards.
TEST_F(FailurePathsTest, ASaveSurvivesAConfigurationBrokenMidSession) {
  start();
  std::string result = "typed";
  run("/xquicknicksave", "a", result);
  dir.writeConfig("<config><suffix>0</suffix>\r\n<all>0</al>\r\n</config>\r\n");
  EXPECT_TRUE(run("/xquicknicksave", "b", result));
  EXPECT_TRUE(plugin.halted());
  EXPECT_EQ(result, "");
  EXPECT_EQ(lastMessage().substr(0, 11), "XML error: ");
}

// A nickname too long to convert writes nothing; before, the failed add restarted the
// plug-in and the replace step renamed the entry at index 0 of the new windows.
TEST_F(FailurePathsTest, AReplaceThatCannotConvertRenamesNoOtherEntry) {
  start();
  std::string result;
  run("/xquicknicksave", "bob", result);
  plugin.quickNicks()->chkReplaceQN.click();
  messenger.setFriendlyName(std::string(130, 'x'));
  dialogs.clear();
  EXPECT_TRUE(run("/xquicknicksave", "newsc", result));
  EXPECT_EQ(shortcuts(), "bob ");
  EXPECT_EQ(result, "");
  EXPECT_FALSE(wasShown("unknown error"));
  EXPECT_EQ(plugin.quickNicks()->lbl_nbQN.caption(), "1 / 1");
}

// Empty and unconvertible nicknames: no entry, no count raised, no unknown-error box.
TEST_F(FailurePathsTest, ANicknameWithNothingToSaveWritesNothing) {
  start();
  const std::string before = dir.readConfig();
  std::string result;
  for (const std::string& nickname : {std::string(), std::string(130, 'x')}) {
    messenger.setFriendlyName(nickname);
    EXPECT_TRUE(run("/xquicknicksave", "x", result));
    plugin.quickNicks()->btnAdd.click();
  }
  EXPECT_EQ(dir.readConfig(), before);
  EXPECT_EQ(plugin.quickNicks()->lbl_nbQN.caption(), "0 / 0");
  EXPECT_FALSE(wasShown("unknown error"));
  EXPECT_FALSE(wasShown(kSaved));
}

// A write that fails is reported and never followed by "saved"; the restart it offers
// ends the command with nothing sent.
TEST_F(FailurePathsTest, AFailedWriteIsNeverReportedAsSaved) {
  for (const Fault fault : {Fault::FullDisk, Fault::FailingRename, Fault::ReadOnlyFolder}) {
    dialogs.clear();
    files.fault = Fault::None;
    start();
    const std::string before = dir.readConfig();
    files.fault = fault;
    std::string result = "typed";
    EXPECT_TRUE(run("/xquicknicksave", "x", result));
    EXPECT_TRUE(wasShown("unknown error")) << static_cast<int>(fault);
    EXPECT_TRUE(wasShown("successfully restarted"));
    EXPECT_FALSE(wasShown(kSaved));
    EXPECT_EQ(result, "");
    EXPECT_EQ(dir.readConfig(), before);
    plugin.Uninitialize();
  }
}

// Unreadable is not missing: the fatal configuration error, and the user's file kept.
TEST_F(FailurePathsTest, AnUnreadableConfigurationHaltsAndIsKept) {
  dir.writeConfig(testing::defaultConfigWith({{"<suffix>0", "<suffix>1"}}));
  const std::string before = dir.readConfig();
  files.fault = Fault::Unreadable;
  files.unreadable = dir.configFile();
  start(false);
  EXPECT_TRUE(plugin.halted());
  EXPECT_EQ(dialogs.shown().back().title, "Tessalune - FATAL ERROR");
  EXPECT_NE(lastMessage().find("Permission denied"), std::string::npos) << lastMessage();
  EXPECT_TRUE(lastMessage().ends_with("Config can't be loaded."));
  EXPECT_EQ(dir.readConfig(), before);
}

// A default configuration that cannot be written mid-session is the routine's failure,
// trapped and reported; the typed command is not passed on as a message.
TEST_F(FailurePathsTest, AConfigurationThatCannotBeRecreatedIsTrappedByTheCommand) {
  start();
  std::filesystem::remove_all(dir.path() / "Tessalune");
  std::string result = "typed";
  EXPECT_TRUE(run("/xquicknick", "aa", result));
  EXPECT_TRUE(wasShown("unknown error"));
  EXPECT_EQ(result, "");
}

// A configuration recreated and then found missing again would be recreated without end:
// the reload the first load asks for is run, a second one fails as a start-up does.
TEST(LoadConfigurationTest, ASecondReloadRequestFailsTheStartUp) {
  Requests requests;
  int loads = 0;
  loadConfiguration(requests, [&] {
    if (++loads == 1) requests.record(Requests::Request::ReloadConfig);
  });
  EXPECT_EQ(loads, 2);
  loads = 0;
  EXPECT_THROW(loadConfiguration(requests,
                                 [&] {
                                   ++loads;
                                   requests.record(Requests::Request::ReloadConfig);
                                 }),
               errors::DefaultConfigurationFailure);
  EXPECT_EQ(loads, 2);
}

// A configuration that is a dangling symbolic link is created where the link points; the
// load does not go round in circles between "missing" and "recreated".
TEST_F(FailurePathsTest, ADanglingLinkToTheConfigurationIsRecreatedAtItsTarget) {
  std::filesystem::create_symlink(dir.path() / "elsewhere.xml", dir.configFile());
  start(false);
  EXPECT_FALSE(plugin.halted());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.configFile()));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "elsewhere.xml"));
}

// More QuickNicks than the manager counts: an import refuses them and writes nothing; a file
// that holds them all the same restarts the plug-in once, then halts instead of going round.
TEST_F(FailurePathsTest, TooManyQuickNicksAreRefusedAndNeverRestartWithoutEnd) {
  std::string entries;
  for (int i = 0; i < 32768; ++i) entries += "<quicknick>x</quicknick>";
  const std::string crowded = testing::defaultConfigWith({{"\t</quicknicks>", entries + "\t</quicknicks>"}});
  start();
  const std::string before = dir.readConfig();
  std::ofstream(dir.path() / "crowded.xml", std::ios::binary) << crowded;
  dialogs.queueFile((dir.path() / "crowded.xml").string());
  plugin.prefs()->btnImport.click();
  EXPECT_EQ(dir.readConfig(), before);
  EXPECT_TRUE(wasShown("more than 32767 QuickNicks"));
  EXPECT_FALSE(plugin.halted());

  plugin.Uninitialize();
  dir.writeConfig(crowded);
  dialogs.clear();
  plugin.Initialize(0, "", &messenger);
  EXPECT_TRUE(plugin.halted());
  int restarts = 0;
  for (const auto& box : dialogs.shown())
    restarts += box.text == "Tessalune has been successfully restarted.";
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(lastMessage(), "Tessalune can't be restarted.");
}

// A configuration recreated mid-session empties the manager with it.
TEST_F(FailurePathsTest, AReloadRefreshesTheManager) {
  start();
  std::string result;
  run("/xquicknicksave", "a", result);
  EXPECT_EQ(plugin.quickNicks()->lbl_nbQN.caption(), "1 / 1");
  std::filesystem::remove(dir.configFile());
  plugin.prefs()->chkNick.click();
  EXPECT_TRUE(wasShown("can't be found"));
  EXPECT_EQ(plugin.quickNicks()->lbl_nbQN.caption(), "0 / 0");
  EXPECT_EQ(plugin.quickNicks()->rtf_quicknick.box().text(), "");
}

// Without replace a taken shortcut stores the entry without one and opens the manager on
// it, the refused text in its box.
TEST_F(FailurePathsTest, ATakenShortcutOpensTheManagerOnTheNewEntry) {
  start();
  std::string result;
  run("/xquicknicksave", "a", result);
  std::string shown;
  windows.onShow = [&](ui::Window&) {
    shown = plugin.quickNicks()->lbl_nbQN.caption() + " " + plugin.quickNicks()->txt_shortcut.text();
  };
  dialogs.clear();
  run("/xquicknicksave", "a", result);
  EXPECT_EQ(shown, "2 / 2 a");
  EXPECT_EQ(shortcuts(), "a (none) ");
  EXPECT_FALSE(wasShown(kSaved));
}

// Whatever a person types or imports, the file stays one a strict XML 1.0 parser reads:
// shortcuts XML cannot hold are refused by name, such characters in a nickname are
// dropped, and a file only a lenient parser would take is not imported.
TEST_F(FailurePathsTest, EverythingTheStoreWritesIsWellFormedXml) {
  start();
  const auto strictlyWellFormed = [&] {
    return std::system(("xmllint --noout " + dir.configFile().string() + " 2>/dev/null").c_str()) == 0;
  };
  std::string result;
  for (const std::string& shortcut :
       {std::string("a\x01"), std::string("b\xEF\xBF\xBE"), std::string("c\xFF")}) {
    dialogs.clear();
    run("/xquicknicksave", shortcut, result);
    EXPECT_TRUE(wasShown("The shortcut holds a character that cannot be saved")) << shortcut;
  }
  EXPECT_EQ(lastMessage(),
            "The shortcut holds a character that cannot be saved (invalid UTF-8). Please choose "
            "another one.");
  messenger.setFriendlyName("N\x01i\xEF\xBF\xBEk");
  run("/xquicknicksave", "nick", result);
  plugin.quickNicks()->txt_shortcut.setText("d\x02");
  plugin.quickNicks()->btnNext.click();
  EXPECT_EQ(shortcuts(), "nick ");
  EXPECT_TRUE(strictlyWellFormed());
  run("/xquicknick", "nick", result);
  EXPECT_EQ(result, "/nick2 \u00B7$,0Nik\u00B70");

  const std::string before = dir.readConfig();
  for (const char* lenient : {"<config>&#1;</config>", "<config><!-- a--b --></config>", "<1config/>"}) {
    std::ofstream(dir.path() / "lenient.xml") << lenient;
    dialogs.queueFile((dir.path() / "lenient.xml").string());
    plugin.prefs()->btnImport.click();
    EXPECT_EQ(dir.readConfig(), before) << lenient;
  }
  EXPECT_TRUE(plugin.halted());  // an import that does not parse stops the plug-in, as any bad file
}

}  // namespace
}  // namespace tessalune::plugin
