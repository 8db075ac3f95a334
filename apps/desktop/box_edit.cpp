#include "box_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "control_widgets.h"
#include "engine/utf8.h"

namespace tessalune::desktop {

namespace {

QColor qtColour(engine::ColourNumber colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

// Ctrl+B, I, U and S: the window's format buttons.
bool formatKey(const QKeyEvent& event) {
  const int key = event.key();
  return event.modifiers() == Qt::ControlModifier &&
         (key == Qt::Key_B || key == Qt::Key_I || key == Qt::Key_U || key == Qt::Key_S);
}

}  // namespace

BoxEdit::BoxEdit(ui::RichTextControl& control, QWidget* parent) : QTextEdit(parent), control_(control) {
  setUndoRedoEnabled(false);
  setAcceptRichText(false);
  // The widget selects and moves the caret; every change of the text goes through the box.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setFont(QFont("Arial", 10));
  setTabChangesFocus(true);  // Tab goes on to the next control, as in every dialog
  showOnLightPaper(*this);
  connect(this, &QTextEdit::selectionChanged, this, [this] { selectionToBox(); });
  connect(this, &QTextEdit::cursorPositionChanged, this, [this] { selectionToBox(); });
  render();
}

void BoxEdit::render() {
  if (pushing_) return;  // the box tells of the selection this edit just gave it
  rendering_ = true;
  const engine::RichTextBox& box = control_.box();
  clear();
  QTextCursor cursor(document());
  documentPositions_.clear();
  int position = 0;
  const engine::StyledText& chars = box.characters();
  for (std::size_t i = 0; i < chars.size(); ++i) {
    documentPositions_.push_back(position);
    const engine::StyledChar& c = chars[i];
    if (c.ch == U'\r' && i + 1 < chars.size() && chars[i + 1].ch == U'\n') continue;  // the pair is one break
    QTextCharFormat format;
    format.setFontWeight(c.format.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(c.format.italic);
    format.setFontUnderline(c.format.underline);
    format.setFontStrikeOut(c.format.strike);
    format.setForeground(c.format.textColour ? qtColour(*c.format.textColour) : QColor(Qt::black));
    if (c.format.background) format.setBackground(qtColour(*c.format.background));
    if (engine::isLineBreakChar(c.ch)) {
      cursor.insertBlock();
      position += 1;
    } else {
      std::string utf8;
      engine::appendUtf8(utf8, c.ch);
      const QString text = QString::fromStdString(utf8);
      cursor.insertText(text, format);
      position += static_cast<int>(text.size());
    }
  }
  documentPositions_.push_back(position);
  QTextCursor selection(document());
  selection.setPosition(toDocument(box.selStart()));
  selection.setPosition(toDocument(box.selStart() + box.selLength()), QTextCursor::KeepAnchor);
  setTextCursor(selection);
  rendering_ = false;
}

int BoxEdit::toDocument(int boxPosition) const {
  if (documentPositions_.empty()) return 0;
  const auto index =
      static_cast<std::size_t>(std::clamp(boxPosition, 0, static_cast<int>(documentPositions_.size()) - 1));
  return documentPositions_[index];
}

int BoxEdit::toBox(int documentPosition) const {
  // The first box position at or after the document position: the caret never lands
  // between the two halves of a line break.
  const auto found = std::lower_bound(documentPositions_.begin(), documentPositions_.end(), documentPosition);
  return static_cast<int>(found - documentPositions_.begin());
}

void BoxEdit::selectionToBox() {
  if (rendering_) return;
  const QTextCursor cursor = textCursor();
  const int start = toBox(cursor.selectionStart());
  const int end = toBox(cursor.selectionEnd());
  pushing_ = true;
  control_.box().select(start, end - start);
  pushing_ = false;
}

void BoxEdit::replaceSelection(const QString& text) {
  if (control_.box().locked() || !control_.acceptsUser()) return;
  QString plain = text;
  plain.replace("\r\n", "\n");
  plain.replace('\n', "\r\n");
  control_.box().replaceSelection(plain.toStdString());
}

void BoxEdit::erase(bool forward) {
  engine::RichTextBox& box = control_.box();
  if (box.selLength() == 0) {
    const int start = box.selStart();
    const engine::StyledText& chars = box.characters();
    const auto at = [&](int i) { return chars[static_cast<std::size_t>(i)].ch; };
    if (forward) {
      if (start >= box.length()) return;
      const bool pair = at(start) == U'\r' && start + 1 < box.length() && at(start + 1) == U'\n';
      box.select(start, pair ? 2 : 1);
    } else {
      if (start == 0) return;
      const bool pair = start >= 2 && at(start - 1) == U'\n' && at(start - 2) == U'\r';
      box.select(start - (pair ? 2 : 1), pair ? 2 : 1);
    }
  }
  replaceSelection({});
}

void BoxEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    replaceSelection(QApplication::clipboard()->text());
  } else if (event->matches(QKeySequence::Cut)) {
    copy();
    replaceSelection({});
  } else if (event->key() == Qt::Key_Backspace) {
    if (!control_.box().locked()) erase(false);
  } else if (event->key() == Qt::Key_Delete) {
    if (!control_.box().locked()) erase(true);
  } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && control_.multiLine() &&
             !(event->modifiers() & Qt::ControlModifier)) {
    replaceSelection("\n");  // a message's line break; Ctrl+Enter confirms it
  } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
             event->key() == Qt::Key_Escape || event->key() == Qt::Key_Tab ||
             event->key() == Qt::Key_Backtab || formatKey(*event)) {
    event->ignore();  // the window's default and cancel buttons, its format keys, the focus chain
  } else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    replaceSelection(event->text());
  } else {
    QTextEdit::keyPressEvent(event);  // moving the caret, selecting, copying
  }
}

void BoxEdit::focusInEvent(QFocusEvent* event) {
  QTextEdit::focusInEvent(event);
  control_.box().setFocus(true);
}

}  // namespace tessalune::desktop
