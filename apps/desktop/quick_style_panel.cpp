#include "quick_style_panel.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <optional>

#include "engine/colour.h"
#include "engine/gradient.h"
#include "engine/plus_to_styled_text.h"
#include "mnemonics.h"
#include "targets/length_fit.h"
#include "targets/write_target.h"

namespace tessalune::desktop {

namespace {

QString swatchStyle(engine::ColourNumber colour) {
  // For the button alone: a rule for every widget would reach its tooltip too, whose text
  // must keep the palette's tooltip colours.
  return QString("QToolButton { background-color: %1; border: 1px solid #606060; }")
      .arg(QString::fromStdString(engine::rgb2hex(colour)));
}

// The list opens on the table's first target, the host's own codes.
static_assert(targets::kTargets[0].target == targets::Target::Plus);

}  // namespace

QuickStylePanel::QuickStylePanel(QuickStyleHost host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), stops_{0x0000FF, 0xFF0000} {  // red to blue
  setObjectName("quickStyle");
  text_ = new QLineEdit(this);
  text_->setObjectName("quickText");
  stopRow_ = new QHBoxLayout;
  stopRow_->setSpacing(3);
  add_ = new QToolButton(this);
  add_->setObjectName("addStop");
  add_->setText("+");
  remove_ = new QToolButton(this);
  remove_->setObjectName("removeStop");
  remove_->setText("\u2212");
  kind_ = new QComboBox(this);
  kind_->setObjectName("quickKind");
  kind_->addItems({"", "", ""});
  target_ = new QComboBox(this);
  target_->setObjectName("quickTarget");
  target_->addItems({"", ""});
  purpose_ = new QComboBox(this);
  purpose_->setObjectName("quickPurpose");
  purpose_->addItems({"", ""});
  codes_ = new QComboBox(this);
  codes_->setObjectName("quickCodes");
  for (const targets::TargetInfo& info : targets::kTargets)
    codes_->addItem(QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())));
  preview_ = new PlusPreview(
      [this] {
        PreviewResult result = convert(mode(), codes(), true);
        copy_->setEnabled(!result.coded.empty());  // Copy is there for a result on show
        return result;
      },
      host_.texts, this);
  useAsNickname_ = new QPushButton(this);
  useAsNickname_->setObjectName("useAsNickname");
  send_ = new QPushButton(this);
  send_->setObjectName("send");
  copy_ = new QPushButton(this);
  copy_->setObjectName("copy");
  copy_->setEnabled(false);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 6, 6, 6);
  textLabel_ = new QLabel(this);
  coloursLabel_ = new QLabel(this);
  styleLabel_ = new QLabel(this);
  // A list box is named by the label that has it as its buddy (on Linux its name is its
  // value): the shape's is the row's label, the other two have labels only a screen reader sees.
  styleLabel_->setBuddy(kind_);
  targetLabel_ = new QLabel(this);
  targetLabel_->setBuddy(target_);
  targetLabel_->hide();
  purposeLabel_ = new QLabel(this);
  purposeLabel_->setBuddy(purpose_);
  purposeLabel_->hide();
  codesLabel_ = new QLabel(this);
  codesLabel_->setBuddy(codes_);
  codesLabel_->hide();
  grid->addWidget(textLabel_, 0, 0);
  grid->addWidget(text_, 0, 1, 1, 4);
  grid->addWidget(coloursLabel_, 1, 0);
  auto* stopsLine = new QHBoxLayout;
  stopsLine->addLayout(stopRow_);
  stopsLine->addWidget(add_);
  stopsLine->addWidget(remove_);
  stopsLine->addStretch(1);
  grid->addLayout(stopsLine, 1, 1, 1, 4);
  grid->addWidget(styleLabel_, 2, 0);
  grid->addWidget(kind_, 2, 1);
  grid->addWidget(target_, 2, 2);
  grid->addWidget(purpose_, 2, 3);
  grid->addWidget(codes_, 2, 4);
  grid->addWidget(preview_, 3, 0, 1, 5);
  auto* actions = new QHBoxLayout;
  actions->addStretch(1);
  actions->addWidget(useAsNickname_);
  actions->addWidget(send_);
  actions->addWidget(copy_);
  grid->addLayout(actions, 4, 0, 1, 5);
  grid->setColumnStretch(1, 1);
  retranslate();

  connect(text_, &QLineEdit::textChanged, this, [this] { changed(); });
  connect(add_, &QToolButton::clicked, this, [this] { addStop(); });
  connect(remove_, &QToolButton::clicked, this, [this] { removeStop(); });
  for (QComboBox* box : {kind_, target_, purpose_, codes_}) {
    // Wide enough for its entries in the language they are in now, not the first one shown.
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      showStops();
      showCodes();
      changed();
    });
  }
  connect(useAsNickname_, &QPushButton::clicked, this, [this] { useAsNickname(); });
  connect(send_, &QPushButton::clicked, this, [this] { send(); });
  connect(copy_, &QPushButton::clicked, this, [this] { copy(); });
  showStops();
  showCodes();
}

