#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/xml_document.h"
#include "store/quicknick_state.h"
#include "store/store_context.h"

namespace tessalune::store {

// The saved nicknames: "quicknick" elements under /config/quicknicks, each holding the
// body of a markup document and, once the user commits one, a "shortcut" attribute.
// Every routine loads the file afresh, traps its own failures (reported under its own
// name with the step marker) and keeps the manager's controls in step with the file.
struct QuickNickContext {
  StoreContext& store;
  QuickNickState& state;
  QuickNickControls& controls;
};

// Shows an entry in the manager: the shortcut box and lbl_prevSC get its shortcut (or ""
// when it has none), the preview gets the entry's body as rich text. Also used by the
// configuration load.
void showQuickNick(const platform::XmlNode& entry, QuickNickContext& ctx);

// The entry's content as markup text, without its own tags.
std::string quickNickBody(const platform::XmlNode& entry);

// Shows the entry at the current index and returns its body; "" when the file cannot be
// loaded or there is no such entry.
std::string readQN(QuickNickContext& ctx);

// Appends a markup document ("<nick>...</nick>") as a new last entry without shortcut.
// The index, the count and the controls are left to the caller (the Add action).
void writeQN(std::string_view markup, QuickNickContext& ctx);

// Removes the entry at the current index and shows the one that takes its place.
void deleteQN(QuickNickContext& ctx);

// Commits the shortcut box to the current entry. True when it is stored or unchanged;
// false when another entry already has it (message 141) or the file cannot be loaded.
bool writeShortcut(QuickNickContext& ctx);

// The body of the first entry whose shortcut equals shortcut (case-sensitive); "" and
// message 142 when there is none. The manager is not changed.
std::string useQN(std::string_view shortcut, QuickNickContext& ctx);

// Stores markup in place of the first entry with that shortcut. When no entry has it,
// runs addAction (the manager's Add action: the current nickname as a new last entry,
// made current) and commits the shortcut to that new entry; markup is then unused.
void replaceQN(std::string_view markup, std::string_view shortcut, QuickNickContext& ctx,
               const std::function<void()>& addAction);

}  // namespace tessalune::store
