#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "front.h"
#include "platform/shell.h"
#include "purple_texts.h"

namespace tessalune::purple {

// Shows a text to the person in the client (the conversation of the running command).
using Notice = std::function<void(const std::string& text)>;
// The plug-in's own words, in its language.
using Texts = std::function<std::string(PurpleText text, std::string_view argument)>;

// A client without a display (Finch, a headless program): every box is a notice, a question
// takes the answer the plug-in's preference gives and says so, and a window cannot open: the
// notice says so, and the window is left as if cancelled.
class NoticeDialogs : public platform::Dialogs {
 public:
  NoticeDialogs(Notice notice, Texts texts, std::function<bool()> answerYes)
      : notice_(std::move(notice)), texts_(std::move(texts)), answerYes_(std::move(answerYes)) {}

  platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                              platform::Buttons buttons) override;
  std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
  std::string chooseFile(const platform::FileDialogRequest&) override { return {}; }

 private:
  Notice notice_;
  Texts texts_;
  std::function<bool()> answerYes_;
};

// Documents open with the desktop's handler and programs start through glib, which reaps
// them: the client runs for days, and each would stay behind as a zombie otherwise.
class GlibShell : public platform::Shell {
 public:
  bool open(const std::string& target) override { return !spawn({"xdg-open", target}); }
  std::optional<std::string> startMinimized(const std::string& program) override { return spawn({program}); }

 private:
  // The system's reason when the program could not be started.
  static std::optional<std::string> spawn(std::vector<std::string> arguments);
};

class NoticeFront : public Front, private ui::WindowSystem {
 public:
  NoticeFront(Notice notice, Texts texts, std::function<bool()> answerYes)
      : notice_(notice), texts_(texts), dialogs_(std::move(notice), std::move(texts), std::move(answerYes)) {}

  platform::Dialogs& dialogs() override { return dialogs_; }
  ui::WindowSystem& windows() override { return *this; }
  platform::Shell& shell() override { return shell_; }
  void pump() override;
  void closeAll() override {}
  bool showsWindows() const override { return false; }

 private:
  void runModal(ui::Window& window) override;

  Notice notice_;
  Texts texts_;
  NoticeDialogs dialogs_;
  GlibShell shell_;
};

}  // namespace tessalune::purple
