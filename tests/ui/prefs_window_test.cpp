#include "ui/prefs_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/colour.h"
#include "platform/embedded_resources.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/quicknick_window_parts.h"
#include "ui/about_window.h"
#include "ui/caption_list.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

using engine::makeColour;

// A plug-in folder with the default English configuration and the shipped language files,
// and the six windows of a plug-in with the caption list they make; the preferences mirror
// the editor's check boxes.
class PrefsWindowTest : public ::testing::Test {
 protected:
  PrefsWindowTest() {
    store::writeDefaultConfiguration(s.dir.path(), platform::language::kEnglish);
    for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(s.dir.path() / std::string(path), std::ios::binary) << *platform::embeddedResource(path);
    }
    captions = captionList(editor, about, prefs, update, quickNick, help);
  }
  std::string value(const std::string& path) const { return s.dir.configValue(path); }

  // A colour group's controls; its elements are path + "type", "gradtype", "color", ...
  struct Group {
    ColourGroup id;
    std::string path;
    OptionButton *none, &solid;
    std::array<OptionButton, 5>& grad;
    Frame& container;
    std::array<Control, 4>& previews;
    OwnerDrawnButton &solidSwatch, &grad1Swatch, &grad2Swatch;
  };
  std::vector<Group> groups() {
    std::vector<Group> out;
    for (const auto& [id, path] : {std::pair{ColourGroup::NickFG, "/config/nickprefs/FG"},
                                   std::pair{ColourGroup::NickBG, "/config/nickprefs/BG"},
                                   std::pair{ColourGroup::TextFG, "/config/textprefs/FG"},
                                   std::pair{ColourGroup::TextBG, "/config/textprefs/BG"}}) {
      PrefsColourGroup& g = prefs.group(id);
      out.push_back(Group{id, path, g.none ? &*g.none : nullptr, g.solid, g.gradient, g.container, g.previews,
                          g.solidButton, g.gradient1Button, g.gradient2Button});
    }
    return out;
  }
  // Whether a group's container, presets and previews are enabled; they must agree.
  static bool enabled(const Group& g) {
    bool all = g.container.enabled(), none = !g.container.enabled();
    for (std::size_t k = 1; k <= 4; ++k) {
      all = all && g.grad[k].enabled() && g.previews[k - 1].enabled();
      none = none && !g.grad[k].enabled() && !g.previews[k - 1].enabled();
    }
    EXPECT_TRUE(all || none) << g.container.name() << " is partly enabled";
    return all;
  }
  int enabledGroups() {
    int n = 0;
    for (const Group& g : groups()) n += enabled(g);
    return n;
  }

  testing::StoreFixture s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  testing::QuickNickWindowParts qn{s};
  QuickNickWindow& quickNick = qn.window;
  testing::RecordingLifecycle& lifecycle = qn.lifecycle;

  platform::RecordingShell shell;
  EditorWindow editor{EditorDependencies{s.dialogs, s.messages, s.failures.context, lifecycle}};
  CheckBox &editorNoEnd = editor.chk_noEnd, &editorAll = editor.chk_all;
  AboutWindow about{shell, {"v2.0", "708"}};
  UpdateWindow update;
  HelpWindow help;
  lang::CaptionList captions;

  int updateWindowShown = 0;
  std::vector<ColourGroup> refreshed;
  PrefsWindow prefs{PrefsDependencies{s.context, qn.settings, translation, captions,
                                      [this] { editor.languageApplied(); }, editorNoEnd, editorAll, lifecycle,
                                      [this] { ++updateWindowShown; },
                                      [this](ColourGroup g) { refreshed.push_back(g); }}};
};

