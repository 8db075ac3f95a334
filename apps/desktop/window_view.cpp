#include "window_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "access_keys.h"
#include "box_edit.h"
#include "contrast.h"
#include "focus_ring.h"
#include "ui/controls.h"
#include "ui/gdi/system_colours.h"

namespace tessalune::desktop {

namespace {

QString qt(const std::string& text) {
  return QString::fromStdString(text);
}

// A slash command is one word: no line may end at its slash.
QString keepCommandsWhole(QString text) {
  static const QChar kWordJoiner(0x2060);
  for (qsizetype i = text.indexOf('/'); i >= 0 && i + 1 < text.size(); i = text.indexOf('/', i + 1)) {
    if (text[i + 1].isLetter()) text.insert(i + 1, kWordJoiner);
  }
  return text;
}

using ui::isSystemColour;

// The controls without a caption of their own, named for a screen reader by the caption of
// the control that tells what they hold: a box by its label or frame, a tick box by the tab
// it stands on. "" names the window's caption.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kNamedBy = {{
    {"btnSolid_nick", "opt_solid_nick"},
    {"btnSolid_nickBG", "opt_solid_nickBG"},
    {"btnSolid_text", "opt_solid_text"},
    {"btnSolid_textBG", "opt_solid_textBG"},
    {"rtf_nick", "grp_nick"},
    {"rtf_text", "grp_nick"},
    {"combo_lang", "lbl_lang"},
    {"txt_shortcut", "lbl_shortcutTitle"},
    {"rtf_quicknick", "lbl_quicknick"},
    {"chkNick", "btnNick_label"},
    {"chkText", "btnText_label"},
    {"rtfHelp", ""},
}};

// A caption as a name: without its mnemonic marker, its closing colon and spaces.
QString asName(const std::string& caption) {
  QString name = QString::fromStdString(caption).remove('&').trimmed();
  while (name.endsWith(':') || name.endsWith(QChar(0xA0)) || name.endsWith(' ')) name.chop(1);
  return name;
}

template <typename T>
T& model(ui::Control& control) {
  return static_cast<T&>(control);  // the kind says which model class the control is
}

}  // namespace

