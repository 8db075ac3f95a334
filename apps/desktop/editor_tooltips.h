#pragma once

#include <QObject>
#include <QString>

#include "host_texts.h"
#include "ui/control.h"

namespace tessalune::desktop {

class WindowView;

// What the editor's format buttons (with their keys), colour swatches and gradient presets
// say when the pointer rests on them, in the host's words; empty for any other control.
QString editorToolTip(const ui::Control& control, const HostTexts& texts);

// Gives the editor's controls their tooltips, worded as they are asked for, so that they
// follow the language and the swatches' colours.
class EditorToolTips : public QObject {
 public:
  EditorToolTips(WindowView& view, const HostTexts& texts);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WindowView& view_;
  const HostTexts& texts_;
};

}  // namespace tessalune::desktop
