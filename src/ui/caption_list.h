#pragma once

#include <cstddef>

#include "lang/translation.h"

namespace tessalune::ui {

class EditorWindow;
class AboutWindow;
class PrefsWindow;
class UpdateWindow;
class QuickNickWindow;
class HelpWindow;

// The number of captions a language file sets, one per line.
inline constexpr std::size_t kCaptionCount = 83;
// The editor's entries, which come first.
inline constexpr std::size_t kEditorCaptionCount = 24;

// The caption list: the objects whose captions the lines of a language file set, line i
// for entry i. The windows come in this order, each with its own entries: the editor (24),
// the about window (7), the preferences (29), the update window (10), the QuickNick
// manager (11) and the help window (2); a window's first entry but the editor's is the
// window itself, whose caption is its title. Built once, when the windows are loaded.
lang::CaptionList captionList(EditorWindow& editor, AboutWindow& about, PrefsWindow& prefs,
                              UpdateWindow& update, QuickNickWindow& quickNick, HelpWindow& help);

// Gives every entry after the editor's the text of the English language file, shipped in
// the program, so that no window is blank when the user's language file is missing. The
// editor keeps its own design captions, among them the fallbacks its mode switch uses.
void applyBuiltInCaptions(const lang::CaptionList& captions);

}  // namespace tessalune::ui
