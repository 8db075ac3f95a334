#pragma once

#include <QWidget>
#include <functional>

#include "platform/dialogs.h"
#include "platform/shell.h"

namespace tessalune::desktop {

// Message boxes, the colour dialog and the file dialogs as Qt shows them, over the window
// that is active when they open.
class QtDialogs : public platform::Dialogs {
 public:
  platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                              platform::Buttons buttons) override;
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::string chooseFile(const platform::FileDialogRequest& request) override;

  // Tests answer the dialogs instead of a person: each hook, when set, is asked first.
  std::function<platform::Answer(std::string_view text)> answerMessage;
  std::function<std::optional<std::uint32_t>(std::uint32_t)> answerColour;
  std::function<std::string(const platform::FileDialogRequest&)> answerFile;

  // The window a dialog stands over when no window of the program is active (the host's).
  QWidget* fallbackParent = nullptr;

 private:
  // The window a dialog is centred on: the modal window on show, else the active one.
  QWidget* parentWindow() const;
};

// Documents and addresses open with the desktop's handler; programs start detached.
class QtShell : public platform::Shell {
 public:
  bool open(const std::string& target) override;
  std::optional<std::string> startMinimized(const std::string& program) override;
};

// The screen's twips per pixel: 1440 twips an inch over its dots per inch (15 at 96).
int screenTwipsPerPixel();

}  // namespace tessalune::desktop
