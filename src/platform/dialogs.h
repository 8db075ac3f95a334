#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessalune::platform {

enum class Icon { None, Critical, Exclamation, Question, Information };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// What the open and save dialogs are asked for.
struct FileDialogRequest {
  bool open = true;  // open an existing file, else save one
  std::string title;
  std::string filterDescription;  // e.g. "XML Config"
  std::string filterPattern;      // e.g. "*.xml"
  std::string initialDirectory;
  std::string defaultExtension;  // added to a name typed without one
  bool fileMustExist = false;
  bool confirmOverwrite = false;
};

// The plug-in's own name, the title of every message box that states no other.
inline constexpr std::string_view kDefaultTitle = "Tessalune";

// Message boxes and the other standard dialogs. Every message the user sees goes
// through here; the terminal, the desktop and the tests each have their own.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a modal message box and returns the button pressed (Ok for an Ok box).
  virtual Answer messageBox(std::string_view text, std::string_view title, Icon icon, Buttons buttons) = 0;

  // The colour dialog, starting from initial; nothing when the user cancels.
  virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;

  // The open or save dialog: the chosen full path, or "" when the user cancels.
  virtual std::string chooseFile(const FileDialogRequest& request) = 0;

  Answer message(std::string_view text, Icon icon, std::string_view title = kDefaultTitle) {
    return messageBox(text, title, icon, Buttons::Ok);
  }
  bool ask(std::string_view text, Icon icon, std::string_view title = kDefaultTitle) {
    return messageBox(text, title, icon, Buttons::YesNo) == Answer::Yes;
  }
};

}  // namespace tessalune::platform
