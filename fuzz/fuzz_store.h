// What the store's fuzz targets run every routine with: this process's plug-in folder,
// English messages, recorded boxes and reports that go nowhere.
#pragma once

#include "fuzz_support.h"
#include "platform/scripted_dialogs.h"
#include "store/store_context.h"
#include "support/english_messages.h"

namespace tessalune::fuzz {

struct StoreSetup {
  platform::ScriptedDialogs dialogs;
  SilentReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  store::ConfigLock lock;
  store::StoreContext context{pluginFolder(), dialogs, messages(), failures, lock};

  static const testing::EnglishMessages& messages() {
    static const testing::EnglishMessages english;
    return english;
  }
};

}  // namespace tessalune::fuzz
