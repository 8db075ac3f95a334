#include "qt_services.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <algorithm>

namespace tessalune::desktop {

namespace {

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon qtIcon(platform::Icon icon) {
  switch (icon) {
    case platform::Icon::Critical:
      return QMessageBox::Critical;
    case platform::Icon::Exclamation:
      return QMessageBox::Warning;
    case platform::Icon::Question:
      return QMessageBox::Question;
    case platform::Icon::Information:
      return QMessageBox::Information;
    case platform::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Colour numbers are 0x00BBGGRR.
QColor qtColour(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

QWidget* QtDialogs::parentWindow() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  // A box centres on its parent: on a hidden one it would open in a corner of the screen,
  // without one it opens in the screen's middle.
  return fallbackParent && fallbackParent->isVisible() ? fallbackParent : nullptr;
}

platform::Answer QtDialogs::messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                                       platform::Buttons buttons) {
  if (answerMessage) return answerMessage(text);
  const bool yesNo = buttons == platform::Buttons::YesNo;
  QMessageBox box(qtIcon(icon), qt(title), qt(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parentWindow());
  const int pressed = box.exec();
  if (!yesNo) return platform::Answer::Ok;
  return pressed == QMessageBox::Yes ? platform::Answer::Yes : platform::Answer::No;
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial) {
  if (answerColour) return answerColour(initial);
  const QColor chosen = QColorDialog::getColor(qtColour(initial), parentWindow());
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<std::uint32_t>(chosen.red()) | static_cast<std::uint32_t>(chosen.green()) << 8 |
         static_cast<std::uint32_t>(chosen.blue()) << 16;
}

std::string QtDialogs::chooseFile(const platform::FileDialogRequest& request) {
  if (answerFile) return answerFile(request);
  QFileDialog dialog(parentWindow(), qt(request.title), qt(request.initialDirectory));
  dialog.setNameFilter(qt(request.filterDescription) + " (" + qt(request.filterPattern) + ")");
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.open && request.fileMustExist ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(qt(request.defaultExtension));
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

bool QtShell::open(const std::string& target) {
  const QString text = qt(target);
  const QUrl url = text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

std::optional<std::string> QtShell::startMinimized(const std::string& program) {
  QProcess process;
  process.setProgram(qt(program));
  if (process.startDetached()) return std::nullopt;
  return process.errorString().toStdString();
}

int screenTwipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  return std::max(1, static_cast<int>(1440.0 / (dpi > 0 ? dpi : 96.0) + 0.5));
}

}  // namespace tessalune::desktop
