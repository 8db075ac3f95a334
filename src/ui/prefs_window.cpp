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

using store::Setting;

// The controls of each colour group, in the order of ColourGroup.
constexpr std::array<ColourGroupNames, 4> kGroupNames = {{
    {"", "opt_solid_nick", "opt_grad_nick", "cnt_grad_nick", "rect_grad_nick", "btnSolid_nick",
     "btn_grad1_nick", "btn_grad2_nick"},
    {"opt_none_nickBG", "opt_solid_nickBG", "opt_grad_nickBG", "cnt_grad_nickBG", "rect_grad_nickBG",
     "btnSolid_nickBG", "btn_grad1_nickBG", "btn_grad2_nickBG"},
    {"", "opt_solid_text", "opt_grad_text", "cnt_grad_text", "rect_grad_text", "btnSolid_text",
     "btn_grad1_text", "btn_grad2_text"},
    {"opt_none_textBG", "opt_solid_textBG", "opt_grad_textBG", "cnt_grad_textBG", "rect_grad_textBG",
     "btnSolid_textBG", "btn_grad1_textBG", "btn_grad2_textBG"},
}};

// The settings each colour group shows, in the same order.
constexpr std::array<ColourGroupSettings, 4> kGroupSettings = {{
    {Setting::NickFGType, Setting::NickFGGradient, Setting::NickFGColour, Setting::NickFGGradient1,
     Setting::NickFGGradient2},
    {Setting::NickBGType, Setting::NickBGGradient, Setting::NickBGColour, Setting::NickBGGradient1,
     Setting::NickBGGradient2},
    {Setting::TextFGType, Setting::TextFGGradient, Setting::TextFGColour, Setting::TextFGGradient1,
     Setting::TextFGGradient2},
    {Setting::TextBGType, Setting::TextBGGradient, Setting::TextBGColour, Setting::TextBGGradient1,
     Setting::TextBGGradient2},
}};

// The type option of a group that shows a type: 0 none, 1 solid, 2 gradient.
OptionButton& typeOption(PrefsColourGroup& g, std::int64_t type) {
  if (type == 2) return g.gradient[0];
  return type == 1 || !g.none ? g.solid : *g.none;
}

}  // namespace

