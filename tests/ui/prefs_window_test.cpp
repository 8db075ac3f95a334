#include "ui/prefs_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/colour.h"
#include "lang/languages.h"
#include "platform/embedded_resources.h"
#include "platform/messenger.h"
#include "platform/xml_document.h"
#include "store/config_file.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"
#include "ui/quicknick_window.h"

namespace tessalune::ui {
namespace {

using platform::Icon;

// A plug-in folder with the default English configuration and the shipped language files,
// the editor's controls the window mirrors and re-captions, and a caption list of 83
// entries in which the preferences and the QuickNick manager take their own places.
class PrefsWindowTest : public ::testing::Test {
 protected:
  PrefsWindowTest() {
    store::writeDefaultConfiguration(s.dir.path(), platform::language::kEnglish);
    for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(s.dir.path() / std::string(path), std::ios::binary) << *platform::embeddedResource(path);
    }
    const auto standIns = [this](int n) {
      for (int i = 0; i < n; ++i) {
        others.push_back(std::make_unique<Control>("other" + std::to_string(others.size())));
        captions.push_back(others.back().get());
      }
    };
    standIns(31);  // editor and about window
    for (Control* c : prefs.captionEntries()) captions.push_back(c);
    standIns(10);  // update window
    for (Control* c : quickNick.captionEntries()) captions.push_back(c);
    standIns(2);  // help window
  }

  std::string value(const std::string& path) const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(s.dir.configFile()));
    return doc.selectSingleNode(path).text();
  }

  testing::StoreFixture s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  testing::RecordingLifecycle lifecycle;

  // The editor's controls: its two mirrored check boxes and what a language switch touches.
  CheckBox editorNoEnd{"chk_noEnd"}, editorAll{"chk_all"};
  Control editorWindow{"frmPrincipal"}, lbl_titre{"lbl_titre"}, rtf_nick{"rtf_nick"}, rtf_text{"rtf_text"},
      grp_nick{"grp_nick"};
  int mode = lang::kNicknameMode;
  Control* currentBox = &rtf_nick;
  lang::CaptionList captions;
  std::vector<std::unique_ptr<Control>> others;

  int updateWindowShown = 0;
  std::vector<ColourGroup> refreshed;
  PrefsWindow prefs{
      PrefsDependencies{s.context, translation, captions,
                        lang::EditorModeView{mode, currentBox, editorWindow, lbl_titre, rtf_nick, rtf_text,
                                             editorNoEnd, grp_nick, editorAll},
                        editorNoEnd, editorAll, lifecycle, [this] { ++updateWindowShown; },
                        [this](ColourGroup g) { refreshed.push_back(g); }}};

  store::QuickNickState quickNicks;
  platform::HostMessenger messenger{"Neo"};
  engine::RichTextBox scratch{"rtf_mask"};
  std::string codedResult;
  QuickNickWindow quickNick{QuickNickDependencies{s.context, quickNicks, messenger,
                                                  [this] {
                                                    return engine::ConversionContext{
                                                        lang::kNicknameMode, false,     s.dialogs, s.messages,
                                                        s.failures.context,  lifecycle, scratch};
                                                  },
                                                  codedResult}};
};

bool groupEnabled(const Frame& container, const std::array<OptionButton, 5>& options,
                  const std::array<Control, 4>& previews) {
  bool all = container.enabled(), none = !container.enabled();
  for (std::size_t k = 1; k <= 4; ++k) {
    all = all && options[k].enabled() && previews[k - 1].enabled();
    none = none && !options[k].enabled() && !previews[k - 1].enabled();
  }
  EXPECT_TRUE(all || none) << container.name() << " is partly enabled";
  return all;
}

