#include "editor_tooltips.h"

#include <QEvent>
#include <QKeySequence>
#include <QWidget>
#include <array>
#include <string_view>

#include "engine/colour.h"
#include "window_view.h"

namespace tessalune::desktop {

namespace {

struct FormatButton {
  std::string_view name;
  HostText words;
  Qt::Key key;  // with Ctrl, as the window takes it
};

constexpr std::array<FormatButton, 4> kFormatButtons{{
    {"btnBold", HostText::BoldTip, Qt::Key_B},
    {"btnItalic", HostText::ItalicTip, Qt::Key_I},
    {"btnUline", HostText::UnderlineTip, Qt::Key_U},
    {"btnSO", HostText::StrikeTip, Qt::Key_S},
}};

}  // namespace

QString editorToolTip(const ui::Control& control, const HostTexts& texts) {
  for (const FormatButton& button : kFormatButtons) {
    if (control.name() == button.name) {
      return texts(button.words, QKeySequence(Qt::CTRL | button.key).toString(QKeySequence::NativeText));
    }
  }
  if (control.kind() == ui::ControlKind::Swatch) {
    return texts.colourName(QString::fromStdString(engine::rgb2hex(control.backColour())));
  }
  // A preset's frame and preview, named "panelColorFG_grad(3)" and "panelColorFG_grad_rect(3)".
  const std::string& name = control.name();
  const std::size_t open = name.find('(');
  const std::string_view base = std::string_view(name).substr(0, open);
  if (open != std::string::npos && name.ends_with(')') &&
      (base.ends_with("_grad") || base.ends_with("_grad_rect"))) {
    return texts(HostText::Gradient, QString::fromStdString(name.substr(open + 1, name.size() - open - 2)));
  }
  return {};
}

EditorToolTips::EditorToolTips(WindowView& view, const HostTexts& texts)
    : QObject(&view), view_(view), texts_(texts) {
  for (ui::Control* control : view.window().controls()) {
    if (QWidget* widget = view.widgetOf(*control); widget && !editorToolTip(*control, texts).isEmpty())
      widget->installEventFilter(this);
  }
}

bool EditorToolTips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    for (ui::Control* control : view_.window().controls()) {
      if (view_.widgetOf(*control) == watched)
        static_cast<QWidget*>(watched)->setToolTip(editorToolTip(*control, texts_));
    }
  }
  return false;  // the widget shows it
}

}  // namespace tessalune::desktop
