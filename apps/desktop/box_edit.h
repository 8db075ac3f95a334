#pragma once

#include <QAccessibleInterface>
#include <QMenu>
#include <QTextEdit>
#include <memory>
#include <vector>

#include "host_texts.h"
#include "ui/controls.h"

namespace tessalune::desktop {

// A rich-text box of a window model shown in a QTextEdit. The model is the only source of
// truth: the edit shows the box's characters, formats and selection and is redrawn when the
// box tells of a change; typing, deleting, pasting (as plain text) and selecting go to the
// box. QTextEdit's own editing and undo are off: undo and redo are the box's, whose steps
// hold an edit together with what the window did to the box because of it.
class BoxEdit : public QTextEdit {
 public:
  // texts: the context menu's words, in the plug-in's language; null for Qt's own.
  BoxEdit(ui::RichTextControl& control, const HostTexts* texts, QWidget* parent);

  // Shows the box as it is now.
  void render();
  // The context menu: undo, redo, cut, copy, paste, delete and select all.
  std::unique_ptr<QMenu> editMenu();
  ui::RichTextControl& control() const { return control_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  friend class BoxAccessible;
  // Positions: the box counts code points and a line break (CR LF) as two; the document
  // counts UTF-16 units and a line break as one.
  int toDocument(int boxPosition) const;
  int toBox(int documentPosition) const;
  void selectionToBox();
  void replaceSelection(const QString& text);
  void undo();
  void redo();

  ui::RichTextControl& control_;
  const HostTexts* texts_;
  std::vector<int> documentPositions_;  // for every box position and the end
  bool rendering_ = false;              // the edit is being filled from the box
  bool pushing_ = false;                // the edit's selection is being given to the box
};

// What a screen reader reads of a box view: an editable text (read-only where the box takes
// no typing) whose text, caret and selection are the box's, and whose edits go through the
// box as typing does; null for another object.
QAccessibleInterface* boxAccessible(QObject* object);

}  // namespace tessalune::desktop
