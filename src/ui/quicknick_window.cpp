#include "ui/quicknick_window.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

#include "engine/plus2rtf.h"
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
  lbl_prevSC.setVisible(false);
  rtf_quicknick.box().setLocked(true);

  // Empty until a load finds entries; the counter rule then keeps the controls in step.
  lbl_nbQN.setCaption(kEmptyCounter);
  onCounterChanged();
  lbl_nbQN.setChangeHandler([this] { onCounterChanged(); });

  bindButton(buttons_[0], [this] { hide(); });
  bindButton(buttons_[1], [this] { addAction(); });
  bindButton(buttons_[2], [this] { use(); });
  bindButton(buttons_[3], [this] {
    store::QuickNickContext ctx = storeContext();
    store::deleteQN(ctx);
  });
  bindButton(buttons_[4], [this] { previous(); });
  bindButton(buttons_[5], [this] { next(); });

  chkReplaceQN.setClickHandler(
      [this] { store::writeConfig("/config/replaceQN", chkReplaceQN.checked() ? "1" : "0", deps_.store); });
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
    state.pressed = *state.committed;
  });
  state.button->setReleaseHandler([&state] { state.pressed = false; });
  state.button->setClickHandler([this, &state, action = std::move(action)] {
    const bool committed = state.committed ? *state.committed : commitShortcut();
    state.committed.reset();
    if (committed) action();
  });
}

bool QuickNickWindow::pressed(const OwnerDrawnButton& button) const {
  for (const ButtonState& state : buttons_) {
    if (state.button == &button) return state.pressed;
  }
  return false;
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
  deps_.codedResult = engine::xml2plus(body, deps_.store.failures);
  if (!deps_.codedResult.empty()) hide();
}

void QuickNickWindow::addAction() {
  // The store counts in 16 bits: no entry beyond the last one it can address.
  if (deps_.state.count == std::numeric_limits<std::int16_t>::max()) return;

  // The new entry takes the position after the last one.
  deps_.state.index = deps_.state.count;
  ++deps_.state.count;
  showCounter();

  // The current nickname, with its Plus! codes, shown as rich text.
  rtf_quicknick.box().setTextRtf(engine::plus2rtf(deps_.messenger.friendlyName(), deps_.store.failures));

  // No shortcut yet, and none to commit: the box equals the last saved one.
  txt_shortcut.setText("");
  lbl_prevSC.setCaption(txt_shortcut.text());

  // The preview as markup, background colours kept, appended as the new last entry.
  engine::ConversionContext conversion = deps_.conversionContext();
  const std::string markup = engine::rtf2xml(rtf_quicknick.box(), 1, conversion);
  store::QuickNickContext ctx = storeContext();
  store::writeQN(markup, ctx);
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
