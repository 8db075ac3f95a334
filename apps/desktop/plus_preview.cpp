#include "plus_preview.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "control_widgets.h"
#include "errors/titles.h"
#include "targets/html_render.h"

namespace tessalune::desktop {

namespace {

constexpr int kPauseMilliseconds = 150;

}  // namespace

QString plusToHtml(const std::string& plus) {
  // Its default text is black, as on the light paper it is made for.
  return "<span style=\"color:#000000\">" + QString::fromStdString(targets::renderPlusHtml(plus)) + "</span>";
}

PreviewResult previewOf(const plugin::SilentConversion& conversion, const errors::MessageTexts& messages,
                        std::string coded, int limit) {
  PreviewResult result;
  result.coded = std::move(coded);
  result.written = result.coded;
  result.limit = limit;
  result.message = conversion.message();
  result.question = conversion.question();
  result.watchdogAsked = conversion.watchdogAsked();
  // The phrase and the message it introduces make one sentence: both in the message's language.
  const auto introduce = [&](HostText phrase, const std::string& message) {
    return errors::withValue(messages.message(static_cast<int>(phrase)), message);
  };
  if (!result.question.empty()) {
    result.said = introduce(HostText::OkWouldAsk, result.question);
  } else if (!result.message.empty()) {
    result.said = introduce(HostText::OkWouldSay, result.message);
  }
  return result;
}

QString limitText(const HostTexts& texts, targets::Unit unit, int limit) {
  if (limit <= 0) return texts(HostText::NoLimit);
  const QString number = QString::number(limit);
  return unit == targets::Unit::Utf8Bytes ? texts(HostText::Bytes, number) : number;
}

PlusPreview::PlusPreview(std::function<PreviewResult()> convert, const HostTexts& texts, QWidget* parent)
    : QWidget(parent), convert_(std::move(convert)), texts_(texts) {
  setObjectName("preview");
  result_ = new QTextBrowser(this);
  result_->setObjectName("previewResult");
  result_->setFrameShape(QFrame::StyledPanel);
  result_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  result_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Its text never widens the window: it takes the width it is given, two lines high.
  result_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  result_->setFixedHeight(2 * result_->fontMetrics().lineSpacing() + 12);
  showOnLightPaper(*result_);
  count_ = new QLabel(this);
  count_->setObjectName("previewCount");
  note_ = new QLabel(this);
  note_->setObjectName("previewNote");
  note_->setWordWrap(true);
  auto* line = new QHBoxLayout;
  line->addWidget(note_, 1);
  line->addWidget(count_, 0, Qt::AlignRight | Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(2);
  layout->addWidget(result_);
  layout->addLayout(line);
  timer_.setSingleShot(true);
  timer_.setInterval(kPauseMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] { refresh(); });
}

void PlusPreview::changed() {
  timer_.start();  // a pending conversion is put off, never doubled
}

void PlusPreview::refresh() {
  timer_.stop();
  ++conversions_;
  const PreviewResult shown = convert_();
  shown_ = shown.coded.empty() ? QString() : plusToHtml(shown.coded);
  result_->setHtml(shown_);
  result_->setAccessibleName(texts_(HostText::Preview));  // in the language spoken now
  // The unit is said once: with the limit, or with the length when there is no limit.
  const QString length = QString::number(targets::measure(shown.unit, shown.written));
  const bool unitWithLength = shown.limit <= 0 && shown.unit == targets::Unit::Utf8Bytes;
  count_->setText(QString("%1 / %2").arg(unitWithLength ? texts_(HostText::Bytes, length) : length,
                                         limitText(texts_, shown.unit, shown.limit)));
  QString note;
  if (shown.watchdogAsked) {
    note = texts_(HostText::StoppedAtWatchdog);
  } else {
    note = QString::fromStdString(shown.said);
  }
  note_->setText(note);
}

}  // namespace tessalune::desktop