TEST_F(PrefsWindowTest, IsNamedAndFindsEveryControlByItsOwnName) {
  EXPECT_EQ(prefs.name(), "frmPrefs");
  EXPECT_FALSE(prefs.visible());
  std::set<std::string> names;
  for (const Control* c : prefs.controls()) EXPECT_TRUE(names.insert(c->name()).second) << c->name();
  for (const char* name : {"chk_noEnd",
                           "chkNick",
                           "chkText",
                           "opt_solid_nick",
                           "opt_grad_nick(0)",
                           "opt_grad_nick(4)",
                           "cnt_grad_nick",
                           "rect_grad_nick(1)",
                           "rect_grad_textBG(4)",
                           "btnSolid_nick",
                           "btnSolid_nick_rect",
                           "btn_grad1_nickBG",
                           "btn_grad2_textBG_rect",
                           "opt_none_textBG",
                           "combo_lang",
                           "btnUpd",
                           "btnUpd_label",
                           "btnImport",
                           "btnExport",
                           "btnClose",
                           "btnClose_label",
                           "btnNick",
                           "btnNick_label",
                           "btnText",
                           "panelNick",
                           "panelText"}) {
    EXPECT_NE(prefs.find(name), nullptr) << name;
  }
  EXPECT_EQ(prefs.find("opt_grad_textBG(3)"), &prefs.opt_grad_textBG[3]);
  EXPECT_EQ(prefs.captionEntries().size(), 29u);
  EXPECT_EQ(captions.size(), 83u);
  std::vector<std::string> entries;
  for (const lang::Language& language : lang::kLanguages) entries.emplace_back(language.entry);
  EXPECT_EQ(prefs.combo_lang.entries(), entries);
}

TEST_F(PrefsWindowTest, EachHandlerWritesItsOneValue) {
  struct Case {
    Control& control;
    const char* path;
    const char* value;
  };
  // In an order in which each click is allowed: a preset only while its group is gradient.
  const std::vector<Case> cases{
      {prefs.chk_noEnd, "/config/suffix", "1"},
      {prefs.chk_all, "/config/all", "1"},
      {prefs.chk_upd, "/config/update", "1"},
      {prefs.chk_upd, "/config/update", "0"},
      {prefs.chkNick, "/config/nickprefs/enabled", "1"},
      {prefs.chkText, "/config/textprefs/enabled", "1"},
      {prefs.opt_grad_nick[0], "/config/nickprefs/FGtype", "2"},
      {prefs.opt_grad_nick[4], "/config/nickprefs/FGgradtype", "4"},
      {prefs.opt_grad_nick[2], "/config/nickprefs/FGgradtype", "2"},
      {prefs.opt_solid_nick, "/config/nickprefs/FGtype", "1"},
      {prefs.opt_solid_nickBG, "/config/nickprefs/BGtype", "1"},
      {prefs.opt_grad_nickBG[0], "/config/nickprefs/BGtype", "2"},
      {prefs.opt_grad_nickBG[3], "/config/nickprefs/BGgradtype", "3"},
      {prefs.opt_none_nickBG, "/config/nickprefs/BGtype", "0"},
      {prefs.opt_grad_text[0], "/config/textprefs/FGtype", "2"},
      {prefs.rect_grad_text[1], "/config/textprefs/FGgradtype", "2"},
      {prefs.opt_solid_text, "/config/textprefs/FGtype", "1"},
      {prefs.opt_solid_textBG, "/config/textprefs/BGtype", "1"},
      {prefs.opt_grad_textBG[0], "/config/textprefs/BGtype", "2"},
      {prefs.opt_grad_textBG[1], "/config/textprefs/BGgradtype", "1"},
      {prefs.opt_none_textBG, "/config/textprefs/BGtype", "0"},
  };
  for (const Case& c : cases) {
    c.control.click();
    EXPECT_EQ(value(c.path), c.value) << c.control.name();
  }
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(PrefsWindowTest, GradientGroupIsEnabledExactlyWhileItsGradientTypeIsSelected) {
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_nick, prefs.opt_grad_nick, prefs.rect_grad_nick));

  prefs.opt_grad_nick[0].click();
  EXPECT_TRUE(groupEnabled(prefs.cnt_grad_nick, prefs.opt_grad_nick, prefs.rect_grad_nick));
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_nickBG, prefs.opt_grad_nickBG, prefs.rect_grad_nickBG));
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_text, prefs.opt_grad_text, prefs.rect_grad_text));
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_textBG, prefs.opt_grad_textBG, prefs.rect_grad_textBG));

  prefs.opt_grad_nickBG[0].click();
  EXPECT_TRUE(groupEnabled(prefs.cnt_grad_nickBG, prefs.opt_grad_nickBG, prefs.rect_grad_nickBG));
  prefs.opt_solid_nick.click();
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_nick, prefs.opt_grad_nick, prefs.rect_grad_nick));
  EXPECT_TRUE(groupEnabled(prefs.cnt_grad_nickBG, prefs.opt_grad_nickBG, prefs.rect_grad_nickBG));
  prefs.opt_none_nickBG.click();
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_nickBG, prefs.opt_grad_nickBG, prefs.rect_grad_nickBG));
  prefs.opt_grad_textBG[0].click();
  prefs.opt_solid_textBG.click();
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_textBG, prefs.opt_grad_textBG, prefs.rect_grad_textBG));
}

