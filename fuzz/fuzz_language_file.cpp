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

namespace {

struct Caption final : lang::CaptionTarget {
  void setCaption(std::string caption) override { text = std::move(caption); }
  std::string text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::writeWhole(fuzz::pluginFolder() / "Tessalune" / "fuzz.lng",
                   std::string_view(reinterpret_cast<const char*>(data), size));
  static testing::EnglishMessages messages;
  platform::ScriptedDialogs dialogs;
  lang::Translation translation(fuzz::pluginFolder(), messages, dialogs);
  std::deque<Caption> targets(85);
  lang::CaptionList captions;
  for (Caption& target : targets) captions.push_back(&target);
  const auto broken = [](const std::string& text) {
    return !engine::isValidUtf8(text) || text.find('\n') != std::string::npos;
  };

  translation.loadLanguage("fuzz");
  translation.applyLanguage(captions);
  for (const Caption& c : targets) {
    if (broken(c.text)) fuzz::broken("a caption is not one line of valid UTF-8");
  }
  for (const engine::EditorMode mode : {engine::EditorMode::Nickname, engine::EditorMode::Text}) {
    const lang::ModeCaptions mine = translation.modeCaptions(mode);
    if (broken(mine.title) || broken(mine.frame.value_or("")) || broken(mine.all.value_or(""))) {
      fuzz::broken("a mode caption is not one line of valid UTF-8");
    }
  }
  return 0;
}
