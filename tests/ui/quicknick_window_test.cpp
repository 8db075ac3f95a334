#include "ui/quicknick_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/xml2plus.h"
#include "support/config_fixture.h"
#include "support/quicknick_window_parts.h"

namespace tessalune::ui {
namespace {

// The manager over the default English configuration, to which a test gives its entries.
class QuickNickWindowTest : public ::testing::Test {
 protected:
  QuickNickWindowTest() { store::writeDefaultConfiguration(s.dir.path(), platform::language::kEnglish); }

  // Puts entries of (shortcut, body) into the file and shows the first, as a load does.
  void withEntries(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string xml;
    for (const auto& [shortcut, body] : entries)
      xml += "<quicknick shortcut=\"" + shortcut + "\">" + body + "</quicknick>";
    s.dir.writeConfig(testing::defaultConfigWith(
        {{"<quicknicks>\r\n\t</quicknicks>", "<quicknicks>" + xml + "</quicknicks>"}}));
    state.count = static_cast<std::int16_t>(entries.size());
    window.lbl_nbQN.setCaption("1 / " + std::to_string(entries.size()));
    store::QuickNickContext ctx = window.storeContext();
    store::readQN(ctx);
  }
  void withThreeEntries() { withEntries({{"a", "Alpha"}, {"b", "Beta"}, {"c", "Gamma"}}); }
  // A full button stroke: press, release, click.
  static void stroke(OwnerDrawnButton& button) {
    button.press();
    button.release();
    button.click();
  }
  // The shortcut of each entry in the file, "-" for none.
  std::string shortcuts() const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(s.dir.configFile()));
    std::string all;
    for (const auto& e : doc.selectNodes("/config/quicknicks/quicknick")) {
      all += e.hasAttribute("shortcut") ? e.attribute("shortcut") + " " : "- ";
    }
    return all;
  }
  // How many times message 141 was shown, with its exclamation icon.
  long shortcutMessages() const {
    return std::count_if(s.dialogs.shown().begin(), s.dialogs.shown().end(), [](const auto& box) {
      return box.icon == platform::Icon::Exclamation &&
             box.text ==
                 "The specified shortcut is already used by another QuickNick. Please choose another one.";
    });
  }
  // Use, Delete and the shortcut box are enabled exactly while the counter is not "0 / 0".
  void expectEntryControlsEnabled(bool enabled) {
    for (Control* c : std::vector<Control*>{&window.btnUse, &window.btnUse.label(), &window.txt_shortcut,
                                            &window.btnSuppr, &window.btnSuppr.label()}) {
      EXPECT_EQ(c->enabled(), enabled) << c->name();
    }
  }

  testing::StoreFixture s;
  testing::QuickNickWindowParts qn{s};
  QuickNickWindow& window = qn.window;
  store::QuickNickState& state = qn.state;
};

TEST_F(QuickNickWindowTest, EntryControlsFollowTheCounterDownToDeletingTheLastEntry) {
  EXPECT_EQ(window.lbl_nbQN.caption(), "0 / 0");
  expectEntryControlsEnabled(false);
  EXPECT_TRUE(window.btnAdd.enabled());
  EXPECT_FALSE(window.lbl_prevSC.visible());
  window.chkReplaceQN.click();  // the replace option is written at once
  EXPECT_EQ(s.dir.configValue("/config/replaceQN"), "1");

  withEntries({{"a", "Alpha"}});
  EXPECT_EQ(window.txt_shortcut.text(), "a");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Alpha");
  expectEntryControlsEnabled(true);

  stroke(window.btnSuppr);
  EXPECT_EQ(window.lbl_nbQN.caption(), "0 / 0");
  EXPECT_EQ(state.count, 0);
  EXPECT_EQ(window.txt_shortcut.text(), "");
  expectEntryControlsEnabled(false);
  EXPECT_EQ(shortcuts(), "");
  stroke(window.btnSuppr);  // disabled: nothing happens
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(QuickNickWindowTest, NextAndPreviousStopAtTheEnds) {
  withThreeEntries();
  stroke(window.btnPrev);
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  stroke(window.btnNext);
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "b");
  stroke(window.btnNext);
  stroke(window.btnNext);
  EXPECT_EQ(window.lbl_nbQN.caption(), "3 / 3");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Gamma");

  window.btnPrev.label().click();  // the caption acts as the button, and a bare click commits too
  window.btnPrev.click();
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "a");
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