TEST_F(PrefsWindowTest, PresetAndTypeStayIndependent) {
  prefs.opt_grad_nick[0].click();
  prefs.opt_grad_nick[3].click();
  prefs.opt_solid_nick.click();
  // The preset stays selected while its group is disabled, and a preview then takes no click.
  EXPECT_TRUE(prefs.opt_grad_nick[3].selected());
  const std::string before = s.dir.readConfig();
  prefs.rect_grad_nick[0].click();
  EXPECT_TRUE(prefs.opt_grad_nick[3].selected());
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_EQ(value("/config/nickprefs/FGgradtype"), "3");
}

TEST_F(PrefsWindowTest, ThirdPreviewOfTheTextBackgroundWritesPresetThree) {
  prefs.opt_grad_textBG[0].click();
  prefs.rect_grad_textBG[2].click();
  EXPECT_TRUE(prefs.opt_grad_textBG[3].selected());
  EXPECT_EQ(value("/config/textprefs/BGgradtype"), "3");
  EXPECT_EQ(value("/config/textprefs/FGgradtype"), "1");
  EXPECT_EQ(value("/config/nickprefs/BGgradtype"), "1");
}

TEST_F(PrefsWindowTest, ConfirmedColourGoesToTheSwatchAndTheFile) {
  s.dialogs.queueColour(engine::makeColour(0xFF, 0x80, 0x00));
  prefs.btnSolid_nick.click();
  EXPECT_EQ(prefs.btnSolid_nick_rect.backColour(), engine::makeColour(0xFF, 0x80, 0x00));
  EXPECT_EQ(value("/config/nickprefs/FGcolor"), "#FF8000");
  EXPECT_TRUE(refreshed.empty());  // a solid colour has no previews

  s.dialogs.queueColour(engine::makeColour(0x12, 0x34, 0x56));
  prefs.btn_grad2_textBG_rect.click();  // the colour area inside the button is the button
  EXPECT_EQ(value("/config/textprefs/BGgrad2"), "#123456");
  EXPECT_EQ(refreshed, std::vector<ColourGroup>{ColourGroup::TextBG});

  s.dialogs.queueColour(engine::makeColour(0xAB, 0xCD, 0xEF));
  prefs.btn_grad1_nick.click();
  EXPECT_EQ(value("/config/nickprefs/FGgrad1"), "#ABCDEF");
  EXPECT_EQ(refreshed, (std::vector<ColourGroup>{ColourGroup::TextBG, ColourGroup::NickFG}));
}

TEST_F(PrefsWindowTest, CancelledColourDialogChangesNothing) {
  const std::uint32_t shown = prefs.btn_grad1_nickBG_rect.backColour();
  const std::string before = s.dir.readConfig();
  s.dialogs.queueColour(std::nullopt);
  prefs.btn_grad1_nickBG.click();
  EXPECT_EQ(prefs.btn_grad1_nickBG_rect.backColour(), shown);
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(refreshed.empty());
}

TEST_F(PrefsWindowTest, ConfirmingTheShownColourStillRewritesTheElement) {
  store::writeConfig("/config/nickprefs/BGcolor", "#000001", s.context);  // the file differs from the window
  const std::uint32_t shown = prefs.btnSolid_nickBG_rect.backColour();
  EXPECT_EQ(engine::rgb2hex(shown), "#AED7FF");
  s.dialogs.queueColour(shown);
  prefs.btnSolid_nickBG.click();
  EXPECT_EQ(value("/config/nickprefs/BGcolor"), "#AED7FF");
}

