#include "box_edit.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "control_widgets.h"

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

QTextCharFormat charFormat(const engine::CharFormat& format) {
  QTextCharFormat shown;
  shown.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
  shown.setFontItalic(format.italic);
  shown.setFontUnderline(format.underline);
  shown.setFontStrikeOut(format.strike);
  shown.setForeground(format.textColour ? qtColour(*format.textColour) : QColor(Qt::black));
  if (format.background) shown.setBackground(qtColour(*format.background));
  return shown;
}

constexpr QChar kWordJoiner(0x2060);

}  // namespace

QMimeData* BoxEdit::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(textCursor().selectedText().remove(kWordJoiner).replace(QChar::ParagraphSeparator, "\n"));
  return data;
}

BoxEdit::BoxEdit(ui::RichTextControl& control, const HostTexts* texts, QWidget* parent)
    : QTextEdit(parent), control_(control), texts_(texts) {
  setUndoRedoEnabled(false);
  control_.box().keepHistory(true);  // a person edits it
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
  // One edit for the whole text, one insertion per run of one format: inserting character by
  // character lays the document out again each time, which a long paste cannot afford.
  cursor.beginEditBlock();
  documentPositions_.clear();
  const engine::StyledText& chars = box.characters();
  documentPositions_.reserve(chars.size() + 1);
  int position = 0;
  QString run;  // characters waiting to go in with runFormat
  engine::CharFormat runFormat;
  const auto flush = [&] {
    if (run.isEmpty()) return;
    cursor.insertText(run, charFormat(runFormat));
    run.clear();
  };
  for (std::size_t i = 0; i < chars.size(); ++i) {
    documentPositions_.push_back(position);
    const char32_t ch = chars.charAt(i);
    if (ch == U'\r' && i + 1 < chars.size() && chars.charAt(i + 1) == U'\n')
      continue;  // the pair is one break
    if (engine::isLineBreakChar(ch)) {
      flush();
      cursor.insertBlock();
      position += 1;
      continue;
    }
    const engine::CharFormat& format = chars.formatAt(i);
    if (!run.isEmpty() && !(format == runFormat)) flush();
    if (run.isEmpty()) runFormat = format;
    const qsizetype before = run.size();
    if (ch > 0xFFFF && ch <= 0x10FFFF) {
      run += QChar(QChar::highSurrogate(ch));
      run += QChar(QChar::lowSurrogate(ch));
    } else {
      run += QChar(ch <= 0xFFFF ? static_cast<char16_t>(ch) : u'\uFFFD');
    }
    // A slash command is one word: a word joiner keeps a line from ending at
    // its slash. It is the document's alone: positions, copies and the box leave it out.
    if (ch == U'/' && i + 1 < chars.size() && QChar::isLetter(chars.charAt(i + 1))) run += kWordJoiner;
    position += static_cast<int>(run.size() - before);  // the document counts UTF-16 units
  }
  flush();
  cursor.endEditBlock();
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

void BoxEdit::undo() {
  control_.userUndo();
}

void BoxEdit::redo() {
  control_.userRedo();
}

void BoxEdit::replaceSelection(const QString& text) {
  QString plain = text;
  plain.replace("\r\n", "\n");
  plain.replace('\n', "\r\n");
  control_.userReplaceSelection(plain.toStdString());
}

void BoxEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    undo();
  } else if (event->matches(QKeySequence::Redo) ||
             event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
    redo();
  } else if (event->matches(QKeySequence::Paste)) {
    replaceSelection(QApplication::clipboard()->text());
  } else if (event->matches(QKeySequence::Cut)) {
    copy();
    replaceSelection({});
  } else if (event->key() == Qt::Key_Backspace) {
    control_.userErase(false);
  } else if (event->key() == Qt::Key_Delete) {
    control_.userErase(true);
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

void BoxEdit::contextMenuEvent(QContextMenuEvent* event) {
  editMenu()->exec(event->globalPos());
}

// The desktop's edit menu, each entry acting through the box as its key does.
std::unique_ptr<QMenu> BoxEdit::editMenu() {
  const auto word = [this](HostText text, const char* qtWord) {
    return texts_ ? (*texts_)(text) : QTextEdit::tr(qtWord);
  };
  const bool canEdit = control_.userEditable();
  const bool selected = textCursor().hasSelection();
  auto menu = std::make_unique<QMenu>(this);
  const auto add = [&](HostText text, const char* qtWord, QKeySequence::StandardKey key, bool enabled,
                       auto act) {
    QAction* action = menu->addAction(word(text, qtWord), this, act);
    action->setShortcut(key);
    action->setEnabled(enabled);
    return action;
  };
  add(HostText::Undo, "&Undo", QKeySequence::Undo, canEdit && control_.box().canUndo(), [this] { undo(); });
  add(HostText::Redo, "&Redo", QKeySequence::Redo, canEdit && control_.box().canRedo(), [this] { redo(); });
  menu->addSeparator();
  add(HostText::Cut, "Cu&t", QKeySequence::Cut, canEdit && selected, [this] {
    copy();
    replaceSelection({});
  });
  add(HostText::CopyText, "&Copy", QKeySequence::Copy, selected, [this] { copy(); });
  add(HostText::Paste, "&Paste", QKeySequence::Paste, canEdit && !QApplication::clipboard()->text().isEmpty(),
      [this] { replaceSelection(QApplication::clipboard()->text()); });
  add(HostText::Delete, "Delete", QKeySequence::Delete, canEdit && selected,
      [this] { replaceSelection({}); });
  menu->addSeparator();
  add(HostText::SelectAll, "Select All", QKeySequence::SelectAll, control_.box().length() > 0,
      [this] { selectAll(); });
  return menu;
}

void BoxEdit::focusInEvent(QFocusEvent* event) {
  QTextEdit::focusInEvent(event);
  control_.box().setFocus(true);
}

namespace {

// The box's text as a screen reader counts it (UTF-16 units, a line break one "\n"), with
// the offset of every box position and of the end.
struct ReadText {
  QString text;
  std::vector<int> offsets;

  explicit ReadText(const engine::RichTextBox& box) {
    const engine::StyledText& chars = box.characters();
    offsets.reserve(chars.size() + 1);
    for (std::size_t i = 0; i < chars.size(); ++i) {
      offsets.push_back(static_cast<int>(text.size()));
      const char32_t ch = chars.charAt(i);
      if (ch == U'\r' && i + 1 < chars.size() && chars.charAt(i + 1) == U'\n') continue;
      if (engine::isLineBreakChar(ch)) {
        text += '\n';
      } else if (ch > 0xFFFF && ch <= 0x10FFFF) {
        text += QChar(QChar::highSurrogate(ch));
        text += QChar(QChar::lowSurrogate(ch));
      } else {
        text += QChar(ch <= 0xFFFF ? static_cast<char16_t>(ch) : u'\uFFFD');
      }
    }
    offsets.push_back(static_cast<int>(text.size()));
  }
  int offsetOf(int boxPosition) const {
    return offsets[static_cast<std::size_t>(
        std::clamp(boxPosition, 0, static_cast<int>(offsets.size()) - 1))];
  }
  // The first box position at or after the offset, never inside a line break's pair; an
  // offset past the end is the end.
  int boxPositionOf(int offset) const {
    const auto found = std::lower_bound(offsets.begin(), offsets.end(), offset);
    return static_cast<int>(std::min(found, offsets.end() - 1) - offsets.begin());
  }
};

}  // namespace

class BoxAccessible : public QAccessibleWidget,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface {
 public:
  explicit BoxAccessible(BoxEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText), edit_(*edit) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface && edit_.control_.userEditable())
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = edit_.control_.userEditable();
    s.readOnly = !s.editable;
    s.multiLine = edit_.control_.multiLine();
    s.selectableText = true;
    s.focusable = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return read().text;
    return QAccessibleWidget::text(t);
  }

  // Reading.
  QString text(int startOffset, int endOffset) const override {
    return read().text.mid(startOffset, std::max(0, endOffset - startOffset));
  }
  int characterCount() const override { return static_cast<int>(read().text.size()); }
  int cursorPosition() const override { return read().offsetOf(edit_.toBox(edit_.textCursor().position())); }
  int selectionCount() const override { return box().selLength() > 0 ? 1 : 0; }
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || box().selLength() <= 0) return;
    const ReadText shown = read();
    *startOffset = shown.offsetOf(box().selStart());
    *endOffset = shown.offsetOf(box().selStart() + box().selLength());
  }
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = offset;
    *endOffset = offset;
    return {};
  }
  QRect characterRect(int offset) const override {
    QTextCursor at(edit_.document());
    at.setPosition(
        std::min(edit_.toDocument(read().boxPositionOf(offset)), edit_.document()->characterCount() - 1));
    QRect rect = edit_.cursorRect(at);
    const QString after = text(offset, offset + 1);
    rect.setWidth(std::max(1, edit_.fontMetrics().horizontalAdvance(after)));
    return QRect(edit_.viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QTextCursor at = edit_.cursorForPosition(edit_.viewport()->mapFromGlobal(point));
    return read().offsetOf(edit_.toBox(at.position()));
  }

  // Choosing: through the box, which the view follows.
  void setCursorPosition(int position) override { select(position, position); }
  void addSelection(int startOffset, int endOffset) override { select(startOffset, endOffset); }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex == 0) select(startOffset, endOffset);
  }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) box().select(box().selStart(), 0);
  }
  void scrollToSubstring(int startIndex, int) override {
    const QRect shown = edit_.viewport()->rect();
    const QRect rect = characterRect(startIndex).translated(-edit_.viewport()->mapToGlobal(QPoint(0, 0)));
    if (!shown.contains(rect.topLeft())) {
      QScrollBar* bar = edit_.verticalScrollBar();
      bar->setValue(bar->value() + rect.top() - shown.height() / 2);
    }
  }

  // Editing: as typing over a selection does, with the box's limits and refusals.
  void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    if (!edit_.control_.userEditable()) return;
    select(startOffset, endOffset);
    edit_.replaceSelection(text);
  }

 private:
  engine::RichTextBox& box() const { return edit_.control_.box(); }
  ReadText read() const { return ReadText(box()); }
  void select(int startOffset, int endOffset) {
    const ReadText shown = read();
    const int start = shown.boxPositionOf(std::min(startOffset, endOffset));
    const int end = shown.boxPositionOf(std::max(startOffset, endOffset));
    box().select(start, end - start);
  }

  BoxEdit& edit_;
};

QAccessibleInterface* boxAccessible(QObject* object) {
  auto* edit = dynamic_cast<BoxEdit*>(object);
  return edit ? new BoxAccessible(edit) : nullptr;
}

}  // namespace tessalune::desktop
