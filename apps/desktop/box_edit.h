#pragma once

#include <QTextEdit>
#include <vector>

#include "ui/controls.h"

namespace tessalune::desktop {

// A rich-text box of a window model shown in a QTextEdit. The model is the only source of
// truth: the edit shows the box's characters, formats and selection and is redrawn when the
// box tells of a change; typing, deleting, pasting (as plain text) and selecting go to the
// box. QTextEdit's own editing and undo are off.
class BoxEdit : public QTextEdit {
 public:
  BoxEdit(ui::RichTextControl& control, QWidget* parent);

  // Shows the box as it is now.
  void render();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  // Positions: the box counts code points and a line break (CR LF) as two; the document
  // counts UTF-16 units and a line break as one.
  int toDocument(int boxPosition) const;
  int toBox(int documentPosition) const;
  void selectionToBox();
  void replaceSelection(const QString& text);

  ui::RichTextControl& control_;
  std::vector<int> documentPositions_;  // for every box position and the end
  bool rendering_ = false;              // the edit is being filled from the box
  bool pushing_ = false;                // the edit's selection is being given to the box
};

}  // namespace tessalune::desktop