TEST_F(PrefsWindowTest, UncheckingTheSuffixAlsoUnchecksTheEditorsBox) {
  int editorClicks = 0;
  editorNoEnd.setClickHandler([&] { ++editorClicks; });
  prefs.chk_noEnd.setChecked(true);
  editorNoEnd.setChecked(true);
  store::writeConfig("/config/suffix", "1", s.context);

  prefs.chk_noEnd.click();
  EXPECT_FALSE(prefs.chk_noEnd.checked());
  EXPECT_FALSE(editorNoEnd.checked());
  EXPECT_EQ(editorClicks, 1);  // as if the user had unticked it there
  EXPECT_EQ(value("/config/suffix"), "0");

  prefs.chk_all.click();
  EXPECT_TRUE(editorAll.checked());
  EXPECT_EQ(value("/config/all"), "1");
}

TEST_F(PrefsWindowTest, ItalianoLoadsItalianRecaptionsAndWritesIt) {
  prefs.combo_lang.choose(0);  // French first, so that every caption changes
  const std::string frenchNoEnd = prefs.chk_noEnd.caption();
  const std::string frenchReplace = quickNick.chkReplaceQN.caption();

  prefs.combo_lang.choose(5);
  EXPECT_EQ(value("/config/lang"), "it");
  ASSERT_TRUE(translation.line(53));
  EXPECT_EQ(prefs.chk_noEnd.caption(), *translation.line(53));
  EXPECT_EQ(prefs.caption(), *translation.line(32));
  EXPECT_EQ(quickNick.chkReplaceQN.caption(), *translation.line(80));
  EXPECT_EQ(others.front()->caption(), *translation.line(1));
  EXPECT_NE(prefs.chk_noEnd.caption(), frenchNoEnd);
  EXPECT_NE(quickNick.chkReplaceQN.caption(), frenchReplace);
  EXPECT_EQ(prefs.combo_lang.entries()[5], "Italiano");
  EXPECT_EQ(prefs.combo_lang.entries()[0], "Français");
  EXPECT_TRUE(s.dialogs.shown().empty());
}

TEST_F(PrefsWindowTest, ListWithoutSelectionDoesNothing) {
  const std::string before = s.dir.readConfig();
  prefs.combo_lang.choose(-1);
  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_TRUE(translation.lines().empty());
}

TEST_F(PrefsWindowTest, MissingLanguageFileKeepsCaptionsAndStillWritesTheCode) {
  prefs.combo_lang.choose(1);
  const std::string english = prefs.chk_noEnd.caption();
  std::filesystem::remove(s.dir.path() / "Tessalune" / "italian.lng");
  prefs.combo_lang.choose(5);
  EXPECT_EQ(prefs.chk_noEnd.caption(), english);
  ASSERT_EQ(s.dialogs.shown().size(), 1u);
  EXPECT_EQ(s.dialogs.shown()[0].text, "Missing translation for italian.");
  EXPECT_EQ(value("/config/lang"), "it");
}

TEST_F(PrefsWindowTest, TabsSwitchPanelsPositionsAndColoursAndWriteNothing) {
  EXPECT_TRUE(prefs.panelNick.visible());
  EXPECT_FALSE(prefs.panelText.visible());
  const std::string before = s.dir.readConfig();

  prefs.btnText.label().press();
  EXPECT_TRUE(prefs.panelText.visible());
  EXPECT_FALSE(prefs.panelNick.visible());
  EXPECT_EQ(prefs.btnText.top(), 825);
  EXPECT_EQ(prefs.btnNick.top(), 840);
  EXPECT_EQ(prefs.btnText.backColour(), system_colour::k3DHighlight);
  EXPECT_EQ(prefs.chkText.backColour(), system_colour::k3DHighlight);
  EXPECT_EQ(prefs.btnNick.backColour(), system_colour::kButtonFace);
  EXPECT_EQ(prefs.chkNick.backColour(), system_colour::kButtonFace);

  prefs.btnNick.press();
  EXPECT_TRUE(prefs.panelNick.visible());
  EXPECT_FALSE(prefs.panelText.visible());
  EXPECT_EQ(prefs.btnNick.top(), 825);
  EXPECT_EQ(prefs.btnText.top(), 840);
  EXPECT_EQ(prefs.btnNick.backColour(), system_colour::k3DHighlight);
  EXPECT_EQ(prefs.chkText.backColour(), system_colour::kButtonFace);

  EXPECT_EQ(s.dir.readConfig(), before);
  EXPECT_FALSE(prefs.chkNick.checked());
  EXPECT_FALSE(prefs.chkText.checked());
}

