#include "ui/prefs_window.h"

#include "ui/gdi/swatch_colour.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "engine/colour.h"
#include "lang/languages.h"
#include "store/config_file.h"
#include "store/import_export.h"
#include "ui/quicknick_window.h"

namespace tessalune::ui {

namespace {

std::vector<std::string> languageEntries() {
  std::vector<std::string> entries;
  for (const lang::Language& language : lang::kLanguages) entries.emplace_back(language.entry);
  return entries;
}

const char* onOff(bool on) {
  return on ? "1" : "0";
}

// The preset option (1 to 4) selected in a gradient array, 0 when none is.
int selectedPreset(const std::array<OptionButton, 5>& options) {
  for (int k = 1; k <= 4; ++k) {
    if (options[static_cast<std::size_t>(k)].selected()) return k;
  }
  return 0;
}

// The controls of each colour group, in the order of ColourGroup.
constexpr std::array<ColourGroupNames, 4> kGroupNames = {{
    {"", "opt_solid_nick", "opt_grad_nick", "cnt_grad_nick", "rect_grad_nick", "btnSolid_nick",
     "btn_grad1_nick", "btn_grad2_nick", "/config/nickprefs/", "FG"},
    {"opt_none_nickBG", "opt_solid_nickBG", "opt_grad_nickBG", "cnt_grad_nickBG", "rect_grad_nickBG",
     "btnSolid_nickBG", "btn_grad1_nickBG", "btn_grad2_nickBG", "/config/nickprefs/", "BG"},
    {"", "opt_solid_text", "opt_grad_text", "cnt_grad_text", "rect_grad_text", "btnSolid_text",
     "btn_grad1_text", "btn_grad2_text", "/config/textprefs/", "FG"},
    {"opt_none_textBG", "opt_solid_textBG", "opt_grad_textBG", "cnt_grad_textBG", "rect_grad_textBG",
     "btnSolid_textBG", "btn_grad1_textBG", "btn_grad2_textBG", "/config/textprefs/", "BG"},
}};

}  // namespace

PrefsWindow::PrefsWindow(PrefsDependencies deps)
    : Window("frmPrefs"),
      combo_lang("combo_lang", languageEntries()),
      deps_(std::move(deps)),
      groups_{{PrefsColourGroup{kGroupNames[0]}, PrefsColourGroup{kGroupNames[1]},
               PrefsColourGroup{kGroupNames[2]}, PrefsColourGroup{kGroupNames[3]}}} {
  setContainers();  // before the registration, which puts the rest on the window
  registerControls();
  setKeyButtons(nullptr, &btnClose);
  layOut();
  for (OwnerDrawnButton* b : captionButtons()) bindButtonLook(*b);
  for (PrefsColourGroup& g : groups_) {
    for (const auto& [button, area] : g.swatches()) bindButtonLook(*button);
  }

  // The design state, which the configuration load then replaces: the default preset.
  for (PrefsColourGroup& c : groups_) {
    (c.none ? *c.none : c.solid).setSelected();
    c.gradient[1].setSelected();
  }
  for (ColourGroup g : {ColourGroup::NickFG, ColourGroup::TextFG}) {
    group(g).solidColour.setBackColour(engine::hex2rgb("#000000"));
    group(g).gradient1.setBackColour(engine::hex2rgb("#000080"));
    group(g).gradient2.setBackColour(engine::hex2rgb("#0080FF"));
  }
  for (ColourGroup g : {ColourGroup::NickBG, ColourGroup::TextBG}) {
    group(g).solidColour.setBackColour(engine::hex2rgb("#AED7FF"));
    group(g).gradient1.setBackColour(engine::hex2rgb("#55AAFF"));
    group(g).gradient2.setBackColour(engine::hex2rgb("#D5EAFF"));
  }
  applyGradientRules();
  chooseTab(true);

  btnClose.setClickHandler([this] { hide(); });
  btnUpd.setClickHandler([this] {
    if (deps_.showUpdateWindow) deps_.showUpdateWindow();
  });
  // The import ends by starting the plug-in again, which replaces this window: nothing may
  // follow it here.
  btnImport.setClickHandler([this] { store::importWithRestart(deps_.store, deps_.lifecycle); });
  btnExport.setClickHandler([this] { store::exportWithDialog(deps_.store); });

  btnNick.setPressHandler([this] { chooseTab(true); });
  btnText.setPressHandler([this] { chooseTab(false); });

  bindCheckBox(chk_noEnd, "/config/suffix", &deps_.editorNoEnd);
  bindCheckBox(chk_all, "/config/all", &deps_.editorAll);
  bindCheckBox(chk_upd, "/config/update", nullptr);
  bindCheckBox(chkNick, "/config/nickprefs/enabled", nullptr);
  bindCheckBox(chkText, "/config/textprefs/enabled", nullptr);
  combo_lang.setClickHandler([this] { onLanguageClicked(); });

  for (ColourGroup g : kColourGroups) bindGroup(g);
}

// What holds what: the tabs and their panels lie in the automatic-colouring group, each
// panel holds its preset's controls, a gradient container its presets and previews, a
// swatch button its colour area, the general group its settings.
void PrefsWindow::setContainers() {
  const auto hold = [](Control& container, std::initializer_list<Control*> controls) {
    for (Control* c : controls) c->setContainer(&container);
  };
  hold(titleBar, {&lbl_ssTitre});
  hold(grp_default, {&lbl_defaultInfo, &btnNick, &btnText, &panelNick, &panelText});
  // Each tab carries its preset's check box.
  chkNick.setContainer(&btnNick);
  chkText.setContainer(&btnText);
  hold(panelNick, {&lbl_nickFG, &lbl_nickBG});
  hold(panelText, {&lbl_textFG, &lbl_textBG});
  for (ColourGroup id : kColourGroups) {
    PrefsColourGroup& g = group(id);
    Frame& panel = id == ColourGroup::NickFG || id == ColourGroup::NickBG ? panelNick : panelText;
    if (g.none) g.none->setContainer(&panel);
    hold(panel,
         {&g.solid, &g.gradient[0], &g.container, &g.solidButton, &g.gradient1Button, &g.gradient2Button});
    for (std::size_t k = 0; k < g.gradient.size(); ++k) g.gradient[k].setIndex(static_cast<int>(k));
    for (std::size_t k = 1; k < g.gradient.size(); ++k) {
      g.gradient[k].setContainer(&g.container);
      g.previews[k - 1].setContainer(&g.container);
      g.previews[k - 1].setIndex(static_cast<int>(k));
    }
    for (const auto& [button, area] : g.swatches()) area->setContainer(button);
  }
  hold(grp_opt, {&chk_noEnd, &chk_all, &chk_upd, &lbl_lang, &combo_lang, &btnUpd, &btnImport, &btnExport});
}

// Positions are relative to the container. The two panels lie on top of each other below
// the tabs; in each, the characters' column stands left of the background's, whose extra
// option "none" pushes its rows one step down.
void PrefsWindow::layOut() {
  resize(8100, 7890);
  titleBar.place(0, 0, 8100, 615);
  lbl_ssTitre.place(180, 195, 7740, 255);
  grp_default.place(120, 690, 7860, 4545);
  lbl_defaultInfo.place(120, 225, 7620, 585);
  btnNick.place(120, kChosenTabTop, 2400, 285);
  btnText.place(2535, kOtherTabTop, 2400, 285);
  for (OwnerDrawnButton* tab : {&btnNick, &btnText}) tab->label().place(360, 45, 1980, 210);
  for (CheckBox* box : {&chkNick, &chkText}) box->place(75, 45, 195, 195);
  constexpr int kRow = 330;
  for (Frame* panel : {&panelNick, &panelText}) panel->place(120, 1125, 7620, 3300);
  for (PrefsColourGroup& c : groups_) {
    const bool background = c.background();
    const int left = background ? 3900 : 120;
    int top = 405;
    if (c.none) {
      c.none->place(left, top, 2400, 255);
      top += kRow;
    }
    c.solid.place(left, top, 2400, 255);
    c.solidButton.place(left + 2520, top - 15, 720, 285);
    top += kRow;
    c.gradient[0].place(left, top, 2400, 255);
    top += kRow - 15;
    c.gradient1Button.place(left, top, 720, 285);
    c.gradient2Button.place(left + 840, top, 720, 285);
    for (ColourSwatch* area : {&c.solidColour, &c.gradient1, &c.gradient2}) area->place(60, 60, 600, 165);
    top += 375;
    c.container.place(left, top, 3480, 1440);
    for (std::size_t k = 1; k <= 4; ++k) {
      const int row = 60 + 345 * static_cast<int>(k - 1);
      c.gradient[k].place(60, row, 255, 255);
      c.previews[k - 1].place(405, row + 30, 2955, 195);
    }
  }
  for (Label* heading : {&lbl_nickFG, &lbl_textFG}) heading->place(120, 120, 3600, 225);
  for (Label* heading : {&lbl_nickBG, &lbl_textBG}) heading->place(3900, 120, 3600, 225);

  grp_opt.place(120, 5310, 7860, 1995);
  chk_noEnd.place(120, 240, 7620, 255);
  chk_all.place(120, 525, 7620, 255);
  chk_upd.place(120, 810, 7620, 255);
  lbl_lang.place(120, 1155, 1500, 225);
  combo_lang.place(1680, 1110, 2400, 315);
  btnUpd.placeWithLabel(120, 1500, 1800, 375);
  btnImport.placeWithLabel(2040, 1500, 1800, 375);
  btnExport.placeWithLabel(3960, 1500, 1800, 375);
  btnClose.placeWithLabel(6600, 7395, 1380, 375);
}

std::array<OwnerDrawnButton*, 4> PrefsWindow::captionButtons() {
  return {&btnClose, &btnUpd, &btnImport, &btnExport};
}

// The swatch buttons sink their colour area, the others their caption.
void PrefsWindow::registerDrawing(gdi::OwnerDrawing& drawing) {
  attachDrawing(drawing);
  for (OwnerDrawnButton* b : captionButtons()) registerButtons({b});
  for (PrefsColourGroup& g : groups_) {
    for (const auto& [button, area] : g.swatches()) {
      drawing.registerButton(gdi::buttonPosition(name(), button->name()), *button,
                             {button->width(), button->height()}, {}, *area);
    }
  }
  drawing.registerBanner(gdi::Banner::Preferences, titleBar,
                         gdi::TwipSize{titleBar.width(), titleBar.height()});
}

void PrefsWindow::registerControls() {
  for (Control* c : std::initializer_list<Control*>{
           &titleBar, &lbl_ssTitre, &btnClose, &btnClose.label(), &grp_default, &lbl_defaultInfo, &btnNick,
           &btnNick.label(), &btnText, &btnText.label(), &chkNick, &chkText, &panelNick, &panelText,
           &lbl_nickFG, &lbl_nickBG, &lbl_textFG, &lbl_textBG}) {
    add(*c);
  }
  for (PrefsColourGroup& c : groups_) {
    if (c.none) add(*c.none);
    add(c.solid);
    for (OptionButton& option : c.gradient) add(option);
    add(c.container);
    for (Control& preview : c.previews) add(preview);
  }
  // Swatch buttons show a colour area, not a caption: their labels are not registered.
  for (PrefsColourGroup& c : groups_) {
    for (const auto& [button, area] : c.swatches()) {
      add(*button);
      add(*area);
    }
  }
  for (Control* c : std::initializer_list<Control*>{&grp_opt, &chk_noEnd, &chk_all, &chk_upd, &lbl_lang,
                                                    &combo_lang, &btnUpd, &btnUpd.label(), &btnImport,
                                                    &btnImport.label(), &btnExport, &btnExport.label()}) {
    add(*c);
  }
}

void PrefsWindow::write(std::string_view path, std::string_view value) {
  store::writeConfig(path, value, deps_.store);
}

// A check box writes its state; the suffix and whole-text boxes then set the editor's box
// of the same name as if the user had clicked it there.
void PrefsWindow::bindCheckBox(CheckBox& box, std::string path, CheckBox* editorCopy) {
  box.setClickHandler([this, &box, path = std::move(path), editorCopy] {
    write(path, onOff(box.checked()));
    if (editorCopy) editorCopy->choose(box.checked());
  });
}

// The type options switch the gradient group and write the type; the presets write their
// number; a click on preview k is a click on preset k.
void PrefsWindow::bindGroup(ColourGroup g) {
  PrefsColourGroup& c = group(g);
  const std::string prefix = std::string(c.names().settings) + std::string(c.names().side);
  const std::string typePath = prefix + "type";
  const std::string presetPath = prefix + "gradtype";
  const auto typeOption = [this, g, typePath](OptionButton& option, const char* value) {
    option.setClickHandler([this, g, typePath, value] {
      applyGradientRule(g);
      write(typePath, value);
    });
  };
  if (c.none) typeOption(*c.none, "0");
  typeOption(c.solid, "1");
  typeOption(c.gradient[0], "2");
  for (std::size_t k = 1; k <= 4; ++k) {
    c.gradient[k].setClickHandler([this, presetPath, k] { write(presetPath, std::to_string(k)); });
    OptionButton& preset = c.gradient[k];
    c.previews[k - 1].setClickHandler([&preset] { preset.click(); });
  }
  // A gradient colour's change redraws the group's previews; the solid colour has none.
  bindSwatch(c.solidButton, c.solidColour, prefix + "color", std::nullopt);
  bindSwatch(c.gradient1Button, c.gradient1, prefix + "grad1", g);
  bindSwatch(c.gradient2Button, c.gradient2, prefix + "grad2", g);
}

// The colour area sits inside its button: a press, release or click on it is one on the
// button.
void PrefsWindow::bindSwatch(OwnerDrawnButton& button, ColourSwatch& area, std::string path,
                             std::optional<ColourGroup> previewsOf) {
  button.setClickHandler(
      [this, &area, path = std::move(path), previewsOf] { pickColour(area, path, previewsOf); });
  area.setPressHandler([&button] { button.press(); });
  area.setReleaseHandler([&button] { button.release(); });
  area.setClickHandler([&button] { button.click(); });
}

// The colour dialog starts from the area's colour; a cancel changes nothing. A confirmed
// colour is written even when it is the one already shown.
void PrefsWindow::pickColour(ColourSwatch& area, std::string_view path,
                             std::optional<ColourGroup> previewsOf) {
  if (!gdi::pickSwatchColour(deps_.store.dialogs, area)) return;
  write(path, engine::rgb2hex(area.backColour()));
  if (previewsOf && deps_.refreshPreviews) deps_.refreshPreviews(*previewsOf);
}

void PrefsWindow::applyLanguageAt(int index) {
  const lang::Language* language = lang::languageAt(index);
  if (!language) return;
  deps_.translation.loadLanguage(language->fileName);
  if (deps_.translation.applyLanguage(deps_.captions) && deps_.languageApplied) deps_.languageApplied();
}

void PrefsWindow::onLanguageClicked() {
  const lang::Language* language = lang::languageAt(combo_lang.listIndex());
  if (!language) return;
  applyLanguageAt(combo_lang.listIndex());
  write("/config/lang", language->code);
}

void PrefsWindow::applyGradientRule(ColourGroup g) {
  PrefsColourGroup& c = group(g);
  const bool gradient = c.gradient[0].selected();
  c.container.setEnabled(gradient);
  for (std::size_t k = 1; k <= 4; ++k) c.gradient[k].setEnabled(gradient);
  // The previews sit in the container and go with it.
  for (Control& preview : c.previews) preview.setEnabled(gradient);
}

void PrefsWindow::applyGradientRules() {
  for (ColourGroup g : kColourGroups) applyGradientRule(g);
}

// Shows the chosen tab's panel and lifts the tab; writes nothing.
void PrefsWindow::chooseTab(bool nickname) {
  OwnerDrawnButton& chosen = nickname ? btnNick : btnText;
  OwnerDrawnButton& other = nickname ? btnText : btnNick;
  CheckBox& chosenBox = nickname ? chkNick : chkText;
  CheckBox& otherBox = nickname ? chkText : chkNick;
  (nickname ? panelNick : panelText).setVisible(true);
  (nickname ? panelText : panelNick).setVisible(false);
  chosen.move(chosen.left(), kChosenTabTop);
  other.move(other.left(), kOtherTabTop);
  chosen.setBackColour(system_colour::k3DHighlight);
  chosenBox.setBackColour(system_colour::k3DHighlight);
  other.setBackColour(system_colour::kButtonFace);
  otherBox.setBackColour(system_colour::kButtonFace);
}

void PrefsWindow::applyStoredSettings(const store::StoredSettings& stored, CheckBox& replaceQN) {
  const auto check = [](CheckBox& box, const std::optional<bool>& on) {
    if (on) box.setChecked(*on);
  };
  check(chk_noEnd, stored.suffix);
  check(deps_.editorNoEnd, stored.suffix);
  check(chk_all, stored.all);
  check(deps_.editorAll, stored.all);
  check(chk_upd, stored.update);
  if (stored.language) {
    combo_lang.setListIndex(*stored.language);
    applyLanguageAt(*stored.language);
  }
  check(replaceQN, stored.replaceQN);
  applyStoredPreset(stored.nick, chkNick, ColourGroup::NickFG, ColourGroup::NickBG);
  applyStoredPreset(stored.text, chkText, ColourGroup::TextFG, ColourGroup::TextBG);
  applyGradientRules();
}

void PrefsWindow::applyStoredPreset(const store::StoredPreset& stored, CheckBox& enabled, ColourGroup fg,
                                    ColourGroup bg) {
  PrefsColourGroup& f = group(fg);
  PrefsColourGroup& b = group(bg);
  if (stored.enabled) enabled.setChecked(*stored.enabled);
  if (stored.fgType) (*stored.fgType == 2 ? f.gradient[0] : f.solid).setSelected();
  if (stored.bgType)
    (*stored.bgType == 2 ? b.gradient[0] : *stored.bgType == 1 ? b.solid : *b.none).setSelected();
  if (stored.fgGradient) f.gradient[static_cast<std::size_t>(*stored.fgGradient)].setSelected();
  if (stored.bgGradient) b.gradient[static_cast<std::size_t>(*stored.bgGradient)].setSelected();
  const auto paint = [](ColourSwatch& swatch, const std::optional<std::uint32_t>& colour) {
    if (colour) swatch.setBackColour(*colour);
  };
  paint(f.solidColour, stored.fgColor);
  paint(f.gradient1, stored.fgGrad1);
  paint(f.gradient2, stored.fgGrad2);
  paint(b.solidColour, stored.bgColor);
  paint(b.gradient1, stored.bgGrad1);
  paint(b.gradient2, stored.bgGrad2);
}

engine::StylePreset PrefsWindow::style(ColourGroup fg, ColourGroup bg, const CheckBox& enabled) const {
  const PrefsColourGroup& f = group(fg);
  const PrefsColourGroup& b = group(bg);
  engine::StylePreset preset;
  preset.enabled = enabled.checked();
  preset.FGtype = f.solid.selected() ? 1 : 2;
  preset.FGgradtype = selectedPreset(f.gradient);
  preset.FGcolor = f.solidColour.backColour() & engine::kRgbMask;
  preset.FGgrad1 = f.gradient1.backColour() & engine::kRgbMask;
  preset.FGgrad2 = f.gradient2.backColour() & engine::kRgbMask;
  preset.BGtype = b.none->selected() ? 0 : b.solid.selected() ? 1 : 2;
  preset.BGgradtype = selectedPreset(b.gradient);
  preset.BGcolor = b.solidColour.backColour() & engine::kRgbMask;
  preset.BGgrad1 = b.gradient1.backColour() & engine::kRgbMask;
  preset.BGgrad2 = b.gradient2.backColour() & engine::kRgbMask;
  return preset;
}

engine::StylePreset PrefsWindow::nickStyle() const {
  return style(ColourGroup::NickFG, ColourGroup::NickBG, chkNick);
}

engine::StylePreset PrefsWindow::textStyle() const {
  return style(ColourGroup::TextFG, ColourGroup::TextBG, chkText);
}

lang::CaptionList PrefsWindow::captionEntries() {
  return {this,
          &lbl_ssTitre,
          &grp_default,
          &lbl_defaultInfo,
          &btnNick.label(),
          &btnText.label(),
          &lbl_nickFG,
          &lbl_nickBG,
          &lbl_textFG,
          &lbl_textBG,
          &group(ColourGroup::NickFG).solid,
          &group(ColourGroup::NickFG).gradient[0],
          &*group(ColourGroup::NickBG).none,
          &group(ColourGroup::NickBG).solid,
          &group(ColourGroup::NickBG).gradient[0],
          &group(ColourGroup::TextFG).solid,
          &group(ColourGroup::TextFG).gradient[0],
          &*group(ColourGroup::TextBG).none,
          &group(ColourGroup::TextBG).solid,
          &group(ColourGroup::TextBG).gradient[0],
          &grp_opt,
          &chk_noEnd,
          &chk_all,
          &chk_upd,
          &lbl_lang,
          &btnUpd.label(),
          &btnImport.label(),
          &btnExport.label(),
          &btnClose.label()};
}

store::ConfigTargets configTargets(PrefsWindow& prefs, QuickNickWindow& quickNick) {
  return store::ConfigTargets{
      [&prefs, &quickNick](const store::StoredSettings& stored) {
        prefs.applyStoredSettings(stored, quickNick.chkReplaceQN);
      },
      quickNick.storeView(),
      quickNick.state(),
  };
}

}  // namespace tessalune::ui
