// What a view draws from: every window opened as the user opens it is laid out (each control
// inside its container, shown siblings apart) and its owner-drawn controls have images, after
// the first Initialize and after a second one on the same plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "support/plugin_fixture.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

using WindowLayoutTest = testing::PluginFixture;

bool overlap(const Control& a, const Control& b) {
  return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() &&
         a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

bool ownerDrawn(const Control& c) {
  return c.kind() == ControlKind::OwnerDrawnButton || c.kind() == ControlKind::Banner ||
         c.kind() == ControlKind::GradientPreview;
}

// Checks a window as it is shown: returns what is wrong, one line per fault.
std::vector<std::string> layoutFaults(const Window& w, const gdi::OwnerDrawing& drawing) {
  std::vector<std::string> faults;
  const auto fault = [&](const Control& c, const std::string& what) {
    faults.push_back(w.name() + "." + c.name() + ": " + what);
  };
  std::map<const Control*, std::vector<const Control*>> shownChildren;
  for (const Control* c : w.controls()) {
    const Control* holder = c->container();
    if (!holder) {
      fault(*c, "no container");
      continue;
    }
    if (c->width() <= 0 || c->height() <= 0) fault(*c, "an empty rectangle");
    if (c->left() < 0 || c->top() < 0 || c->left() + c->width() > holder->width() ||
        c->top() + c->height() > holder->height()) {
      fault(*c, "outside " + holder->name());
    }
    if (!c->shownWithin(w)) continue;
    for (const Control* sibling : shownChildren[holder]) {
      if (overlap(*c, *sibling)) fault(*c, "overlaps " + sibling->name());
    }
    shownChildren[holder].push_back(c);
    const gdi::Image* image = drawing.imageFor(*c);
    if (ownerDrawn(*c) && (!image || image->width() == 0 || image->height() == 0)) fault(*c, "no image");
  }
  return faults;
}

TEST_F(WindowLayoutTest, EveryWindowIsLaidOutAndDrawnAfterEachInitialize) {
  for (int initialize = 1; initialize <= 2; ++initialize) {
    if (initialize == 1) {
      start();
    } else {
      plugin.Uninitialize();
      plugin.Initialize(0, "", &messenger);
    }
    std::vector<std::string> opened, faults;
    windows.onShow = [&](Window& w) {
      opened.push_back(w.name());
      for (const std::string& f : layoutFaults(w, plugin.drawing())) faults.push_back(f);
      if (&w == plugin.prefs()) plugin.prefs()->btnUpd.userClick();  // the update window opens from here
      w.hide();
    };
    std::string result;
    for (const char* command :
         {"/xtessalune", "/xtessaluneabout", "/xtessalunecfg", "/xtessalunehelp", "/xquicknick"}) {
      run(command, "", result);
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"frmPrincipal", "frmAbout", "frmPrefs", "frmUpd", "frmHelp",
                                                "frmQuickNick"}));
    EXPECT_EQ(faults, std::vector<std::string>{}) << "after Initialize " << initialize;

    // Every button of every window registered, with its face.
    for (int position = 1; position <= gdi::kButtonCount; ++position) {
      ASSERT_NE(plugin.drawing().button(position), nullptr) << position;
      const gdi::Image* face = plugin.drawing().faceImage(position);
      ASSERT_NE(face, nullptr) << position;
      EXPECT_GT(face->width() * face->height(), 0) << position;
    }
    for (int banner = 0; banner < gdi::kBannerCount; ++banner) {
      EXPECT_NE(plugin.drawing().bannerImage(static_cast<gdi::Banner>(banner)), nullptr) << banner;
    }
  }
}

// With the language file gone, the windows still say what their controls do: the English
// texts the program carries (the arrows have no line in any file).
TEST_F(WindowLayoutTest, WithoutALanguageFileEveryCaptionIsEnglish) {
  std::vector<std::string> blank;
  windows.onShow = [&](Window& w) {
    for (const Control* c : w.controls()) {
      if (c->kind() == ControlKind::Label && c->shownWithin(w) && c->caption().empty())
        blank.push_back(w.name() + "." + c->name());
    }
    w.hide();
  };
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    if (!path.ends_with(".lng"))
      std::ofstream(dir.path() / path, std::ios::binary) << *platform::embeddedResource(path);
  }
  store::writeDefaultConfiguration(dir.path(), platform::language::kEnglish);
  plugin.Initialize(0, "", &messenger);
  EXPECT_TRUE(wasShown("Missing translation for english."));
  std::string result;
  run("/xtessalunecfg", "", result);
  run("/xquicknick", "", result);
  EXPECT_EQ(plugin.prefs()->chk_noEnd.caption(), "No end code after the nickname");
  EXPECT_EQ(plugin.quickNicks()->btnPrev.label().caption(), "\u25C0");
  EXPECT_EQ(blank, std::vector<std::string>{});
}

}  // namespace
}  // namespace tessalune::ui
