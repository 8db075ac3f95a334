// What a view binding a window relies on: the controls a person cannot see or reach take
// no action, and a subscriber is told of every change in order, and when the windows go.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "support/plugin_fixture.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

using ViewBindingTest = testing::PluginFixture;
using plugin::Plugin;

// The hidden background panel takes no click while the text panel is in front, and a
// hidden button's caption is no way to the button.
TEST_F(ViewBindingTest, HiddenPanelsAndTheirControlsTakeNoUserAction) {
  start();
  windows.onShow = [&](Window& w) {
    if (w.name() != "frmPrincipal") return;
    EditorWindow& e = *plugin.editor();
    e.chk_BG.userCheck(true);
    e.btnFG.userClick();
    EXPECT_FALSE(e.panelColorBG_solid[7].acceptsUser());
    e.panelColorBG_solid[7].userClick();
    e.btnOK.userClick();
  };
  std::string result;
  run("/xtessalune", "ab", result);
  EXPECT_EQ(result, "/nick2 \u00B7$1ab\u00B70");  // the default black, and no yellow background

  UpdateWindow& update = *plugin.update();
  update.setVisible(true);
  EXPECT_FALSE(update.btnDwld.label().acceptsUser());
  update.btnDwld.label().userClick();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Tessalune" / "TLsetup.exe"));
  EXPECT_TRUE(update.btnCheck.label().acceptsUser());
}

// Typing and erasing as a view forwards them reach a box only while a person could: the
// model refuses them on a hidden, disabled or locked box, whatever the view lets through.
TEST(BoxTypingTest, TheBoxRefusesWhatAPersonCouldNotType) {
  struct Case {
    std::string_view state;
    bool visible, enabled, frameEnabled, locked, accepted;
  };
  for (const Case& c :
       {Case{"shown", true, true, true, false, true}, Case{"hidden", false, true, true, false, false},
        Case{"disabled", true, false, true, false, false},
        Case{"in a disabled frame", true, true, false, false, false},
        Case{"locked", true, true, true, true, false}}) {
    Frame frame{"grp_nick"};
    RichTextControl rtf{"rtf_nick"};
    rtf.setContainer(&frame);
    rtf.box().setText("ab");
    rtf.box().select(1, 0);
    rtf.setVisible(c.visible);
    rtf.setEnabled(c.enabled);
    frame.setEnabled(c.frameEnabled);
    rtf.box().setLocked(c.locked);
    EXPECT_EQ(rtf.userReplaceSelection("x"), c.accepted) << c.state;
    EXPECT_EQ(rtf.userErase(true), c.accepted) << c.state;
    EXPECT_EQ(rtf.box().text(), c.accepted ? "ax" : "ab") << c.state;
  }
  // Backspace and Delete take a line break's two characters together.
  RichTextControl rtf{"rtf_text"};
  rtf.box().setText("a\r\nb\r\nc");
  rtf.box().select(3, 0);
  rtf.userErase(false);
  EXPECT_EQ(rtf.box().text(), "ab\r\nc");
  rtf.box().select(2, 0);
  rtf.userErase(true);
  EXPECT_EQ(rtf.box().text(), "abc");
}

// A view sees exactly what a handler changes, in order, and nothing for what it leaves as
// it was; it is told when a restart replaces the windows, and its old subscriptions end.
TEST_F(ViewBindingTest, AViewSeesEveryChangeInOrderAndTheWindowsGo) {
  start();
  std::string result;
  run("/xquicknicksave", "a", result);
  messenger.setFriendlyName("Bob");
  run("/xquicknicksave", "b", result);
  QuickNickWindow& manager = *plugin.quickNicks();
  std::vector<std::string> seen;
  std::vector<Subscription> subscriptions;
  for (Control* c : manager.controls()) {
    subscriptions.push_back(c->subscribe([&](Control& changed, Property p) {
      seen.push_back(changed.name() + ":" + std::to_string(static_cast<int>(p)));
    }));
  }
  manager.btnPrev.click();
  const auto name = [](const char* control, Property p) {
    return std::string(control) + ":" + std::to_string(static_cast<int>(p));
  };
  EXPECT_EQ(seen, (std::vector<std::string>{
                      name("lbl_nbQN", Property::Caption), name("txt_shortcut", Property::Text),
                      name("lbl_prevSC", Property::Caption), name("rtf_quicknick", Property::Content)}));
  seen.clear();
  manager.btnPrev.click();  // already at the first entry: nothing changes
  EXPECT_TRUE(seen.empty());

  // Told of the unload, a view lets go of the window: a change made then reaches nobody.
  std::vector<Plugin::WindowsEvent> events;
  Subscription windowsGone = plugin.subscribeWindows([&](Plugin::WindowsEvent e) {
    events.push_back(e);
    manager.lbl_nbQN.setCaption("9 / 9");
  });
  dir.writeConfig("<config><broken>");
  plugin.prefs()->chkNick.click();  // the write meets a malformed file: halt, windows unloaded
  EXPECT_EQ(events, std::vector<Plugin::WindowsEvent>{Plugin::WindowsEvent::Unloaded});
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace tessalune::ui
