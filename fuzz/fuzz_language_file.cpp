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
  std::deque<Caption> targets(90);  // 85 lines, then the editor's four mode captions
  lang::CaptionList captions;
  for (std::size_t i = 0; i < 85; ++i) captions.push_back(&targets[i]);
  int mode = data && size && data[0] % 2 ? 2 : 1;
  const lang::EditorModeView view{mode, [](int) {}, targets[85], targets[86], targets[87], targets[88]};

  translation.loadLanguage("fuzz");
  translation.applyLanguage(captions, view);
  for (const Caption& c : targets) {
    if (!engine::isValidUtf8(c.text) || c.text.find('\n') != std::string::npos) {
      fuzz::broken("a caption is not one line of valid UTF-8");
    }
  }
  return 0;
}
