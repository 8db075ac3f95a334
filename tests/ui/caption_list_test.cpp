#include "ui/caption_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/embedded_resources.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/quicknick_window_parts.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

// The six windows of a plug-in over a folder holding the shipped English and French
// language files, and the caption list they make.
class CaptionListTest : public ::testing::Test {
 protected:
  CaptionListTest() {
    for (const std::string name : {"english", "french"}) {
      const std::string path = "Tessalune/" + name + ".lng";
      std::ofstream(s.dir.path() / path, std::ios::binary) << *platform::embeddedResource(path);
    }
    captions = captionList(editor, about, prefs, update, qn.window, help);
  }

  testing::StoreFixture s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  testing::QuickNickWindowParts qn{s};
  platform::RecordingShell shell;
  EditorWindow editor{EditorDependencies{s.dialogs, s.messages, s.failures.context, qn.lifecycle}};
  AboutWindow about{shell, {"v2.0", "Build 708"}};
  lang::CaptionList captions;
  PrefsWindow prefs{PrefsDependencies{s.context, qn.settings, translation, captions,
                                      [this] { editor.languageApplied(); }, editor.chk_noEnd, editor.chk_all,
                                      qn.lifecycle, [] {}}};
  UpdateWindow update;
  HelpWindow help;
};

TEST_F(CaptionListTest, LanguageFilesCaptionEveryWindowThroughIt) {
  const std::vector<std::tuple<Control*, std::string, std::string>> samples{
      {&editor.btnBold.label(), "Bold", "Gras"},
      {&about, "About Tessalune", "À propos de Tessalune"},
      {&prefs.lbl_nickFG, "Nickname color", "Couleur du pseudo"},
      {&prefs.chk_noEnd, "No end code after the nickname", "Pas de code de fin après le pseudo"},
      {&update.btnCancel, "Cancel", "Annuler"},
      {&qn.window.grp_quicknick, "My QuickNicks", "Mes QuickNicks"},
      {&help.btnClose.label(), "Close", "Fermer"}};
  for (const bool french : {true, false}) {
    translation.loadLanguage(french ? "french" : "english");
    translation.applyLanguage(captions);
    for (const auto& [control, english, inFrench] : samples)
      EXPECT_EQ(control->caption(), french ? inFrench : english) << control->name();
  }
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_EQ(about.lbl_ver.caption(), "v2.0");  // not a caption of the language
}

}  // namespace
}  // namespace tessalune::ui