void QuickStylePanel::addStop() {
  if (stops_.size() >= engine::kMaxGradientStops) return;
  stops_.push_back(stops_.back());
  showStops();
  changed();
}

void QuickStylePanel::removeStop() {
  if (stops_.size() <= engine::kMinGradientStops) return;
  stops_.pop_back();
  showStops();
  changed();
}

void QuickStylePanel::setStop(std::size_t index, engine::ColourNumber colour) {
  if (index >= stops_.size()) return;
  stops_[index] = colour & engine::kRgbMask;
  showStops();
  changed();
}

void QuickStylePanel::setKind(Kind kind) {
  kind_->setCurrentIndex(static_cast<int>(kind));
}
void QuickStylePanel::setTarget(Target target) {
  target_->setCurrentIndex(static_cast<int>(target));
}
void QuickStylePanel::setPurpose(Purpose purpose) {
  purpose_->setCurrentIndex(static_cast<int>(purpose));
}
void QuickStylePanel::setCodes(targets::Target codes) {
  for (std::size_t i = 0; i < std::size(targets::kTargets); ++i) {
    if (targets::kTargets[i].target == codes) codes_->setCurrentIndex(static_cast<int>(i));
  }
}
targets::Target QuickStylePanel::codes() const {
  const int index = codes_->currentIndex();
  return index >= 0 ? targets::kTargets[static_cast<std::size_t>(index)].target : targets::kTargets[0].target;
}

engine::EditorMode QuickStylePanel::mode() const {
  return purpose_->currentIndex() == static_cast<int>(Purpose::Message) ? engine::EditorMode::Text
                                                                        : engine::EditorMode::Nickname;
}

// The purposes with the chosen codes' limits; the host's buttons while they are Plus! codes.
void QuickStylePanel::showCodes() {
  const targets::TargetInfo& info = targets::targetInfo(codes());
  purpose_->setItemText(
      0, host_.texts(HostText::NicknameLimit, limitText(host_.texts, info.unit, info.nicknameLimit)));
  purpose_->setItemText(
      1, host_.texts(HostText::MessageLimit, limitText(host_.texts, info.unit, info.messageLimit)));
  const bool plus = info.target == targets::Target::Plus;
  useAsNickname_->setEnabled(plus);
  send_->setEnabled(plus);
}

// The colour buttons: the chosen stops, or the rainbow's, which cannot be changed.
void QuickStylePanel::showStops() {
  const bool rainbow = kind_->currentIndex() == static_cast<int>(Kind::Rainbow);
  const std::vector<engine::ColourNumber> shown =
      rainbow ? std::vector<engine::ColourNumber>(engine::kRainbowStops.begin(), engine::kRainbowStops.end())
              : stops_;
  while (stopButtons_.size() < shown.size()) {
    auto* button = new QToolButton(this);
    const std::size_t index = stopButtons_.size();
    button->setObjectName(QString("stop%1").arg(index + 1));
    button->setFixedSize(22, 22);
    connect(button, &QToolButton::clicked, this, [this, index] {
      if (const auto colour = host_.dialogs.chooseColour(stops_[index])) setStop(index, *colour);
    });
    stopRow_->addWidget(button);
    stopButtons_.push_back(button);
  }
  for (std::size_t i = 0; i < stopButtons_.size(); ++i) {
    QToolButton* button = stopButtons_[i];
    button->setVisible(i < shown.size());
    button->setEnabled(!rainbow);
    if (i < shown.size()) {
      button->setStyleSheet(swatchStyle(shown[i]));
      const QString code = QString::fromStdString(engine::rgb2hex(shown[i]));
      button->setToolTip(code);
      button->setAccessibleName(host_.texts(HostText::StopOf).arg(i + 1).arg(shown.size()));
      button->setAccessibleDescription(host_.texts.colourName(code));
    }
  }
  add_->setEnabled(!rainbow && stops_.size() < engine::kMaxGradientStops);
  remove_->setEnabled(!rainbow && stops_.size() > engine::kMinGradientStops);
}

engine::SideStyle QuickStylePanel::gradient() const {
  engine::SideStyle style;
  style.kind = engine::SideStyle::Kind::Stops;
  if (kind_->currentIndex() == static_cast<int>(Kind::Rainbow)) {
    style.gradient.stops.assign(engine::kRainbowStops.begin(), engine::kRainbowStops.end());
  } else {
    style.gradient.stops = stops_;
    if (kind_->currentIndex() == static_cast<int>(Kind::Mirrored))
      style.gradient.kind = engine::GradientKind::Mirrored;
  }
  return style;
}

