#include "ui/caption_list.h"

#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {

lang::CaptionList captionList(EditorWindow& editor, AboutWindow& about, PrefsWindow& prefs,
                              UpdateWindow& update, QuickNickWindow& quickNick, HelpWindow& help) {
  lang::CaptionList list;
  list.reserve(kCaptionCount);
  // Each window knows its own entries and their order; the windows' order is the files'.
  for (const lang::CaptionList& entries :
       {editor.captionEntries(), about.captionEntries(), prefs.captionEntries(), update.captionEntries(),
        quickNick.captionEntries(), help.captionEntries()}) {
    list.insert(list.end(), entries.begin(), entries.end());
  }
  return list;
}

}  // namespace tessalune::ui