// chk_noEnd and chk_all also set the editor's box of the same name, as if clicked there.
TEST_F(PrefsWindowTest, CheckBoxesWriteTheirStateAndTheEditorMirrorsSuffixAndAll) {
  int editorClicks = 0;
  editorNoEnd.setClickHandler([&] { ++editorClicks; });
  struct Case {
    CheckBox& box;
    std::string path;
    CheckBox* editorCopy;
  };
  for (const Case& c : std::vector<Case>{{prefs.chk_noEnd, "/config/suffix", &editorNoEnd},
                                         {prefs.chk_all, "/config/all", &editorAll},
                                         {prefs.chk_upd, "/config/update", nullptr},
                                         {prefs.chkNick, "/config/nickprefs/enabled", nullptr},
                                         {prefs.chkText, "/config/textprefs/enabled", nullptr}}) {
    for (const char* expected : {"1", "0"}) {
      c.box.click();
      EXPECT_EQ(value(c.path), expected) << c.path;
      if (c.editorCopy) {
        EXPECT_EQ(c.editorCopy->checked(), c.box.checked()) << c.path;
      }
    }
  }
  EXPECT_EQ(editorClicks, 2);
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

// Each group in turn: its type, preset and colour handlers write its own elements, and its
// gradient group is enabled exactly while gradient is chosen, whatever the other groups show.
TEST_F(PrefsWindowTest, EachColourGroupWritesItsValuesAndFollowsItsOwnGradientRule) {
  EXPECT_EQ(enabledGroups(), 0);
  int i = 0;
  for (const Group& g : groups()) {
    g.grad[0].click();
    EXPECT_EQ(value(g.path + "type"), "2");
    EXPECT_TRUE(enabled(g));
    EXPECT_EQ(enabledGroups(), i + 1);
    g.previews[2].click();  // the third preview selects preset 3
    EXPECT_TRUE(g.grad[3].selected());
    EXPECT_EQ(value(g.path + "gradtype"), "3");
    g.grad[4].click();
    EXPECT_EQ(value(g.path + "gradtype"), "4");

    refreshed.clear();
    for (int k = 0; k < 3; ++k) {
      s.dialogs.queueColour(makeColour(0xA0 + i, 0x0B, 0xC0 + k));
      std::array{&g.solidSwatch, &g.grad1Swatch, &g.grad2Swatch}[k]->click();
      EXPECT_EQ(value(g.path + std::array{"color", "grad1", "grad2"}[k]),
                "#A" + std::to_string(i) + "0BC" + char('0' + k));
    }
    EXPECT_EQ(refreshed, std::vector<ColourGroup>(2, g.id)) << "a solid colour has no previews";

    g.solid.click();
    EXPECT_EQ(value(g.path + "type"), "1");
    EXPECT_EQ(enabledGroups(), i);
    g.previews[0].click();  // disabled: takes no click, and the preset stays
    EXPECT_TRUE(g.grad[4].selected());
    EXPECT_EQ(value(g.path + "gradtype"), "4");
    if (g.none) {
      g.none->click();
      EXPECT_EQ(value(g.path + "type"), "0");
      EXPECT_FALSE(enabled(g));
    }
    g.grad[0].click();
    ++i;
  }
  EXPECT_EQ(qn.settings.text.BGgrad2, makeColour(0xA3, 0x0B, 0xC2));  // the settings hold it
}

TEST_F(PrefsWindowTest, CancelledColourChangesNothingButConfirmingTheShownOneRewrites) {
  const std::uint32_t shown = prefs.group(ColourGroup::NickBG).gradient1.backColour();
  const std::string before = s.dir.readConfig();
  s.dialogs.queueColour(std::nullopt);
  prefs.group(ColourGroup::NickBG).gradient1Button.click();
  EXPECT_EQ(prefs.group(ColourGroup::NickBG).gradient1.backColour(), shown);
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(refreshed.empty());

  store::writeConfig("/config/nickprefs/BGcolor", "#000001", s.context);  // the file differs from the window
  s.dialogs.queueColour(prefs.group(ColourGroup::NickBG).solidColour.backColour());
  prefs.group(ColourGroup::NickBG).solidColour.click();  // the colour area inside the button is the button
  EXPECT_EQ(value("/config/nickprefs/BGcolor"), "#AED7FF");
}

TEST_F(PrefsWindowTest, LanguageListRecaptionsEveryWindowAndWritesTheCode) {
  const std::string before = s.dir.readConfig();
  prefs.combo_lang.choose(-1);  // no selection: nothing
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(translation.lines().empty());

  prefs.combo_lang.choose(5);
  EXPECT_EQ(value("/config/lang"), "it");
  ASSERT_TRUE(translation.line(53));
  EXPECT_EQ(prefs.chk_noEnd.caption(), *translation.line(53));
  EXPECT_EQ(prefs.caption(), *translation.line(32));
  EXPECT_EQ(quickNick.chkReplaceQN.caption(), *translation.line(80));
  EXPECT_EQ(prefs.combo_lang.entries(),
            (std::vector<std::string>{"Français", "English", "Dutch", "Español", "Català", "Italiano"}));
  EXPECT_TRUE(s.dialogs.shown().empty());

  // A missing file keeps the captions, says so, and still writes the code.
  const std::string italian = prefs.chk_noEnd.caption();
  std::filesystem::remove(s.dir.path() / "Tessalune" / "dutch.lng");
  prefs.combo_lang.choose(2);
  EXPECT_EQ(prefs.chk_noEnd.caption(), italian);
  ASSERT_EQ(s.dialogs.shown().size(), 1u);
  EXPECT_EQ(s.dialogs.shown()[0].text, "Missing translation for dutch.");
  EXPECT_EQ(value("/config/lang"), "nl");
}

// The shipped files caption sample controls of every window through the list, in its order.
TEST_F(PrefsWindowTest, LanguageFilesCaptionEveryWindowThroughTheList) {
  const std::vector<std::tuple<Control*, std::string, std::string>> samples{
      {&editor.btnBold.label(), "Bold", "Gras"},
      {&about, "About Tessalune", "À propos de Tessalune"},
      {&prefs.lbl_nickFG, "Nickname color", "Couleur du pseudo"},
      {&prefs.chk_noEnd, "No end code after the nickname", "Pas de code de fin après le pseudo"},
      {&update.btnCancel, "Cancel", "Annuler"},
      {&quickNick.grp_quicknick, "My QuickNicks", "Mes QuickNicks"},
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

TEST_F(PrefsWindowTest, TabsSwitchPanelsPositionsAndColoursAndWriteNothing) {
  const std::string before = s.dir.readConfig();
  prefs.btnText.label().press();
  EXPECT_TRUE(prefs.panelText.visible() && !prefs.panelNick.visible());
  EXPECT_EQ(prefs.btnText.top(), 825);
  EXPECT_EQ(prefs.btnNick.top(), 840);
  EXPECT_EQ(prefs.chkText.backColour(), system_colour::k3DHighlight);
  EXPECT_EQ(prefs.btnNick.backColour(), system_colour::kButtonFace);
  prefs.btnNick.press();
  EXPECT_TRUE(prefs.panelNick.visible() && !prefs.panelText.visible());
  EXPECT_EQ(prefs.btnNick.top(), 825);
  EXPECT_EQ(prefs.chkText.backColour(), system_colour::kButtonFace);
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_FALSE(prefs.chkNick.checked() || prefs.chkText.checked());
}

TEST_F(PrefsWindowTest, CaptionButtonsCloseUpdateExportAndImport) {
  prefs.setVisible(true);
  prefs.btnUpd.label().click();
  EXPECT_EQ(updateWindowShown, 1);
  prefs.btnClose.label().click();
  EXPECT_FALSE(prefs.visible());

  const std::filesystem::path exported = s.dir.path() / "copy.xml";
  s.dialogs.queueFile(exported.string());
  prefs.btnExport.click();
  EXPECT_TRUE(std::filesystem::exists(exported));
  prefs.btnImport.click();  // cancelled
  EXPECT_TRUE(lifecycle.calls.empty());
  s.dialogs.queueFile(exported.string());
  prefs.btnImport.click();
  EXPECT_EQ(lifecycle.calls, (std::vector<std::string>{"unloadForms", "initPlugin"}));
}

TEST_F(PrefsWindowTest, LoadFillsBothWindowsAndAppliesTheRulesWithoutWriting) {
  const std::string text =
      testing::defaultConfigWith({{"<lang>en</lang>", "<lang>it</lang>"},
                                  {"<suffix>0</suffix>", "<suffix>1</suffix>"},
                                  {"<FGtype>1</FGtype>", "<FGtype>2</FGtype>"},  // the nickname preset's
                                  {"<FGgradtype>1</FGgradtype>", "<FGgradtype>3</FGgradtype>"},
                                  {"<quicknicks>\r\n\t</quicknicks>",
                                   "<quicknicks><quicknick shortcut=\"a\">A</quicknick></quicknicks>"}});
  s.dir.writeConfig(text);
  store::ConfigTargets targets = configTargets(qn.settings, prefs, quickNick);
  store::loadConfig(targets, s.context);

  EXPECT_EQ(s.dir.readConfig(), text);
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(editorNoEnd.checked());
  EXPECT_EQ(prefs.chk_noEnd.caption(), *translation.line(53));
  EXPECT_TRUE(enabled(groups()[0]) && enabledGroups() == 1);
  EXPECT_EQ(quickNick.lbl_nbQN.caption(), "1 / 1");
  EXPECT_EQ(quickNick.txt_shortcut.text(), "a");
  EXPECT_EQ(qn.settings.nick.FGgradtype, engine::GradientPreset::Grad3);
  EXPECT_TRUE(prefs.group(ColourGroup::NickFG).gradient[3].selected());
  EXPECT_EQ(qn.settings.nick.FGgrad2, engine::hex2rgb("#0080FF"));
  EXPECT_EQ(prefs.group(ColourGroup::NickFG).gradient2.backColour(), engine::hex2rgb("#0080FF"));
  EXPECT_EQ(qn.settings.text.FGtype, engine::StyleKind::Solid);
}

}  // namespace
}  // namespace tessalune::ui
