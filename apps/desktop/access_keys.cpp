#include "access_keys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <vector>

#include "mnemonics.h"

namespace tessalune::desktop {

namespace {

// The painted button or tab a caption stands on, or null.
ui::Control* pressedBy(const ui::Control& caption) {
  ui::Control* holder = caption.container();
  if (caption.kind() != ui::ControlKind::Label || !holder) return nullptr;
  return holder->kind() == ui::ControlKind::OwnerDrawnButton || holder->kind() == ui::ControlKind::Tab
             ? holder
             : nullptr;
}

}  // namespace

AccessKeys::AccessKeys(ui::Window& window, const std::map<const ui::Control*, QWidget*>& widgets,
                       QObject* parent)
    : QObject(parent), window_(window), widgets_(widgets) {}

void AccessKeys::mark() {
  std::vector<std::pair<ui::Control*, QWidget*>> marked;
  QStringList captions;
  for (ui::Control* control : window_.controls()) {
    const auto found = widgets_.find(control);
    if (found == widgets_.end() || control->caption().empty()) continue;
    QWidget* widget = found->second;
    const bool button = qobject_cast<QAbstractButton*>(widget) != nullptr;
    ui::Control* pressed = pressedBy(*control);
    if (!button && !pressed) continue;
    marked.emplace_back(control, widget);
    captions << QString::fromStdString(control->caption());
  }
  const QStringList keyed = withMnemonics(captions);
  for (std::size_t i = 0; i < marked.size(); ++i) {
    auto [control, widget] = marked[i];
    const QString& text = keyed[static_cast<qsizetype>(i)];
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      if (button->text() != text) button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      // A buddy shows the key and takes it; the press itself is the button's.
      label->setBuddy(widgets_.at(pressedBy(*control)));
      if (label->text() != text) label->setText(text);
      label->installEventFilter(this);
    }
  }
}

bool AccessKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Shortcut) return false;
  for (const auto& [control, widget] : widgets_) {
    if (widget != watched) continue;
    if (ui::Control* button = pressedBy(*control)) button->userStroke();
    return true;
  }
  return false;
}

}  // namespace tessalune::desktop