TEST_F(PrefsWindowTest, CloseHidesAndUpdateOpensTheUpdateWindow) {
  prefs.setVisible(true);
  prefs.btnUpd.label().click();
  EXPECT_EQ(updateWindowShown, 1);
  EXPECT_TRUE(prefs.visible());
  prefs.btnClose.label().click();
  EXPECT_FALSE(prefs.visible());
}

TEST_F(PrefsWindowTest, ExportAndImportGoThroughTheirDialogs) {
  const std::filesystem::path exported = s.dir.path() / "copy.xml";
  s.dialogs.queueFile(exported.string());
  prefs.btnExport.click();
  EXPECT_TRUE(std::filesystem::exists(exported));
  ASSERT_EQ(s.dialogs.fileRequests().size(), 1u);
  EXPECT_FALSE(s.dialogs.fileRequests()[0].open);

  prefs.btnImport.click();  // cancelled
  EXPECT_TRUE(lifecycle.calls.empty());
  s.dialogs.queueFile(exported.string());
  prefs.btnImport.click();
  EXPECT_TRUE(s.dialogs.fileRequests().back().open);
  EXPECT_EQ(lifecycle.calls, (std::vector<std::string>{"unloadForms", "initPlugin"}));
}

TEST_F(PrefsWindowTest, LoadFillsBothWindowsAndAppliesTheRulesWithoutWriting) {
  std::string text = store::defaultConfiguration(platform::language::kEnglish) + "\r\n";
  const auto replace = [&text](const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
  };
  replace("<lang>en</lang>", "<lang>it</lang>");
  replace("<suffix>0</suffix>", "<suffix>1</suffix>");
  replace("<FGtype>1</FGtype>", "<FGtype>2</FGtype>");  // the nickname preset's
  replace("<FGgradtype>1</FGgradtype>", "<FGgradtype>3</FGgradtype>");
  replace("<quicknicks>\r\n\t</quicknicks>",
          "<quicknicks><quicknick shortcut=\"a\">Alpha</quicknick><quicknick>Beta</quicknick></quicknicks>");
  s.dir.writeConfig(text);

  store::ConfigTargets targets = configTargets(prefs, quickNick);
  store::loadConfig(targets, s.context);

  EXPECT_EQ(s.dir.readConfig(), text);
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(prefs.chk_noEnd.checked());
  EXPECT_TRUE(editorNoEnd.checked());
  EXPECT_EQ(prefs.combo_lang.listIndex(), 5);
  EXPECT_EQ(prefs.chk_noEnd.caption(), *translation.line(53));
  EXPECT_TRUE(prefs.opt_grad_nick[0].selected());
  EXPECT_TRUE(prefs.opt_grad_nick[3].selected());
  EXPECT_TRUE(groupEnabled(prefs.cnt_grad_nick, prefs.opt_grad_nick, prefs.rect_grad_nick));
  EXPECT_FALSE(groupEnabled(prefs.cnt_grad_text, prefs.opt_grad_text, prefs.rect_grad_text));
  EXPECT_EQ(quickNick.lbl_nbQN.caption(), "1 / 2");
  EXPECT_EQ(quickNick.txt_shortcut.text(), "a");
  EXPECT_TRUE(quickNick.btnUse.enabled());

  const engine::StylePreset nick = prefs.nickStyle();
  EXPECT_EQ(nick.FGtype, 2);
  EXPECT_EQ(nick.FGgradtype, 3);
  EXPECT_EQ(nick.BGtype, 0);
  EXPECT_EQ(nick.FGgrad2, engine::hex2rgb("#0080FF"));
  EXPECT_EQ(nick.BGcolor, engine::hex2rgb("#AED7FF"));
  EXPECT_EQ(prefs.textStyle().FGtype, 1);
}

}  // namespace
}  // namespace tessalune::ui