PreviewResult QuickStylePanel::convert(engine::EditorMode mode, targets::Target codes,
                                       bool stopAtWatchdog) const {
  const errors::MessageTexts& messages = host_.messages();
  const std::optional<engine::LengthFit> fit = targets::lengthFit(codes, mode);
  plugin::SilentConversion conversion(messages, {mode, false, true, stopAtWatchdog, fit ? &*fit : nullptr});
  engine::SideStyle black;
  black.kind = engine::SideStyle::Kind::Solid;
  const bool onText = target_->currentIndex() == static_cast<int>(Target::Text);
  const std::string text = text_->text().toStdString();
  std::string coded = onText ? conversion.colour(text, gradient(), engine::SideStyle{})
                             : conversion.colour(text, black, gradient());
  PreviewResult result = previewOf(conversion, messages, std::move(coded), targets::targetLimit(codes, mode));
  const targets::TargetInfo& info = targets::targetInfo(codes);
  result.unit = info.unit;
  if (!result.coded.empty()) result.written = targets::writeTarget(codes, result.coded);
  // The preview shows the backgrounds that codes without any leave out: said, unless the
  // conversion has something to say itself.
  if (!info.backgrounds && engine::hasBackgroundCode(result.coded) && result.said.empty()) {
    const QString name = QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size()));
    result.said = host_.texts(HostText::NoBackgrounds, name).toStdString();
  }
  return result;
}

void QuickStylePanel::changed() {
  preview_->changed();
}

void QuickStylePanel::useAsNickname() {
  const PreviewResult result = convert(engine::EditorMode::Nickname, targets::Target::Plus, false);
  if (result.coded.empty()) {
    if (!result.message.empty()) host_.dialogs.message(result.message, platform::Icon::Exclamation);
    return;
  }
  host_.deliver("/nick2 " + result.coded);
}

void QuickStylePanel::send() {
  const PreviewResult result = convert(engine::EditorMode::Text, targets::Target::Plus, false);
  if (result.coded.empty()) {
    if (!result.message.empty()) host_.dialogs.message(result.message, platform::Icon::Exclamation);
    return;
  }
  host_.deliver(result.coded);
}

// The result in the chosen codes, as the preview shows it, but going on where the watchdog
// would ask, as Send does. The desktop has no clipboard service of the plug-in's: Qt's is
// the platform's.
void QuickStylePanel::copy() {
  const PreviewResult result = convert(mode(), codes(), false);
  if (result.coded.empty()) {
    if (!result.message.empty()) host_.dialogs.message(result.message, platform::Icon::Exclamation);
    return;
  }
  QGuiApplication::clipboard()->setText(QString::fromStdString(result.written));
}

void QuickStylePanel::retranslate() {
  const HostTexts& t = host_.texts;
  text_->setPlaceholderText(t(HostText::TextToColour));
  add_->setToolTip(t(HostText::AddColour));
  remove_->setToolTip(t(HostText::RemoveColour));
  // Named for a screen reader by what they do, not by their glyphs or values.
  const auto withoutColon = [](QString caption) {
    caption = caption.trimmed();
    while (caption.endsWith(':') || caption.endsWith(QChar(0xA0)) || caption.endsWith(' ')) caption.chop(1);
    return caption;
  };
  add_->setAccessibleName(t(HostText::AddColour));
  remove_->setAccessibleName(t(HostText::RemoveColour));
  text_->setAccessibleName(withoutColon(t(HostText::TextLabel)));
  text_->setAccessibleDescription(t(HostText::TextToColour));
  kind_->setAccessibleName(withoutColon(t(HostText::StyleLabel)));
  target_->setAccessibleName(t(HostText::AppliesTo));
  targetLabel_->setText(t(HostText::AppliesTo));
  purpose_->setAccessibleName(t(HostText::LengthLimit));
  purposeLabel_->setText(t(HostText::LengthLimit));
  codes_->setAccessibleName(t(HostText::Codes));
  codesLabel_->setText(t(HostText::Codes));
  // Plus! codes in the host's words; the other targets by the names they have everywhere.
  for (std::size_t i = 0; i < std::size(targets::kTargets); ++i) {
    if (targets::kTargets[i].target == targets::Target::Plus)
      codes_->setItemText(static_cast<int>(i), t(HostText::PlusCodes));
  }
  int i = 0;
  for (HostText kind : {HostText::Linear, HostText::Mirrored, HostText::Rainbow})
    kind_->setItemText(i++, t(kind));
  target_->setItemText(0, t(HostText::TextColour));
  target_->setItemText(1, t(HostText::Background));
  useAsNickname_->setText(t(HostText::UseAsNickname));
  send_->setText(t(HostText::Send));
  // Copy's access key is one the window's menu bar leaves free, in the language spoken now.
  QSet<QChar> taken;
  if (auto* main = qobject_cast<QMainWindow*>(window()); main && main->menuWidget()) {
    for (QAction* menu : main->menuBar()->actions()) taken.insert(mnemonicOf(menu->text()));
  }
  copy_->setText(withMnemonics({withoutMnemonic(t(HostText::CopyText))}, taken).first());
  textLabel_->setText(t(HostText::TextLabel));
  coloursLabel_->setText(t(HostText::ColoursLabel));
  styleLabel_->setText(t(HostText::StyleLabel));
  preview_->refresh();
  showStops();  // the stops' names
  showCodes();  // the purposes' limits
}

}  // namespace tessalune::desktop
