#include "ui/quicknick_window.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "engine/plus_to_styled_text.h"
#include "engine/rtf2xml.h"
#include "engine/xml2plus.h"
#include "store/config_file.h"

namespace tessalune::ui {

namespace {

constexpr const char* kEmptyCounter = "0 / 0";

}  // namespace

QuickNickWindow::QuickNickWindow(QuickNickDependencies deps)
    : Window("frmQuickNick"), deps_(std::move(deps)) {
  registerControls();
  setKeyButtons(nullptr, &btnClose);
  // The frame holds the entry on show and the ways through the entries; the actions on
  // the entry stand below it.
  for (Control* c :
       std::initializer_list<Control*>{&lbl_quicknick, &lbl_ex, &rtf_quicknick, &lbl_nbQN, &btnPrev, &btnNext,
                                       &lbl_shortcutTitle, &txt_shortcut, &lbl_prevSC}) {
    c->setContainer(&grp_quicknick);
  }
  lbl_ssTitre.setContainer(&titleBar);
  // No language file captions the arrows.
  btnPrev.label().setCaption("\u25C0");
  btnNext.label().setCaption("\u25B6");
  lbl_prevSC.setVisible(false);
  rtf_quicknick.box().setLocked(true);
  layOut();

  // Empty until a load finds entries; the counter rule then keeps the controls in step.
  lbl_nbQN.setCaption(kEmptyCounter);
  onCounterChanged();
  lbl_nbQN.setChangeHandler([this] { onCounterChanged(); });

  showSettings(store::SettingSet::all());

  bindButton(buttons_[0], [this] { hide(); });
  bindButton(buttons_[1], [this] { addAction(); });
  bindButton(buttons_[2], [this] { use(); });
  bindButton(buttons_[3], [this] {
    store::QuickNickContext ctx = storeContext();
    store::deleteQN(ctx);
  });
  bindButton(buttons_[4], [this] { previous(); });
  bindButton(buttons_[5], [this] { next(); });

  chkReplaceQN.setClickHandler([this] {
    deps_.settings.replaceQN = chkReplaceQN.checked();
    store::writeSetting(store::Setting::ReplaceQN, deps_.settings, deps_.store);
  });
}

void QuickNickWindow::showSettings(const store::SettingSet& read) {
  if (read.has(store::Setting::ReplaceQN)) chkReplaceQN.setChecked(deps_.settings.replaceQN);
}

void QuickNickWindow::registerControls() {
  for (Control* c : std::initializer_list<Control*>{
           &titleBar,        &lbl_ssTitre,    &grp_quicknick,   &lbl_quicknick,
           &lbl_ex,          &rtf_quicknick,  &lbl_nbQN,        &btnPrev,
           &btnPrev.label(), &btnNext,        &btnNext.label(), &lbl_shortcutTitle,
           &txt_shortcut,    &lbl_prevSC,     &btnAdd,          &btnAdd.label(),
           &btnUse,          &btnUse.label(), &btnSuppr,        &btnSuppr.label(),
           &chkReplaceQN,    &btnClose,       &btnClose.label()}) {
    add(*c);
  }
}

// A press commits the shortcut box before anything else; only a successful commit draws
// the button pressed and lets its click act.
void QuickNickWindow::bindButton(ButtonState& state, std::function<void()> action) {
  state.button->setPressHandler([this, &state] {
    state.committed = commitShortcut();
    if (*state.committed) showPressed(*state.button, true);
  });
  state.button->setReleaseHandler([this, &state] { showPressed(*state.button, false); });
  state.button->setClickHandler([this, &state, action = std::move(action)] {
    const bool committed = state.committed ? *state.committed : commitShortcut();
    state.committed.reset();
    if (committed && !deps_.lifecycle.stopping()) action();
  });
}

void QuickNickWindow::registerDrawing(gdi::OwnerDrawing& drawing) {
  attachDrawing(drawing);
  registerButtons({&btnClose, &btnAdd, &btnUse, &btnSuppr, &btnPrev, &btnNext});
  drawing.registerBanner(gdi::Banner::QuickNick, titleBar,
                         gdi::TwipSize{titleBar.width(), titleBar.height()});
}

bool QuickNickWindow::commitShortcut() {
  store::QuickNickContext ctx = storeContext();
  return store::writeShortcut(ctx);
}

void QuickNickWindow::showCounter() {
  lbl_nbQN.setCaption(std::to_string(deps_.state.index + 1) + " / " + std::to_string(deps_.state.count));
}

// Use, Delete and the shortcut box are available exactly while there is an entry.
void QuickNickWindow::onCounterChanged() {
  const bool any = lbl_nbQN.caption() != kEmptyCounter;
  for (Control* c : std::initializer_list<Control*>{&btnUse, &btnUse.label(), &txt_shortcut, &btnSuppr,
                                                    &btnSuppr.label()}) {
    c->setEnabled(any);
  }
}

void QuickNickWindow::previous() {
  if (deps_.state.index < 1) return;
  --deps_.state.index;
  showCounter();
  store::QuickNickContext ctx = storeContext();
  store::readQN(ctx);
}

void QuickNickWindow::next() {
  if (deps_.state.index + 1 >= deps_.state.count) return;
  ++deps_.state.index;
  showCounter();
  store::QuickNickContext ctx = storeContext();
  store::readQN(ctx);
}

// The entry's Plus! text becomes the coded result; the window closes only when there is
// some, so an entry that converts to nothing leaves it open.
void QuickNickWindow::use() {
  store::QuickNickContext ctx = storeContext();
  const std::string body = store::readQN(ctx);
  const std::string coded = engine::xml2plus(body, deps_.store.failures);
  if (deps_.chosen) deps_.chosen(coded);
  if (!coded.empty()) hide();
}

std::pair<engine::StyledText, std::string> QuickNickWindow::nicknameAsMarkup() {
  engine::StyledText shown = engine::plusToStyledText(deps_.messenger.friendlyName(), deps_.store.failures);
  if (shown.size() == 0) return {std::move(shown), ""};
  engine::RichTextBox nickname;
  nickname.setCharacters(shown, 0);
  engine::ConversionContext conversion = deps_.conversionContext();
  std::string markup = engine::rtf2xml(nickname, 1, conversion);
  return {std::move(shown), std::move(markup)};
}

// The entry is shown where the store says it was written, never at a remembered position.
void QuickNickWindow::showNewEntry(const store::SavedQuickNick& saved, const engine::StyledText& preview,
                                   std::string_view shortcut) {
  deps_.state.index = saved.index;
  deps_.state.count = saved.count;
  showCounter();
  rtf_quicknick.box().setCharacters(preview, 0);
  txt_shortcut.setText(std::string(shortcut));
  lbl_prevSC.setCaption(txt_shortcut.text());
}

void QuickNickWindow::addAction() {
  const auto [shown, markup] = nicknameAsMarkup();
  // A conversion that reported a failure may have asked for a restart: nothing more is
  // written for a plug-in that is about to start again.
  if (deps_.lifecycle.stopping() || markup.empty()) return;
  store::QuickNickContext ctx = storeContext();
  const auto saved = store::writeQN(markup, ctx);
  if (deps_.lifecycle.stopping() || !saved) return;
  showNewEntry(*saved, shown, "");
}

QuickNickWindow::SaveOutcome QuickNickWindow::saveNickname(std::string_view shortcut, bool replace) {
  store::QuickNickContext ctx = storeContext();
  if (!store::acceptableShortcut(shortcut, ctx)) return SaveOutcome::NotSaved;
  const auto [shown, markup] = nicknameAsMarkup();
  if (deps_.lifecycle.stopping() || markup.empty()) return SaveOutcome::NotSaved;
  const auto saved = replace ? store::replaceQN(markup, shortcut, ctx) : store::saveQN(markup, shortcut, ctx);
  if (deps_.lifecycle.stopping() || !saved) return SaveOutcome::NotSaved;
  if (saved->replaced) return SaveOutcome::Saved;  // the store refreshed the entry if it is shown
  if (!saved->shortcutTaken) {
    showNewEntry(*saved, shown, shortcut);
    return SaveOutcome::Saved;
  }
  // Stored without a shortcut; the refused text waits in the box for the user to change.
  showNewEntry(*saved, shown, "");
  txt_shortcut.setText(std::string(shortcut));
  return SaveOutcome::ShortcutTaken;
}

// Positions are relative to the container: the frame holds the entry on show and the ways
// through the entries, the actions stand below it.
void QuickNickWindow::layOut() {
  resize(7200, 5445);
  titleBar.place(0, 0, 7200, 615);
  lbl_ssTitre.place(180, 195, 6840, 255);
  grp_quicknick.place(120, 690, 6960, 3270);
  lbl_quicknick.place(120, 240, 6720, 990);
  lbl_ex.place(120, 1290, 6720, 225);
  rtf_quicknick.place(120, 1590, 6720, 570);
  btnPrev.placeWithLabel(120, 2280, 495, 375);
  lbl_nbQN.place(735, 2355, 1500, 225);
  btnNext.placeWithLabel(2355, 2280, 495, 375);
  lbl_shortcutTitle.place(120, 2820, 1800, 225);
  txt_shortcut.place(1980, 2775, 3000, 315);
  lbl_prevSC.place(5100, 2820, 1020, 225);
  btnAdd.placeWithLabel(120, 4080, 1800, 375);
  btnUse.placeWithLabel(2040, 4080, 1800, 375);
  btnSuppr.placeWithLabel(3960, 4080, 1800, 375);
  chkReplaceQN.place(120, 4575, 6960, 255);
  btnClose.placeWithLabel(5700, 4950, 1380, 375);
}

lang::CaptionList QuickNickWindow::captionEntries() {
  return {this,
          &lbl_ssTitre,
          &grp_quicknick,
          &lbl_quicknick,
          &lbl_ex,
          &btnAdd.label(),
          &btnSuppr.label(),
          &btnUse.label(),
          &lbl_shortcutTitle,
          &chkReplaceQN,
          &btnClose.label()};
}

}  // namespace tessalune::ui
