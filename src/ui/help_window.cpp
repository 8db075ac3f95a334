#include "ui/help_window.h"

#include <cerrno>
#include <system_error>

#include "errors/message_ids.h"
#include "errors/titles.h"
#include "lang/languages.h"
#include "platform/file_system.h"

namespace tessalune::ui {

namespace msg = errors::msg;

namespace {

constexpr std::string_view kReadmeExtension = ".rtf";

// The margins that keep the text and the close button inside the window's frame.
constexpr int kTextWidthMargin = 360;
constexpr int kTextHeightMargin = 1110;
constexpr int kCloseLeftMargin = 1455;
constexpr int kCloseTopMargin = 885;
// Where the text starts and the close button's size: both stay inside the margins above.
constexpr int kTextLeft = 120;
constexpr int kTextTop = 120;
constexpr int kCloseWidth = 1215;
constexpr int kCloseHeight = 375;

}  // namespace

HelpWindow::HelpWindow() : Window("frmHelp") {
  add(rtfHelp);
  add(btnClose);
  add(btnClose.label());
  setKeyButtons(&btnClose, &btnClose);

  setCaption("Tessalune");
  btnClose.label().setCaption("Close");
  rtfHelp.box().setLocked(true);  // a document to read, not to edit

  btnClose.setClickHandler([this] { hide(); });
  rtfHelp.move(kTextLeft, kTextTop);
  btnClose.resize(kCloseWidth, kCloseHeight);
  btnClose.label().place(0, OwnerDrawnButton::kLabelTop, kCloseWidth,
                         kCloseHeight - OwnerDrawnButton::kLabelTop);
  resizeTo(kDesignWidth, kDesignHeight);
  bindButtonLook(btnClose);
}

void HelpWindow::registerDrawing(gdi::OwnerDrawing& drawing) {
  attachDrawing(drawing);
  registerButtons({&btnClose});
}

void HelpWindow::resizeTo(int width, int height) {
  resize(width < kMinWidth ? kMinWidth : width, height < kMinHeight ? kMinHeight : height);
  layOut();
}

void HelpWindow::layOut() {
  rtfHelp.resize(width() - kTextWidthMargin, height() - kTextHeightMargin);
  btnClose.move(width() - kCloseLeftMargin, height() - kCloseTopMargin);
}

lang::CaptionList HelpWindow::captionEntries() {
  return {this, &btnClose.label()};
}

std::optional<std::string_view> helpBaseName(int languageIndex) {
  const lang::Language* language = lang::languageAt(languageIndex);
  if (language == nullptr) return std::nullopt;
  return language->helpBase;
}

std::optional<std::filesystem::path> findExactFile(const std::filesystem::path& folder,
                                                   std::string_view name) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string() != name) continue;
    if (it->is_directory(error)) return std::nullopt;
    return it->path();
  }
  return std::nullopt;
}

void btnHelp_Click(HelpWindow& help, int languageIndex, const std::filesystem::path& pluginDir,
                   platform::Dialogs& dialogs, const errors::MessageTexts& messages, WindowSystem& windows) {
  const std::optional<std::string_view> base = helpBaseName(languageIndex);
  if (!base) return;
  const std::string fileName = std::string(*base) + std::string(kReadmeExtension);

  // The name is looked up among the folder's entries rather than opened directly, so that
  // a file whose name differs only in letter case never passes for the readme.
  const std::optional<std::filesystem::path> path = findExactFile(pluginDir / "Tessalune", fileName);
  const platform::FileContents document =
      path ? platform::readFile(platform::systemFileSystem(), *path, kMaxUserGuideBytes)
           : platform::FileContents{{}, ENOENT};
  if (document.error != 0) {
    dialogs.message(errors::withValue(messages.message(msg::kFileMissing), fileName),
                    platform::Icon::Critical);
    return;
  }
  help.rtfHelp.box().setTextRtf(document.bytes);
  help.showModal(windows);
}

}  // namespace tessalune::ui
