#pragma once

#include <array>
#include <functional>

#include "store/quicknick_state.h"
#include "ui/controls.h"

namespace tessalune::store {

// The controls that hold one style preset (the nickname or the text panel of the
// preferences window).
struct PresetControls {
  ui::CheckBox& enabled;                        // chkNick / chkText
  ui::OptionButton& fgSolid;                    // opt_solid_nick
  std::array<ui::OptionButton*, 5> fgGradient;  // opt_grad_nick: 0 the gradient type, 1-4 the presets
  ui::OptionButton& bgNone;                     // opt_none_nickBG
  ui::OptionButton& bgSolid;                    // opt_solid_nickBG
  std::array<ui::OptionButton*, 5> bgGradient;  // opt_grad_nickBG
  ui::ColourSwatch& fgColor;                    // btnSolid_nick_rect
  ui::ColourSwatch& fgGrad1;                    // btn_grad1_nick_rect
  ui::ColourSwatch& fgGrad2;                    // btn_grad2_nick_rect
  ui::ColourSwatch& bgColor;                    // btnSolid_nickBG_rect
  ui::ColourSwatch& bgGrad1;                    // btn_grad1_nickBG_rect
  ui::ColourSwatch& bgGrad2;                    // btn_grad2_nickBG_rect
};

// Where a load puts the settings: there is no settings object, the controls that edit a
// setting hold it. The load sets their state as shown; it then has the window apply what
// a user's choice would (the language, the enabling of the gradient groups) without
// writing anything back.
struct ConfigTargets {
  ui::CheckBox& suffix;        // chk_noEnd of the preferences
  ui::CheckBox& editorSuffix;  // chk_noEnd of the editor
  ui::CheckBox& all;           // chk_all of the preferences
  ui::CheckBox& editorAll;     // chk_all of the editor
  ui::CheckBox& update;        // chk_upd
  ui::ComboBox& lang;          // combo_lang
  ui::CheckBox& replaceQN;     // chkReplaceQN of the QuickNick manager
  PresetControls nick;
  PresetControls text;
  QuickNickControls quickNicks;
  QuickNickState& quickNickState;
  std::function<void(int listIndex)> languageChosen;  // load and apply that language file
  std::function<void()> typesChanged;                 // re-apply the gradient-group rule
};

}  // namespace tessalune::store
