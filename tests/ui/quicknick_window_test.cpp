#include "ui/quicknick_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/plus2rtf.h"
#include "engine/rtf2xml.h"
#include "engine/xml2plus.h"
#include "platform/messenger.h"
#include "platform/xml_document.h"
#include "store/config_file.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"

namespace tessalune::ui {
namespace {

using platform::Icon;

constexpr const char* kShortcutTaken =
    "The specified shortcut is already used by another QuickNick. Please choose another one.";

// A plug-in folder with the default English configuration, to which a test gives its
// entries; the manager is then filled as the configuration load fills it.
class QuickNickWindowTest : public ::testing::Test {
 protected:
  QuickNickWindowTest() { store::writeDefaultConfiguration(s.dir.path(), platform::language::kEnglish); }

  // Puts the entries into the file and shows the first, as a load does.
  void withEntries(const std::string& entries, std::int16_t count) {
    std::string text = store::defaultConfiguration(platform::language::kEnglish) + "\r\n";
    const std::string empty = "<quicknicks>\r\n\t</quicknicks>";
    text.replace(text.find(empty), empty.size(), "<quicknicks>" + entries + "</quicknicks>");
    s.dir.writeConfig(text);
    state.index = 0;
    state.count = count;
    window.lbl_nbQN.setCaption("1 / " + std::to_string(count));
    store::QuickNickContext ctx = window.storeContext();
    store::readQN(ctx);
  }
  void withThreeEntries() {
    withEntries(R"(<quicknick shortcut="a">Alpha</quicknick>)"
                R"(<quicknick shortcut="b">Beta</quicknick>)"
                R"(<quicknick shortcut="c">Gamma</quicknick>)",
                3);
  }

  // A full button stroke: press, release, click.
  static void stroke(OwnerDrawnButton& button) {
    button.press();
    button.release();
    button.click();
  }

  std::vector<platform::XmlNode> entries(platform::XmlDocument& doc) const {
    EXPECT_TRUE(doc.load(s.dir.configFile()));
    return doc.selectNodes("/config/quicknicks/quicknick");
  }
  int shortcutMessages() const {
    int n = 0;
    for (const auto& box : s.dialogs.shown())
      n += box.text == kShortcutTaken && box.icon == Icon::Exclamation;
    return n;
  }
  std::vector<Control*> entryControls() {
    return {&window.btnUse, &window.btnUse.label(), &window.txt_shortcut, &window.btnSuppr,
            &window.btnSuppr.label()};
  }

  testing::StoreFixture s;
  testing::RecordingLifecycle lifecycle;
  store::QuickNickState state;
  platform::HostMessenger messenger{"Neo"};
  engine::RichTextBox scratch{"rtf_mask"};
  std::string codedResult;
  QuickNickWindow window{QuickNickDependencies{s.context, state, messenger,
                                               [this] {
                                                 return engine::ConversionContext{
                                                     engine::editor_mode::kNickname,
                                                     false,
                                                     s.dialogs,
                                                     s.messages,
                                                     s.failures.context,
                                                     lifecycle,
                                                     scratch};
                                               },
                                               codedResult}};
};

TEST_F(QuickNickWindowTest, StartsEmptyWithTheEntryControlsDisabled) {
  EXPECT_EQ(window.name(), "frmQuickNick");
  EXPECT_FALSE(window.visible());
  EXPECT_EQ(window.lbl_nbQN.caption(), "0 / 0");
  for (Control* c : entryControls()) EXPECT_FALSE(c->enabled()) << c->name();
  EXPECT_TRUE(window.btnAdd.enabled());
  EXPECT_FALSE(window.lbl_prevSC.visible());
  for (const char* name : {"lbl_quicknick", "lbl_ex", "rtf_quicknick", "lbl_nbQN", "btnPrev", "btnNext",
                           "lbl_shortcutTitle", "txt_shortcut", "lbl_prevSC", "btnAdd", "btnAdd_label",
                           "btnUse", "btnSuppr", "chkReplaceQN", "btnClose", "btnClose_label"}) {
    EXPECT_NE(window.find(name), nullptr) << name;
  }
  EXPECT_EQ(window.captionEntries().size(), 11u);
}

TEST_F(QuickNickWindowTest, CounterEnablesTheEntryControlsWhenItLeavesZero) {
  withThreeEntries();
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "a");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Alpha");
  for (Control* c : entryControls()) EXPECT_TRUE(c->enabled()) << c->name();
}

TEST_F(QuickNickWindowTest, NextAndPreviousStopAtTheEnds) {
  withThreeEntries();
  stroke(window.btnPrev);
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(state.index, 0);

  stroke(window.btnNext);
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "b");
  stroke(window.btnNext);
  EXPECT_EQ(window.lbl_nbQN.caption(), "3 / 3");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Gamma");
  stroke(window.btnNext);
  EXPECT_EQ(window.lbl_nbQN.caption(), "3 / 3");
  EXPECT_EQ(state.index, 2);

