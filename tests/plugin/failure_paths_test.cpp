// What a user meets when the configuration breaks, cannot be read or written, or a save
// cannot convert the nickname: the plug-in keeps running or halts as it says, never
// crashes, never says "saved" for what was not, and never loses what the file held.
#include <gtest/gtest.h>

#include "platform/xml_document.h"
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

}  // namespace
}  // namespace tessalune::plugin
