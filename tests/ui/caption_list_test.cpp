#include "ui/caption_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/embedded_resources.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/quicknick_window_parts.h"
#include "support/recording_lifecycle.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

// The six windows of a plug-in over a plug-in folder holding the shipped English and French
// language files, and the caption list they make.
class CaptionListTest : public ::testing::Test {
 protected:
  CaptionListTest() {
    for (const char* name : {"english", "french"}) {
      const std::string path = std::string("Tessalune/") + name + ".lng";
      std::ofstream(s.dir.path() / path, std::ios::binary) << *platform::embeddedResource(path);
    }
    captions = captionList(editor, about, prefs, update, quickNick, help);
  }
  void apply(const char* language) {
    translation.loadLanguage(language);
    translation.applyLanguage(captions, editor.modeView());
  }
  Window& window(const std::string& name) {
    const std::map<std::string, Window*> windows{{"frmPrincipal", &editor},    {"frmAbout", &about},
                                                 {"frmPrefs", &prefs},         {"frmUpd", &update},
                                                 {"frmQuickNick", &quickNick}, {"frmHelp", &help}};
    return *windows.at(name);
  }

  testing::StoreFixture s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  testing::QuickNickWindowParts qn{s};
  QuickNickWindow& quickNick = qn.window;
  testing::RecordingLifecycle lifecycle;
  platform::RecordingShell shell;

  int mode = lang::kNicknameMode;
  Control* currentBox = nullptr;
  std::string codedResult;
  EditorWindow editor{EditorDependencies{s.dialogs, s.messages, s.failures.context, lifecycle, codedResult,
                                         mode, currentBox}};
  AboutWindow about{shell};
  lang::CaptionList captions;
  PrefsWindow prefs{PrefsDependencies{s.context, translation, captions, editor.modeView(), editor.chk_noEnd,
                                      editor.chk_all, lifecycle, [] {}}};
  UpdateWindow update;
  HelpWindow help;
};

// Each window's entries in turn; a window's own name stands for its title.
TEST_F(CaptionListTest, HoldsTheEightyThreeEntriesOfEachWindowInTheFilesOrder) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
      {"frmPrincipal",
       {"btnAbout",
        "btnHelp",
        "grp_nick",
        "btnBold_label",
        "btnItalic_label",
        "btnUline_label",
        "btnSO_label",
        "btnCode_label",
        "btnFG_label",
        "btnBG_label",
        "chk_BG",
        "panelColorFG_lblTitle",
        "panelColorBG_lblTitle",
        "panelColorFG_lblUni",
        "panelColorBG_lblUni",
        "panelColorFG_lblGrad",
        "panelColorBG_lblGrad",
        "panelColorFG_solid_label",
        "panelColorBG_solid_label",
        "chk_noEnd",
        "chk_all",
        "btnPrefs_label",
        "btnCancel_label",
        "btnOK_label"}},
      {"frmAbout",
       {"frmAbout", "grp_version", "lbl_contact", "btnOK_label", "lbl_copyright", "lbl_credits",
        "lbl_translation"}},
      {"frmPrefs",
       {"frmPrefs",       "lbl_ssTitre",      "grp_default",     "lbl_defaultInfo",  "btnNick_label",
        "btnText_label",  "lbl_nickFG",       "lbl_nickBG",      "lbl_textFG",       "lbl_textBG",
        "opt_solid_nick", "opt_grad_nick(0)", "opt_none_nickBG", "opt_solid_nickBG", "opt_grad_nickBG(0)",
        "opt_solid_text", "opt_grad_text(0)", "opt_none_textBG", "opt_solid_textBG", "opt_grad_textBG(0)",
        "grp_opt",        "chk_noEnd",        "chk_all",         "chk_upd",          "lbl_lang",
        "btnUpd_label",   "btnImport_label",  "btnExport_label", "btnClose_label"}},
      {"frmUpd",
       {"frmUpd", "grp_maj", "lbl_majVerTitle", "btnCheck_label", "btnNews_label", "btnDwld_label",
        "lbl_statusTitle", "lbl_progressTitle", "btnCancel", "btnClose_label"}},
      {"frmQuickNick",
       {"frmQuickNick", "lbl_ssTitre", "grp_quicknick", "lbl_quicknick", "lbl_ex", "btnAdd_label",
        "btnSuppr_label", "btnUse_label", "lbl_shortcutTitle", "chkReplaceQN", "btnClose_label"}},
      {"frmHelp", {"frmHelp", "btnClose_label"}},
  };
  ASSERT_EQ(captions.size(), kCaptionCount);
  std::size_t i = 0;
  for (const auto& [windowName, names] : expected) {
    Window& owner = window(windowName);
    for (const std::string& name : names) {
      ASSERT_LT(i, captions.size());
      ASSERT_NE(captions[i], nullptr) << "entry " << i + 1;
      EXPECT_EQ(captions[i]->name(), name) << "entry " << i + 1;
      // That window's own control (or the window), not one of the same name elsewhere.
      EXPECT_TRUE(captions[i] == &owner || owner.find(name) == captions[i])
          << "entry " << i + 1 << " is not " << windowName << "." << name;
      ++i;
    }
  }
  EXPECT_EQ(i, kCaptionCount);
}

TEST_F(CaptionListTest, LanguageFilesCaptionEveryWindowThroughIt) {
  struct Sample {
    Control& control;
    std::string english, french;
  };
  const std::vector<Sample> samples{
      {editor.btnAbout, "About", "À propos"},
      {editor.btnBold.label(), "Bold", "Gras"},
      {about, "About Tessalune", "À propos de Tessalune"},
      {about.btnOK.label(), "OK", "OK"},
      {prefs, "Tessalune preferences", "Préférences de Tessalune"},
      {prefs.chk_noEnd, "No end code after the nickname", "Pas de code de fin après le pseudo"},
      {update, "Tessalune update", "Mise à jour de Tessalune"},
      {update.btnCancel, "Cancel", "Annuler"},
      {quickNick.chkReplaceQN, "Replace the QuickNick when saving under a shortcut already in use",
       "Remplacer le QuickNick lors d'un enregistrement sous un raccourci déjà utilisé"},
      {help, "Tessalune help", "Aide de Tessalune"},
      {help.btnClose.label(), "Close", "Fermer"},
  };
  apply("french");
  for (const Sample& sample : samples)
    EXPECT_EQ(sample.control.caption(), sample.french) << sample.control.name();
  apply("english");
  for (const Sample& sample : samples)
    EXPECT_EQ(sample.control.caption(), sample.english) << sample.control.name();
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_EQ(about.lbl_ver.caption(), "v2.0");  // not a caption of the language
}

}  // namespace
}  // namespace tessalune::ui
