#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/editor_mode.h"
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

// The captions of the editor's parts that follow its mode.
struct ModeCaptions {
  std::string title;                 // the editor window's and lbl_titre's
  std::optional<std::string> frame;  // grp_nick's; nothing where the file lacks the line
  std::optional<std::string> all;    // chk_all's; the same
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

  // Sets caption i of the list to translation line i; true when every caption was set. The
  // list holds the nickname-mode captions: an editor in text mode then takes its
  // modeCaptions. Does nothing when the translation is missing. When the lines run out
  // before the list does, says so (message 121) and stops: the captions already set keep
  // their new text.
  bool applyLanguage(const CaptionList& captions) const;

  // The captions of the editor's parts in a mode: the file's lines, the built-in texts when
  // the translation is missing.
  ModeCaptions modeCaptions(engine::EditorMode mode) const;

  const std::vector<std::string>& lines() const { return lines_; }
  bool missing() const { return missing_; }

  // Translation line number (counted from 1), if the file had that many.
  std::optional<std::string> line(std::size_t number) const;

 private:
  // A translation line, the built-in text when the translation is missing; nothing when the
  // file has no such line.
  std::optional<std::string> modeCaption(std::size_t number, std::string_view builtIn) const;

  std::filesystem::path pluginDir_;
  const errors::MessageTexts& messages_;
  platform::Dialogs& dialogs_;
  std::vector<std::string> lines_;
  bool missing_ = false;
};

}  // namespace tessalune::lang