TEST_F(QuickNickWindowTest, AddWithTwoEntriesShowsTheNicknameAsTheThirdWithoutShortcut) {
  withEntries({{"a", "Alpha"}, {"b", "Beta"}});
  window.setVisible(true);
  stroke(window.btnAdd);
  EXPECT_EQ(window.lbl_nbQN.caption(), "3 / 3");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Neo");
  EXPECT_EQ(window.txt_shortcut.text(), "");
  EXPECT_EQ(window.lbl_prevSC.caption(), "");
  EXPECT_EQ(shortcuts(), "a b - ");
  store::QuickNickContext ctx = window.storeContext();
  // As the preview holds it: the default white background kept, and the end marker.
  EXPECT_EQ(engine::xml2plus(store::readQN(ctx)), "·$,0Neo·0");
  // Closing at once stores nothing more: the empty box equals the last saved shortcut.
  const std::string before = s.dir.readConfig();
  stroke(window.btnClose);
  EXPECT_FALSE(window.visible());
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

// A shortcut that another entry has is refused by the press (or bare click) of every button:
// message 141, the button stays up and its action does not run, until the text is corrected.
TEST_F(QuickNickWindowTest, TakenShortcutStopsEveryButtonUntilItIsCorrected) {
  withThreeEntries();
  gdi::OwnerDrawing drawing;
  window.registerDrawing(drawing);
  window.setVisible(true);
  window.txt_shortcut.setText("b");
  const std::string before = s.dir.readConfig();
  window.btnNext.press();
  EXPECT_FALSE(window.btnNext.sunken());
  window.btnNext.release();
  window.btnNext.click();  // the refused press is not tried again by its click
  for (OwnerDrawnButton* button : {&window.btnClose, &window.btnAdd, &window.btnUse, &window.btnSuppr}) {
    stroke(*button);
  }
  window.btnClose.click();  // a click with no press commits first, and is refused the same way
  EXPECT_EQ(shortcutMessages(), 6);
  EXPECT_TRUE(window.visible());
  EXPECT_EQ(window.lbl_nbQN.caption(), "1 / 3");
  EXPECT_EQ(qn.codedResult, "");
  EXPECT_EQ(s.dir.readConfig(), before);

  window.txt_shortcut.setText("x");
  window.btnNext.press();
  EXPECT_TRUE(window.btnNext.sunken());
  window.btnNext.release();
  EXPECT_FALSE(window.btnNext.sunken());
  window.btnNext.click();
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 3");
  EXPECT_EQ(window.txt_shortcut.text(), "b");
  EXPECT_EQ(shortcutMessages(), 6);
  EXPECT_EQ(shortcuts(), "x b c ");
}

TEST_F(QuickNickWindowTest, UseHidesOnlyWhenTheEntryGivesPlusText) {
  withEntries({{"e", ""}, {"b", "Beta"}});
  window.setVisible(true);
  qn.codedResult = "previous";
  stroke(window.btnUse);
  EXPECT_EQ(qn.codedResult, "");
  EXPECT_TRUE(window.visible());
  stroke(window.btnNext);
  stroke(window.btnUse);
  EXPECT_EQ(qn.codedResult, "Beta");
  EXPECT_FALSE(window.visible());
}

TEST_F(QuickNickWindowTest, ReplaceWithAnUnknownShortcutAddsTheNicknameUnderIt) {
  withEntries({{"a", "Alpha"}});
  EXPECT_EQ(window.saveNickname("z", true), QuickNickWindow::SaveOutcome::Saved);
  EXPECT_EQ(window.lbl_nbQN.caption(), "2 / 2");
  EXPECT_EQ(window.txt_shortcut.text(), "z");
  EXPECT_EQ(window.rtf_quicknick.box().text(), "Neo");
  EXPECT_EQ(shortcuts(), "a z ");
}

}  // namespace
}  // namespace tessalune::ui
