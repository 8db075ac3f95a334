#include "plus_preview.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "control_widgets.h"
#include "engine/utf8.h"
#include "views/html_render.h"

namespace tessalune::desktop {

namespace {

constexpr int kPauseMilliseconds = 150;

}  // namespace

QString plusToHtml(const std::string& plus) {
  // Its default text is black, as on the light paper it is made for.
  return "<span style=\"color:#000000\">" + QString::fromStdString(views::renderPlusHtml(plus)) + "</span>";
}

PreviewResult previewOf(const plugin::SilentConversion& conversion, std::string coded, int limit) {
  return {std::move(coded), limit, conversion.message(), conversion.question(), conversion.watchdogAsked()};
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
  count_->setText(QString("%1 / %2").arg(engine::countChars(shown.coded)).arg(shown.limit));
  QString note;
  if (shown.watchdogAsked) {
    note = texts_(HostText::StoppedAtWatchdog);
  } else if (!shown.question.empty()) {
    note = texts_(HostText::OkWouldAsk, QString::fromStdString(shown.question));
  } else if (!shown.message.empty()) {
    note = texts_(HostText::OkWouldSay, QString::fromStdString(shown.message));
  }
  note_->setText(note);
}

}  // namespace tessalune::desktop