  window.btnPrev.label().click();  // the caption acts as the button, and a bare click commits too
  window.btnPrev.click();
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "a");
  window.btnPrev.click();
  EXPECT_EQ(state.index, 0);
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(QuickNickWindowTest, AddWithTwoEntriesShowsTheNicknameAsTheThirdWithoutShortcut) {
  withEntries(R"(<quicknick shortcut="a">Alpha</quicknick><quicknick shortcut="b">Beta</quicknick>)", 2);
  window.setVisible(true);
  stroke(window.btnAdd);

  EXPECT_EQ(window.lbl_nbQN.caption(), "3 / 3");
  EXPECT_EQ(state.index, 2);
  EXPECT_EQ(state.count, 3);
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Neo");
  EXPECT_EQ(window.txt_shortcut.text(), "");
  EXPECT_EQ(window.lbl_prevSC.caption(), "");
  {
    platform::XmlDocument doc;
    const auto all = entries(doc);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FALSE(all[2].hasAttribute("shortcut"));
    // The nickname as the preview holds it, background colours kept.
    engine::RichTextBox expected;
    expected.setTextRtf(engine::plus2rtf("Neo"));
    engine::ConversionContext conversion{
        engine::editor_mode::kNickname, false, s.dialogs, s.messages, s.failures.context, lifecycle, scratch};
    EXPECT_EQ(engine::xml2plus(store::quickNickBody(all[2])),
              engine::xml2plus(engine::rtf2xml(expected, 1, conversion)));
  }

  // Closing at once stores nothing more: the empty box equals the last saved shortcut.
  const std::string before = s.dir.readConfig();
  stroke(window.btnClose);
  EXPECT_FALSE(window.visible());
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(QuickNickWindowTest, TakenShortcutKeepsTheEntryUntilItIsCorrected) {
  withThreeEntries();
  window.txt_shortcut.setText("b");

  window.btnNext.press();
  EXPECT_EQ(shortcutMessages(), 1);
  EXPECT_FALSE(window.pressed(window.btnNext));
  window.btnNext.release();
  window.btnNext.click();
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(state.index, 0);
  EXPECT_EQ(shortcutMessages(), 1);  // the refused press is not tried again by its click

  window.txt_shortcut.setText("x");
  window.btnNext.press();
  EXPECT_TRUE(window.pressed(window.btnNext));
  window.btnNext.release();
  EXPECT_FALSE(window.pressed(window.btnNext));
  window.btnNext.click();
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "b");
  EXPECT_EQ(shortcutMessages(), 1);

  platform::XmlDocument doc;
  const auto all = entries(doc);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].attribute("shortcut"), "x");
}

TEST_F(QuickNickWindowTest, RefusedCommitStopsEveryButtonsAction) {
  withThreeEntries();
  window.setVisible(true);
  window.txt_shortcut.setText("c");
  const std::string before = s.dir.readConfig();

  for (OwnerDrawnButton* button : {&window.btnClose, &window.btnAdd, &window.btnUse, &window.btnSuppr}) {
    stroke(*button);
  }
  window.btnClose.click();  // a click with no press commits first, and is refused the same way
  EXPECT_EQ(shortcutMessages(), 5);
  EXPECT_TRUE(window.visible());
  EXPECT_EQ(state.count, 3);
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(codedResult, "");
  EXPECT_EQ(s.dir.readConfig(), before);
}

TEST_F(QuickNickWindowTest, DeletingTheLastRemainingEntryDisablesTheEntryControls) {
  withEntries(R"(<quicknick shortcut="a">Alpha</quicknick>)", 1);
  for (Control* c : entryControls()) EXPECT_TRUE(c->enabled()) << c->name();

  stroke(window.btnSuppr);
  EXPECT_EQ(window.lbl_nbQN.caption(), "0 / 0");
  EXPECT_EQ(state.count, 0);
  EXPECT_EQ(window.txt_shortcut.text(), "");
  for (Control* c : entryControls()) EXPECT_FALSE(c->enabled()) << c->name();
  platform::XmlDocument doc;
  EXPECT_TRUE(entries(doc).empty());

  stroke(window.btnSuppr);  // disabled: nothing happens
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(QuickNickWindowTest, UseStoresThePlusTextAndHides) {
  withThreeEntries();
  window.setVisible(true);
  stroke(window.btnNext);
  stroke(window.btnUse);
  EXPECT_EQ(codedResult, engine::xml2plus("Beta"));
  EXPECT_FALSE(codedResult.empty());
  EXPECT_FALSE(window.visible());
}

TEST_F(QuickNickWindowTest, UseOfAnEntryThatConvertsToNothingKeepsTheWindowOpen) {
  withEntries(R"(<quicknick shortcut="e"></quicknick>)", 1);
  window.setVisible(true);
  codedResult = "previous";
  stroke(window.btnUse);
  EXPECT_EQ(codedResult, "");
  EXPECT_TRUE(window.visible());
}

TEST_F(QuickNickWindowTest, ReplaceOptionIsWrittenAtOnce) {
  window.chkReplaceQN.click();
  platform::XmlDocument doc;
  ASSERT_TRUE(doc.load(s.dir.configFile()));
  EXPECT_EQ(doc.selectSingleNode("/config/replaceQN").text(), "1");
  window.chkReplaceQN.click();
  ASSERT_TRUE(doc.load(s.dir.configFile()));
  EXPECT_EQ(doc.selectSingleNode("/config/replaceQN").text(), "0");
}

TEST_F(QuickNickWindowTest, ReplaceWithAnUnknownShortcutAddsTheNicknameThroughTheWindow) {
  withEntries(R"(<quicknick shortcut="a">Alpha</quicknick>)", 1);
  store::QuickNickContext ctx = window.storeContext();
  store::replaceQN("<nick>Unused</nick>", "z", ctx, [this] { window.addAction(); });
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 2");
  EXPECT_EQ(window.txt_shortcut.text(), "z");
  platform::XmlDocument doc;
  const auto all = entries(doc);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].attribute("shortcut"), "z");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Neo");
}

}  // namespace
}  // namespace tessalune::ui
