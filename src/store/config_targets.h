#pragma once

#include <functional>

#include "store/quicknick_state.h"
#include "store/stored_settings.h"

namespace tessalune::store {

// Where a load puts what it read. There is no settings object: the controls that edit a
// setting hold it, so the windows apply the settings as shown, then what a user's choice
// would (the language, the enabling of the gradient groups), without writing anything
// back. The QuickNick manager then shows the first entry.
struct ConfigTargets {
  std::function<void(const StoredSettings&)> apply;
  QuickNickView& quickNicks;
  QuickNickState& quickNickState;
};

}  // namespace tessalune::store
