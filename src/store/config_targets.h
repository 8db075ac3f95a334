#pragma once

#include <functional>

#include "store/quicknick_state.h"
#include "store/setting_elements.h"
#include "store/settings.h"

namespace tessalune::store {

// Where a load puts what it read: the settings take every element the file holds (a
// colour only when well formed) and keep the rest; then whoever shows them is told which
// ones were read, and shows those as a user's choice would (the language, the enabling of
// the gradient groups) without writing anything back. The QuickNick position goes to the
// state, and the first entry to the manager when there is one.
struct ConfigTargets {
  Settings& settings;
  QuickNickState& quickNickState;
  QuickNickView* quickNicks = nullptr;
  std::function<void(const SettingSet& read)> show = {};
};

}  // namespace tessalune::store
