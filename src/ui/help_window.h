#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "errors/message_texts.h"
#include "lang/translation.h"
#include "platform/dialogs.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace tessalune::ui {

// No user guide comes near this size; a larger one is not shown.
inline constexpr std::uintmax_t kMaxUserGuideBytes = 4u << 20;

// frmHelp: the readme of the interface language in a resizable window, without a banner.
// It keeps the last document loaded into it until the next help action loads another.
class HelpWindow : public Window {
 public:
  HelpWindow();

  RichTextControl rtfHelp{"rtfHelp"};
  OwnerDrawnButton btnClose{"btnClose"};  // lower right corner; hides the window

  // The smallest outer size the window takes, in twips, and its size when first shown.
  static constexpr int kMinWidth = 4500;
  static constexpr int kMinHeight = 3000;
  static constexpr int kDesignWidth = 9000;
  static constexpr int kDesignHeight = 7500;

  // The window was resized to width by height twips (outer size): a side below its minimum
  // springs back to it, then the text fills the window and the close button keeps its
  // place in the lower right corner. Views call this for every resize they make or see.
  void resizeTo(int width, int height);
  bool resizable() const override { return true; }
  void userResize(int width, int height) override { resizeTo(width, height); }

  // Registers the owner-drawn buttons (and the banner) at their sizes now.
  void registerDrawing(gdi::OwnerDrawing& drawing);

  // This window's entries of the caption list, in its order: the title, btnClose_label
  // (2 entries).
  lang::CaptionList captionEntries();

 private:
  void layOut();
};

// The readme base name (without ".rtf") of a language list position; nothing outside 0 to 5.
std::optional<std::string_view> helpBaseName(int languageIndex);

// The file whose name is exactly name in folder, compared byte for byte whatever the file
// system's own rules for letter case; nothing when there is none.
std::optional<std::filesystem::path> findExactFile(const std::filesystem::path& folder,
                                                   std::string_view name);

// The editor's help action, also run by the help command: shows the readme of the
// interface language (the position of the preferences language list) from the plug-in's
// "Tessalune" folder in the help window, modally. A position outside the list does nothing
// at all. A readme that is not there under exactly its name, or cannot be read, is reported
// (message 143, naming the file) and the window is not shown.
void btnHelp_Click(HelpWindow& help, int languageIndex, const std::filesystem::path& pluginDir,
                   platform::Dialogs& dialogs, const errors::MessageTexts& messages, WindowSystem& windows);

}  // namespace tessalune::ui
