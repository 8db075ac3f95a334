#pragma once

#include <string>

#include "platform/messenger.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"
#include "ui/quicknick_window.h"

namespace tessalune::testing {

// The QuickNick manager over a store fixture, with "Neo" as the messenger's nickname and
// conversions in nickname mode.
struct QuickNickWindowParts {
  explicit QuickNickWindowParts(StoreFixture& fixture) : s(fixture) {}
  engine::ConversionContext conversion() {
    return {
        engine::editor_mode::kNickname, false, s.dialogs, s.messages, s.failures.context, lifecycle, scratch};
  }

  StoreFixture& s;
  RecordingLifecycle lifecycle;
  store::QuickNickState state;
  platform::HostMessenger messenger{"Neo"};
  engine::RichTextBox scratch{"rtf_mask"};
  std::string codedResult;
  ui::QuickNickWindow window{
      ui::QuickNickDependencies{s.context, state, messenger, [this] { return conversion(); }, codedResult}};
};

}  // namespace tessalune::testing
