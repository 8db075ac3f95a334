// Reads the input as a language file and applies it. Every caption it sets must be valid
// UTF-8 without a line feed: one line of the file, whatever its character set.
#include <cstdint>
#include <deque>

#include "engine/utf8.h"
#include "fuzz_support.h"
#include "lang/translation.h"
#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"

using namespace tessalune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::writeWhole(fuzz::pluginFolder() / "Tessalune" / "fuzz.lng",
                   std::string_view(reinterpret_cast<const char*>(data), size));
  static testing::EnglishMessages messages;
  platform::ScriptedDialogs dialogs;
  lang::Translation translation(fuzz::pluginFolder(), messages, dialogs);
  std::deque<ui::Control> controls;  // controls do not move
  for (int i = 0; i < 85; ++i) controls.emplace_back("caption" + std::to_string(i));
  lang::CaptionList captions;
  for (ui::Control& c : controls) captions.push_back(&c);
  ui::Control window{"frmPrincipal"}, title{"lbl_titre"}, nick{"rtf_nick"}, text{"rtf_text"},
      noEnd{"chk_noEnd"}, frame{"grp_nick"}, all{"chk_all"};
  int mode = data && size && data[0] % 2 ? 2 : 1;
  ui::Control* current = &nick;
  const lang::EditorModeView view{mode, current, window, title, nick, text, noEnd, frame, all};

  translation.loadLanguage("fuzz");
  translation.applyLanguage(captions, view);
  for (const ui::Control* c : {&window, &title, &noEnd, &frame, &all})
    captions.push_back(const_cast<ui::Control*>(c));
  for (const ui::Control* c : captions) {
    const std::string& caption = c->caption();
    if (!engine::isValidUtf8(caption) || caption.find('\n') != std::string::npos) {
      fuzz::broken("a caption is not one line of valid UTF-8");
    }
  }
  return 0;
}