WindowView::WindowView(ui::Window& window, ViewContext context, QWidget* parent)
    : QDialog(parent), window_(window), context_(std::move(context)) {
  setObjectName(qt(window.name()));
  setModal(true);
  // The windows were laid out for the classic 8-point dialog font.
  QFont dialogFont = font();
  dialogFont.setPointSize(8);
  setFont(dialogFont);
  // Before any widget: a widget a screen reader meets while it is built (disabled at once)
  // gets its interface from the factory, not a nameless one that would stay.
  installAccessibility();
  installFocusRings();
  for (ui::Control* c : window.controls()) widgets_[c] = create(*c);
  // Parents once every widget exists: a control may be registered before its container.
  for (ui::Control* c : window.controls()) {
    ui::Control* holder = c->container();
    QWidget* parentWidget = holder && holder != &window ? widgets_.at(holder) : this;
    widgets_[c]->setParent(parentWidget);
    // A banner's title stands out.
    if (auto* label = qobject_cast<QLabel*>(widgets_[c]);
        label && holder && holder->kind() == ui::ControlKind::Banner && c->kind() == ui::ControlKind::Label) {
      QFont title = label->font();
      title.setPointSize(11);
      title.setBold(true);
      label->setFont(title);
    }
    // A caption on a button or tab stands in its middle.
    if (auto* label = qobject_cast<QLabel*>(widgets_[c]);
        label && holder &&
        (holder->kind() == ui::ControlKind::OwnerDrawnButton || holder->kind() == ui::ControlKind::Tab)) {
      label->setAlignment(Qt::AlignCenter);
    }
  }
  for (ui::Control* c : window.controls()) forceTextOnPaintedFace(*widgets_.at(c));
  for (ui::Control* c : window.controls()) {
    applyAll(*c);
    subscriptions_.push_back(
        c->subscribe([this](ui::Control& changed, ui::Property p) { apply(changed, p); }));
  }
  subscriptions_.push_back(window.subscribe([this](ui::Control&, ui::Property p) {
    if (p == ui::Property::Caption) {
      setWindowTitle(qt(window_.caption()));
      nameForScreenReaders();
    }
    if (p == ui::Property::Rect) fitToWindow();
  }));
  setWindowTitle(qt(window.caption()));
  nameForScreenReaders();
  fitToWindow();
  accessKeys_ = new AccessKeys(window_, widgets_, this);
  accessKeys_->mark();

  // The painted controls a person acts on take the keyboard as the others do.
  QWidget* previous = nullptr;
  for (ui::Control* c : window.tabOrder()) {
    QWidget* w = widgets_.at(c);
    if (dynamic_cast<MouseForwarding*>(w)) w->setFocusPolicy(Qt::TabFocus);
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
  // A grid of swatches or a column of presets is one Tab stop: its first element, until
  // another takes the focus.
  const std::vector<ui::Control*> order = window.tabOrder();
  for (auto c = order.rbegin(); c != order.rend(); ++c) takeTabStop(*widgets_.at(*c), **c);
}

QWidget* WindowView::create(ui::Control& c) {
  QWidget* widget = nullptr;
  switch (c.kind()) {
    case ui::ControlKind::Label:
    case ui::ControlKind::Link:
      widget = new ClickLabel(c, this);
      break;
    case ui::ControlKind::TextBox: {
      auto* edit = new QLineEdit(this);
      connect(edit, &QLineEdit::textEdited, this, [&c, edit](const QString& text) {
        model<ui::TextBox>(c).userType(text.toStdString());
        if (edit->text().toStdString() != model<ui::TextBox>(c).text())
          edit->setText(qt(model<ui::TextBox>(c).text()));
      });
      widget = edit;
      break;
    }
    case ui::ControlKind::RichTextBox:
      widget = new BoxEdit(model<ui::RichTextControl>(c), context_.texts, this);
      break;
    case ui::ControlKind::CheckBox: {
      auto* box = new QCheckBox(this);
      connect(box, &QCheckBox::clicked, this, [this, &c](bool checked) {
        model<ui::CheckBox>(c).userCheck(checked);
        applyAll(c);  // a refused tick goes back
      });
      widget = box;
      break;
    }
    case ui::ControlKind::Option: {
      auto* option = new QRadioButton(this);
      // The model's groups decide, not the widgets' parents: each is a button group that
      // leaves the choosing to the model, and makes the group one Tab stop (the selected
      // option) with the arrow keys inside.
      const ui::OptionGroup* group = &model<ui::OptionButton>(c).group();
      QButtonGroup*& buttons = optionGroups_[group];
      if (!buttons) {
        buttons = new QButtonGroup(this);
        buttons->setExclusive(false);
      }
      buttons->addButton(option);
      connect(option, &QRadioButton::clicked, this, [this, &c] {
        c.userClick();
        applyAll(c);
      });
      widget = option;
      break;
    }
    case ui::ControlKind::Combo:
    case ui::ControlKind::List: {
      auto* list = new QComboBox(this);
      for (const std::string& entry : model<ui::ComboBox>(c).entries()) list->addItem(qt(entry));
      connect(list, &QComboBox::activated, this, [this, &c](int index) {
        model<ui::ComboBox>(c).userChoose(index);
        applyAll(c);
      });
      widget = list;
      break;
    }
    case ui::ControlKind::Frame: {
      // The classic frame: its line runs through the middle of its caption, so that what
      // the window places below the caption stands inside the line.
      auto* frame = new QGroupBox(this);
      frame->setStyleSheet(
          "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.55em; }"
          "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
      widget = frame;
      break;
    }
    case ui::ControlKind::PushButton: {
      auto* button = new QPushButton(this);
      connect(button, &QPushButton::clicked, this, [&c] { stroke(&c); });
      widget = button;
      break;
    }
    default:
      widget = new DrawnWidget(c, context_, this);
      drawn_.push_back(widget);
      break;
  }
  widget->setObjectName(qt(c.name()));
  return widget;
}

void WindowView::applyAll(ui::Control& c) {
  for (ui::Property p :
       {ui::Property::Rect, ui::Property::Caption, ui::Property::Text, ui::Property::Visible,
        ui::Property::Enabled, ui::Property::Checked, ui::Property::Selection, ui::Property::ListIndex,
        ui::Property::ForeColour, ui::Property::FontWeight, ui::Property::Content}) {
    apply(c, p);
  }
}

void WindowView::apply(ui::Control& c, ui::Property property) {
  QWidget* w = widgets_.at(&c);
  const ui::ControlKind kind = c.kind();
  switch (property) {
    case ui::Property::Rect: {
      const int left = context_.pixels(c.left()), top = context_.pixels(c.top());
      QSize size(context_.pixels(c.left() + c.width()) - left, context_.pixels(c.top() + c.height()) - top);
      // A box without a caption is at least as large as the style draws its box.
      if (kind == ui::ControlKind::CheckBox && c.caption().empty())
        size = size.expandedTo(QSize(w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w),
                                     w->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w)));
      w->setGeometry(QRect(QPoint(left, top), size));
      break;
    }
    case ui::Property::Visible:
      w->setVisible(c.visible());
      break;
    case ui::Property::Enabled:
      w->setEnabled(c.enabled());
      break;
    case ui::Property::Caption:
      if (kind == ui::ControlKind::Label || kind == ui::ControlKind::Frame) nameForScreenReaders();
      if (auto* label = qobject_cast<QLabel*>(w)) label->setText(keepCommandsWhole(qt(c.caption())));
      if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(qt(c.caption()));
      if (auto* frame = qobject_cast<QGroupBox*>(w)) frame->setTitle(qt(c.caption()));
      if (accessKeys_) accessKeys_->mark();
      break;
    case ui::Property::Text:
      if (kind == ui::ControlKind::TextBox) {
        auto* edit = static_cast<QLineEdit*>(w);
        if (edit->text().toStdString() != model<ui::TextBox>(c).text())
          edit->setText(qt(model<ui::TextBox>(c).text()));
      }
      break;
    case ui::Property::Checked:
      if (kind == ui::ControlKind::CheckBox)
        static_cast<QCheckBox*>(w)->setChecked(model<ui::CheckBox>(c).checked());
      break;
    case ui::Property::Selection:
      if (kind == ui::ControlKind::Option) {
        static_cast<QRadioButton*>(w)->setChecked(model<ui::OptionButton>(c).selected());
        // Tab reaches the group at its selected option (its first while none is).
        if (QButtonGroup* group = optionGroups_[&model<ui::OptionButton>(c).group()]) {
          const QList<QAbstractButton*> options = group->buttons();
          const auto selected =
              std::find_if(options.begin(), options.end(), [](QAbstractButton* b) { return b->isChecked(); });
          for (QAbstractButton* b : options) {
            const bool stop = selected == options.end() ? b == options.first() : b == *selected;
            b->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
          }
        }
      }
      break;
    case ui::Property::ListIndex:
      if (kind == ui::ControlKind::Combo || kind == ui::ControlKind::List)
        static_cast<QComboBox*>(w)->setCurrentIndex(model<ui::ComboBox>(c).listIndex());
      break;
    case ui::Property::ForeColour:
      if (kind == ui::ControlKind::Link) {
        QPalette palette = w->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
          palette.setColor(group, QPalette::WindowText, palette.color(group, QPalette::Link));
        w->setPalette(palette);
        break;
      }
      // A system colour on the dialog's own background follows the desktop's palette; on a
      // painted face the face's text colour is already forced.
      if (kind == ui::ControlKind::Label &&
          !(isSystemColour(model<ui::Label>(c).foreColour()) && !onPaintedFace(*w))) {
        // The disabled colour stays the palette's: a label that takes nothing looks it. A colour
        // of the plug-in's own (a failed check's red) keeps its hue and is darkened, or
        // lightened on a dark theme, until it reads against what it stands on.
        QPalette palette = w->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
          QColor shown = context_.colour(model<ui::Label>(c).foreColour());
          if (!onPaintedFace(*w)) shown = readableOn(shown, groundOf(*w, group), 4.5);
          palette.setColor(group, QPalette::WindowText, shown);
        }
        w->setPalette(palette);
      } else if (kind == ui::ControlKind::Label) {
        w->setPalette(QPalette());  // back to the desktop's, after a colour of its own
      }
      break;
    case ui::Property::FontWeight:
      if (kind == ui::ControlKind::Label) {
        QFont font = w->font();
        font.setBold(model<ui::Label>(c).bold());
        w->setFont(font);
      }
      break;
    case ui::Property::Content:
      if (kind == ui::ControlKind::RichTextBox) {
        static_cast<BoxEdit*>(w)->render();
        // The format toggles show the selection's formats.
        if (context_.toggled) repaintDrawn();
      }
      break;
    default:
      w->update();  // colours and looks: the widget paints them from the model
      break;
  }
}

