#pragma once

#include "lang/translation.h"
#include "ui/control.h"

namespace tessalune::ui {

// The editor's parts that follow its mode, as the language files switch them: mode and
// currentBox are the plug-in's, the controls the editor's (or stand-ins where there is no
// editor).
struct EditorModeControls {
  int& mode;
  Control*& currentBox;
  Control& window;   // frmPrincipal
  Control& title;    // lbl_titre
  Control& nickBox;  // rtf_nick
  Control& textBox;  // rtf_text
  Control& noEnd;    // chk_noEnd
  Control& frame;    // grp_nick
  Control& all;      // chk_all

  lang::EditorModeView view() const {
    return {mode,
            [current = &currentBox, nick = &nickBox, text = &textBox, noEnd = &noEnd](int shown) {
              const bool textMode = shown == lang::kTextMode;
              *current = textMode ? text : nick;
              nick->setVisible(!textMode);
              text->setVisible(textMode);
              noEnd->setVisible(!textMode);
            },
            window,
            title,
            frame,
            all};
  }
};

}  // namespace tessalune::ui
