#include "ui/caption_list.h"

#include "platform/embedded_resources.h"
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

void applyBuiltInCaptions(const lang::CaptionList& captions) {
  const auto english = platform::embeddedResource("Tessalune/english.lng");
  if (!english) return;
  const std::vector<std::string> lines = lang::translationLines(*english);
  for (std::size_t i = kEditorCaptionCount; i < captions.size() && i < lines.size(); ++i) {
    if (captions[i]) captions[i]->setCaption(lines[i]);
  }
}

}  // namespace tessalune::ui
