#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/message_texts.h"
#include "lang/caption_target.h"
#include "platform/dialogs.h"

namespace tessalune::lang {

// No language file comes near this size; a larger one is not read.
inline constexpr std::uintmax_t kMaxLanguageFileBytes = 1u << 20;

// The objects whose captions a language file sets, in the order of its lines; registered
// once by the windows (83 entries). An entry may be a window, whose caption is its title.
using CaptionList = std::vector<CaptionTarget*>;

// Translation lines 84 and 85 serve the editor's frame and whole-text box in text mode;
// lines 3 and 21 serve the same two in nickname mode.
inline constexpr std::size_t kNickFrameLine = 3;
inline constexpr std::size_t kNickAllLine = 21;
inline constexpr std::size_t kTextFrameLine = 84;
inline constexpr std::size_t kTextAllLine = 85;

inline constexpr int kNicknameMode = 1;
inline constexpr int kTextMode = 2;

// What switchMode changes: the editor mode the plug-in owns, and the editor's parts that
// depend on the mode.
struct EditorModeView {
  int& mode;
  // Makes the mode's box the current one and shows it, hides the other, and shows the
  // no-end-code box in nickname mode only.
  std::function<void(int mode)> showMode;
  CaptionTarget& window;  // frmPrincipal; its caption is its title
  CaptionTarget& title;   // lbl_titre
  CaptionTarget& frame;   // grp_nick
  CaptionTarget& all;     // chk_all
};

// The translation lines of a language file's bytes: every line that is not empty and does
// not begin with an apostrophe, kept whole. UTF-8, or Windows-1252 when the bytes are not
// valid UTF-8.
std::vector<std::string> translationLines(std::string_view bytes);

// The current language file: its translation lines and whether reading it failed.
class Translation {
 public:
  // pluginDir is the plug-in's own folder; the language files are in its "Tessalune" folder.
  // messages gives the texts of the boxes shown on failure, dialogs shows them.
  Translation(std::filesystem::path pluginDir, const errors::MessageTexts& messages,
              platform::Dialogs& dialogs);

  // Reads "<pluginDir>/Tessalune/<name>.lng" into new translation lines: every line that
  // is not empty and does not begin with an apostrophe, kept whole. The file is UTF-8, or
  // Windows-1252 when it is not valid UTF-8. When the file is missing or unreadable, says
  // so (message 120) and sets the translation-missing flag; the lines read so far stay.
  void loadLanguage(std::string_view name);

  // Sets caption i of the list to translation line i, then, in text mode, switches the
  // editor through nickname mode back to text mode so that lines 84 and 85 apply. Does
  // nothing when the translation is missing. When the lines run out before the list does,
  // says so (message 121) and stops: the captions already set keep their new text.
  void applyLanguage(const CaptionList& captions, const EditorModeView& view) const;

  // Toggles the editor between nickname mode (1) and text mode (2) and sets the captions
  // that depend on the mode; any other mode is left alone. A caption whose line the file
  // lacks keeps its text.
  void switchMode(const EditorModeView& view) const;

  const std::vector<std::string>& lines() const { return lines_; }
  bool missing() const { return missing_; }

  // Translation line number (counted from 1), if the file had that many.
  std::optional<std::string> line(std::size_t number) const;

 private:
  // Sets control's caption to a translation line, the built-in text when the translation
  // is missing; leaves it alone when the file has no such line.
  void setModeCaption(CaptionTarget& target, std::size_t number, std::string_view builtIn) const;

  std::filesystem::path pluginDir_;
  const errors::MessageTexts& messages_;
  platform::Dialogs& dialogs_;
  std::vector<std::string> lines_;
  bool missing_ = false;
};

}  // namespace tessalune::lang