// A window with a text box opens with the focus in it, as a dialog opens on what it asks
// for; another on its default button.
void WindowView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  for (ui::Control* c : window_.tabOrder()) {
    if (c->kind() != ui::ControlKind::TextBox && c->kind() != ui::ControlKind::RichTextBox) continue;
    QWidget* w = widgets_.at(c);
    if (w->isVisibleTo(this) && w->isEnabled()) {
      w->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  if (QWidget* button = window_.defaultButton() ? widgets_.at(window_.defaultButton()) : nullptr;
      button && button->isEnabled())
    button->setFocus(Qt::OtherFocusReason);
}

// Names what has no caption of its own: from the table above, and a gradient preset's
// option by its number.
void WindowView::nameForScreenReaders() {
  if (!context_.texts) return;  // a view of its own (a test's) keeps Qt's names
  for (const auto& [named, by] : kNamedBy) {
    const ui::Control* control = window_.find(std::string(named));
    const ui::Control* caption = by.empty() ? &window_ : window_.find(std::string(by));
    if (!control || !caption) continue;
    QWidget* shown = widgets_.at(control);
    shown->setAccessibleName(asName(caption->caption()));
    // A list box is named by its label on Linux, whose screen readers read the relation.
    if (auto* label = qobject_cast<QLabel*>(caption == &window_ ? nullptr : widgets_.at(caption)))
      label->setBuddy(shown);
  }
  for (ui::Control* c : window_.controls()) {
    if (c->kind() == ui::ControlKind::Option && c->caption().empty() && c->index() > 0)
      widgets_.at(c)->setAccessibleName((*context_.texts)(HostText::Gradient, QString::number(c->index())));
  }
}

QColor WindowView::groundOf(const QWidget& widget, QPalette::ColorGroup group) {
  for (const QWidget* w = widget.parentWidget(); w; w = w->parentWidget()) {
    if (w->autoFillBackground() || w->isWindow()) return w->palette().color(group, w->backgroundRole());
  }
  return widget.palette().color(group, QPalette::Window);
}

bool WindowView::onPaintedFace(const QWidget& widget) {
  return dynamic_cast<const DrawnWidget*>(widget.parentWidget()) != nullptr;
}

// A face the plug-in paints keeps its classic colours in every theme: the text on it is
// forced to the classic button text with it, its disabled form to the classic grey, and the
// field of a tick box or option to the classic window white, so that the tick and the dot,
// drawn in the text colour, stand out in a dark theme too.
void WindowView::forceTextOnPaintedFace(QWidget& widget) {
  if (!onPaintedFace(widget)) return;
  QPalette palette = widget.palette();
  // A link keeps the classic blue on a classic face.
  palette.setColor(QPalette::Link, QColor(0, 0, 0xEE));
  const QColor text = context_.colour(ui::gdi::kButtonText);
  const QColor grey = context_.colour(ui::gdi::kButtonShadow);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      palette.setColor(group, role, text);
    palette.setColor(QPalette::Disabled, role, grey);
  }
  const QColor field = context_.colour(ui::gdi::kWindowBackground);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::Base, field);
  widget.setPalette(palette);
}