PrefsWindow::PrefsWindow(PrefsDependencies deps)
    : Window("frmPrefs"),
      combo_lang("combo_lang", languageEntries()),
      deps_(std::move(deps)),
      groups_{{PrefsColourGroup{kGroupNames[0], kGroupSettings[0]},
               PrefsColourGroup{kGroupNames[1], kGroupSettings[1]},
               PrefsColourGroup{kGroupNames[2], kGroupSettings[2]},
               PrefsColourGroup{kGroupNames[3], kGroupSettings[3]}}} {
  setContainers();  // before the registration, which puts the rest on the window
  registerControls();
  setKeyButtons(nullptr, &btnClose);
  layOut();
  for (OwnerDrawnButton* b : captionButtons()) bindButtonLook(*b);
  for (PrefsColourGroup& g : groups_) {
    for (const auto& [button, area] : g.swatches()) bindButtonLook(*button);
  }

  // The settings as they stand (a fresh plug-in's before any load), which the
  // configuration load then replaces.
  showSettings(store::SettingSet::all());
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

  for (const CheckBoxBinding& binding : checkBoxBindings()) bindCheckBox(binding);
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

void PrefsWindow::change(Setting setting, std::int64_t value) {
  store::setSettingValue(deps_.settings, setting, value);
  store::writeSetting(setting, deps_.settings, deps_.store);
}

// Every check box with the setting it holds and the editor's box that mirrors it, if any.
std::array<PrefsWindow::CheckBoxBinding, 5> PrefsWindow::checkBoxBindings() {
  return {{{chk_noEnd, Setting::Suffix, &deps_.editorNoEnd},
           {chk_all, Setting::All, &deps_.editorAll},
           {chk_upd, Setting::Update, nullptr},
           {chkNick, Setting::NickEnabled, nullptr},
           {chkText, Setting::TextEnabled, nullptr}}};
}

// A check box writes its state; the suffix and whole-text boxes then set the editor's box
// of the same name as if the user had clicked it there.
void PrefsWindow::bindCheckBox(const CheckBoxBinding& binding) {
  binding.box.setClickHandler(
      [this, &box = binding.box, setting = binding.setting, editorCopy = binding.editorCopy] {
        change(setting, box.checked());
        if (editorCopy) editorCopy->choose(box.checked());
      });
}

// The type options switch the gradient group and write the type; the presets write their
// number; a click on preview k is a click on preset k.
void PrefsWindow::bindGroup(ColourGroup g) {
  PrefsColourGroup& c = group(g);
  const ColourGroupSettings& settings = c.settings();
  const auto bindType = [this, g, &settings](OptionButton& option, int type) {
    option.setClickHandler([this, g, setting = settings.type, type] {
      applyGradientRule(g);
      change(setting, type);
    });
  };
  if (c.none) bindType(*c.none, 0);
  bindType(c.solid, 1);
  bindType(c.gradient[0], 2);
  for (std::size_t k = 1; k <= 4; ++k) {
    c.gradient[k].setClickHandler([this, setting = settings.gradient, k] { change(setting, k); });
    OptionButton& preset = c.gradient[k];
    c.previews[k - 1].setClickHandler([&preset] { preset.click(); });
  }
  // A gradient colour's change redraws the group's previews; the solid colour has none.
  bindSwatch(c.solidButton, c.solidColour, settings.colour, std::nullopt);
  bindSwatch(c.gradient1Button, c.gradient1, settings.gradient1, g);
  bindSwatch(c.gradient2Button, c.gradient2, settings.gradient2, g);
}

// The colour area sits inside its button: a press, release or click on it is one on the
// button.
void PrefsWindow::bindSwatch(OwnerDrawnButton& button, ColourSwatch& area, Setting setting,
                             std::optional<ColourGroup> previewsOf) {
  button.setClickHandler([this, &area, setting, previewsOf] { pickColour(area, setting, previewsOf); });
  area.setPressHandler([&button] { button.press(); });
  area.setReleaseHandler([&button] { button.release(); });
  area.setClickHandler([&button] { button.click(); });
}

// The colour dialog starts from the area's colour; a cancel changes nothing. A confirmed
// colour is written even when it is the one already shown.
void PrefsWindow::pickColour(ColourSwatch& area, Setting setting, std::optional<ColourGroup> previewsOf) {
  if (!gdi::pickSwatchColour(deps_.store.dialogs, area)) return;
  change(setting, area.backColour());
  if (previewsOf && deps_.refreshPreviews) deps_.refreshPreviews(*previewsOf);
}

void PrefsWindow::applyLanguageAt(int index) {
  const lang::Language* language = lang::languageAt(index);
  if (!language) return;
  deps_.translation.loadLanguage(language->fileName);
  if (deps_.translation.applyLanguage(deps_.captions) && deps_.languageApplied) deps_.languageApplied();
}

// The setting follows the list even to no selection, which only a script makes and which
// writes nothing.
void PrefsWindow::onLanguageClicked() {
  deps_.settings.language = combo_lang.listIndex();
  if (!lang::languageAt(combo_lang.listIndex())) return;
  applyLanguageAt(combo_lang.listIndex());
  change(Setting::Language, combo_lang.listIndex());
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

void PrefsWindow::showSettings(const store::SettingSet& read) {
  for (const auto& [box, setting, editorCopy] : checkBoxBindings()) {
    if (!read.has(setting)) continue;
    box.setChecked(value(setting) != 0);
    if (editorCopy) editorCopy->setChecked(value(setting) != 0);
  }
  if (read.has(Setting::Language)) {
    combo_lang.setListIndex(deps_.settings.language);
    applyLanguageAt(deps_.settings.language);
  }
  for (ColourGroup g : kColourGroups) showGroup(g, read);
  applyGradientRules();
}

void PrefsWindow::showGroup(ColourGroup g, const store::SettingSet& read) {
  PrefsColourGroup& c = group(g);
  const ColourGroupSettings& settings = c.settings();
  if (read.has(settings.type)) typeOption(c, value(settings.type)).setSelected();
  const std::int64_t preset = value(settings.gradient);
  if (read.has(settings.gradient) && preset >= 1 && preset <= 4)
    c.gradient[static_cast<std::size_t>(preset)].setSelected();
  for (const auto& [area, setting] :
       {std::pair{&c.solidColour, settings.colour}, std::pair{&c.gradient1, settings.gradient1},
        std::pair{&c.gradient2, settings.gradient2}}) {
    if (read.has(setting)) area->setBackColour(static_cast<engine::ColourNumber>(value(setting)));
  }
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

store::ConfigTargets configTargets(store::Settings& settings, PrefsWindow& prefs,
                                   QuickNickWindow& quickNick) {
  return store::ConfigTargets{settings, quickNick.state(), &quickNick.storeView(),
                              [&prefs, &quickNick](const store::SettingSet& read) {
                                prefs.showSettings(read);
                                quickNick.showSettings(read);
                              }};
}

}  // namespace tessalune::ui
