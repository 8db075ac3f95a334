#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  QuickNickView& view;
};

// The longest shortcut and QuickNick markup the store writes, in characters: the file must
// stay one its reader takes, and the reader refuses texts much larger than these.
inline constexpr std::size_t kMaxShortcutChars = 1000;
inline constexpr std::size_t kMaxMarkupChars = 100000;

// A shortcut the file can hold: valid UTF-8 without the characters XML forbids (else
// message 150, which names the offending character), at most kMaxShortcutChars long (else
// message 153). The QuickNicks' markup is held to kMaxMarkupChars the same way.
bool acceptableShortcut(std::string_view shortcut, QuickNickContext& ctx);

// Shows an entry in the manager: the shortcut box and lbl_prevSC get its shortcut (or ""
// when it has none), the preview gets the entry's body as rich text. Also used by the
// configuration load.
void showQuickNick(const platform::XmlNode& entry, QuickNickContext& ctx);

// The entry's content as markup text, without its own tags.
std::string quickNickBody(const platform::XmlNode& entry);

// The QuickNick entries of a loaded configuration document, in the file's order.
std::vector<platform::XmlNode> quickNickEntries(const platform::XmlDocument& doc);

// A saved nickname as a listing shows it.
struct ListedQuickNick {
  std::optional<std::string> shortcut;  // none when the entry has no shortcut attribute
  std::string markup;                   // its body, as quickNickBody gives it
};

// Every QuickNick of the configuration file, in the file's order, without touching the
// manager. Nothing when the file cannot be loaded (reported as kind "cfg" under
// "listQuickNicks"); throws, as every store routine's lock does, when another process keeps
// the configuration locked.
std::optional<std::vector<ListedQuickNick>> listQuickNicks(StoreContext& ctx);

// Where a save put its entry: its position among all entries and how many the file then
// holds, so the manager shows the entry just written whatever other processes added.
struct SavedQuickNick {
  std::int16_t index = 0;
  std::int16_t count = 0;
  bool shortcutTaken = false;  // saveQN: the shortcut belonged to another entry; stored without it
  bool replaced = false;       // replaceQN: an existing entry was replaced in place
};

// Shows the entry at the current index and returns its body; "" when the file cannot be
// loaded or there is no such entry.
std::string readQN(QuickNickContext& ctx);

// Appends a markup document ("<nick>...</nick>") as a new last entry without shortcut.
// The index, the count and the controls are left to the caller (the Add action); nothing
// when the file cannot be loaded or written (reported).
std::optional<SavedQuickNick> writeQN(std::string_view markup, QuickNickContext& ctx);

// The save command without the replace option, as one write: the markup as a new last
// entry under shortcut, or, when another entry has that shortcut (message 141, after the
// write), without one.
std::optional<SavedQuickNick> saveQN(std::string_view markup, std::string_view shortcut,
                                     QuickNickContext& ctx);

// Removes the entry at the current index and shows the one that takes its place.
void deleteQN(QuickNickContext& ctx);

// Commits the shortcut box to the current entry. True when it is stored or unchanged;
// false when another entry already has it (message 141) or the file cannot be loaded.
bool writeShortcut(QuickNickContext& ctx);

// The body of the first entry whose shortcut equals shortcut (case-sensitive); "" and
// message 142 when there is none. The manager is not changed.
std::string useQN(std::string_view shortcut, QuickNickContext& ctx);

// Stores markup in place of the first entry with that shortcut, refreshing the manager
// when it shows that entry; when no entry has it, appends the markup under the shortcut.
// One write either way.
std::optional<SavedQuickNick> replaceQN(std::string_view markup, std::string_view shortcut,
                                        QuickNickContext& ctx);

}  // namespace tessalune::store