void WindowView::setFooter(QWidget* footer, int height) {
  footer_ = footer;
  footerHeight_ = height;
  footer->setParent(this);
  fitToWindow();
}

void WindowView::fitToWindow() {
  const int modelHeight = context_.pixels(window_.height());
  const QSize size(context_.pixels(window_.width()), modelHeight + footerHeight_);
  if (footer_) footer_->setGeometry(0, modelHeight, size.width(), footerHeight_);
  if (window_.resizable()) {
    if (this->size() != size) resize(size);
  } else {
    setFixedSize(size);
  }
}

// A resizable window takes the new size and applies its rules; the dialog then follows it.
void WindowView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!window_.resizable()) return;
  window_.userResize(width() * context_.twipsPerPixel, (height() - footerHeight_) * context_.twipsPerPixel);
}

QWidget* WindowView::widgetOf(const ui::Control& control) const {
  const auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second;
}

QWidget* WindowView::widgetOf(const std::string& name) const {
  const ui::Control* control = window_.find(name);
  return control ? widgetOf(*control) : nullptr;
}

void WindowView::repaintDrawn() {
  for (QWidget* widget : drawn_) widget->update();
}

void WindowView::stroke(ui::Control* control) {
  if (control) control->userStroke();
}

// Ctrl+B, I, U and S act as the format buttons of a window that has them (the editor); the
// rich-text boxes leave these keys to the window.
bool WindowView::formatKey(QKeyEvent* event) {
  if (event->modifiers() != Qt::ControlModifier) return false;
  const char* name = nullptr;
  switch (event->key()) {
    case Qt::Key_B:
      name = "btnBold";
      break;
    case Qt::Key_I:
      name = "btnItalic";
      break;
    case Qt::Key_U:
      name = "btnUline";
      break;
    case Qt::Key_S:
      name = "btnSO";
      break;
    default:
      return false;
  }
  ui::Control* button = window_.find(name);
  if (!button) return false;
  stroke(button);
  return true;
}

void WindowView::keyPressEvent(QKeyEvent* event) {
  if (formatKey(event)) return;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (window_.defaultButton()) stroke(window_.defaultButton());
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    window_.userClose();
    return;
  }
  QDialog::keyPressEvent(event);
}

// The title bar's close box does what the window's own Close or Cancel does; the model
// decides whether the window goes.
// A new desktop palette (a theme switched while the window shows): a colour of the plug-in's
// own is fitted again to the ground it now stands on.
void WindowView::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::PaletteChange) return;
  for (ui::Control* c : window_.controls()) {
    if (c->kind() == ui::ControlKind::Label) apply(*c, ui::Property::ForeColour);
  }
}

void WindowView::closeEvent(QCloseEvent* event) {
  event->ignore();
  window_.userClose();
}

}  // namespace tessalune::desktop
