#pragma once

#include <string>

#include "platform/messenger.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"
#include "ui/quicknick_window.h"

namespace tessalune::testing {

// The QuickNick manager over a store context (a store fixture's, or one whose dialogs are
// a terminal's), with "Neo" as the messenger's nickname and conversions in nickname mode.
struct QuickNickWindowParts {
  explicit QuickNickWindowParts(StoreFixture& fixture) : QuickNickWindowParts(fixture.context) {}
  explicit QuickNickWindowParts(store::StoreContext& context) : ctx(context) {}
  engine::ConversionContext conversion() {
    return {engine::EditorMode::Nickname, false, ctx.dialogs, ctx.messages, ctx.failures, lifecycle, scratch};
  }

  store::StoreContext& ctx;
  RecordingLifecycle lifecycle;
  store::QuickNickState state;
  store::Settings settings;
  platform::HostMessenger messenger{"Neo"};
  engine::RichTextBox scratch{"rtf_mask"};
  std::string codedResult;
  ui::QuickNickWindow window{
      ui::QuickNickDependencies{ctx, settings, state, messenger, [this] { return conversion(); },
                                [this](const std::string& coded) { codedResult = coded; }, lifecycle}};
};

}  // namespace tessalune::testing
