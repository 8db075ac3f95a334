#include "store/quicknicks.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "engine/plus_to_styled_text.h"
#include "engine/replace.h"
#include "engine/utf8.h"
#include "engine/xml2plus.h"
#include "errors/failure.h"
#include "errors/message_ids.h"
#include "errors/titles.h"
#include "platform/xml_text.h"

namespace tessalune::store {

namespace msg = errors::msg;

namespace {

using platform::XmlDocument;
using platform::XmlNode;

constexpr std::string_view kEntriesPath = "/config/quicknicks/quicknick";
constexpr std::string_view kListPath = "/config/quicknicks";
constexpr const char* kShortcut = "shortcut";

[[noreturn]] void raiseObjectNotSet(const std::string& detail) {
  throw errors::RuntimeFailure(errors::failure::kObjectNotSet,
                               "Object variable or With block variable not set (" + detail + ")");
}

std::string counterText(int index, int count) {
  return std::to_string(index + 1) + " / " + std::to_string(count);
}

// The entry at a position of the manager; a position with no entry is a failure.
XmlNode entryAt(const std::vector<XmlNode>& entries, std::int16_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
    raiseObjectNotSet("no QuickNick at position " + std::to_string(index));
  }
  return entries[static_cast<std::size_t>(index)];
}

// Position of the first entry whose shortcut equals shortcut, exactly; entries without a
// shortcut never match. The shortcut is compared as a value, never joined into a query.
std::optional<std::size_t> findShortcut(const std::vector<XmlNode>& entries, std::string_view shortcut) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].hasAttribute(kShortcut) && entries[i].attribute(kShortcut) == shortcut) return i;
  }
  return std::nullopt;
}

// Parses a markup document into doc as a new entry and returns its root. The markup
// writer's layout (CR LF pairs, then TABs) goes first, so the stored entry holds none of
// it; the root "nick" becomes "quicknick". Markup that does not parse is a failure.
XmlNode parseEntry(std::string_view markup, XmlDocument& doc) {
  std::string text(markup);
  engine::replaceAll(text, "\r\n", "");
  engine::replaceAll(text, "\t", "");
  engine::replaceAll(text, "<nick>", "\r\n<quicknick>");
  engine::replaceAll(text, "</nick>", "</quicknick>\r\n");
  if (!doc.loadXml(text)) raiseObjectNotSet("the markup does not parse: " + doc.parseError().reason);
  XmlNode root = doc.documentElement();
  if (root.name() != "quicknick") raiseObjectNotSet("the markup's root is not nick");
  return root;
}

// Appends a markup document as the last entry, under shortcut when one is given, and
// saves: one write. The entry is then found as the node just written, whatever else the
// file holds.
SavedQuickNick appendEntry(ConfigSession& config, std::string_view markup, const std::string* shortcut,
                           errors::StepMarker& step) {
  XmlNode list = config.doc().selectSingleNode(kListPath);
  step.advance();
  XmlDocument entryDoc;
  XmlNode entry = parseEntry(markup, entryDoc);
  if (shortcut) entry.setAttribute(kShortcut, *shortcut);
  if (!list) raiseObjectNotSet("no " + std::string(kListPath));
  if (config.doc().selectNodes(kEntriesPath).size() >= static_cast<std::size_t>(INT16_MAX)) {
    errors::raiseOverflow();  // the manager counts in 16 bits
  }
  const pugi::xml_node written = list.raw().append_copy(entry.raw());
  config.save();
  const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);
  std::size_t index = 0;
  while (index < entries.size() && entries[index].raw() != written) ++index;
  return {static_cast<std::int16_t>(index), static_cast<std::int16_t>(entries.size())};
}

}  // namespace

namespace {

// Refuses, with the message, a text longer than limit characters: the file would be saved,
// but its reader refuses a text that large, and every later load would fail.
bool fitsInFile(std::string_view text, std::size_t limit, QuickNickContext& ctx) {
  if (engine::countChars(text) <= limit) return true;
  ctx.store.dialogs.message(
      errors::withValue(ctx.store.messages.message(msg::kTooLongToSave), std::to_string(limit)),
      platform::Icon::Exclamation);
  return false;
}

// An entry as the manager's preview shows it.
engine::StyledText shownText(const XmlNode& entry, errors::FailureContext& failures) {
  return engine::plusToStyledText(engine::xml2plus(quickNickBody(entry), failures), failures);
}

}  // namespace

bool acceptableShortcut(std::string_view shortcut, QuickNickContext& ctx) {
  const auto problem = platform::xmlTextProblem(shortcut);
  if (!problem) return fitsInFile(shortcut, kMaxShortcutChars, ctx);
  ctx.store.dialogs.message(errors::withValue(ctx.store.messages.message(msg::kShortcutUnstorable), *problem),
                            platform::Icon::Exclamation);
  return false;
}

void showQuickNick(const XmlNode& entry, QuickNickContext& ctx) {
  const std::string shortcut = entry.attribute(kShortcut);
  ctx.view.setShortcut(shortcut);
  ctx.view.setPreviousShortcut(shortcut);
  ctx.view.preview().setCharacters(shownText(entry, ctx.store.failures), 0);
}

std::string quickNickBody(const XmlNode& entry) {
  return entry.innerXml();
}

std::vector<XmlNode> quickNickEntries(const XmlDocument& doc) {
  return doc.selectNodes(kEntriesPath);
}

std::optional<std::vector<ListedQuickNick>> listQuickNicks(StoreContext& ctx) {
  ConfigSession config(ctx);
  if (!config.load("listQuickNicks")) return std::nullopt;
  config.release();
  std::vector<ListedQuickNick> listed;
  for (const XmlNode& entry : quickNickEntries(config.doc())) {
    listed.push_back(
        {entry.hasAttribute(kShortcut) ? std::optional(entry.attribute(kShortcut)) : std::nullopt,
         quickNickBody(entry)});
  }
  return listed;
}

std::string readQN(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "readQN", std::string{}, [&] {
    failures.step.reset();
    ConfigSession config(ctx.store);
    if (!config.load("readQN")) return std::string{};
    config.release();
    failures.step.advance();
    const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);

    failures.step.advance();
    const XmlNode entry = entryAt(entries, ctx.state.index);
    std::string body = quickNickBody(entry);

    failures.step.advance();
    showQuickNick(entry, ctx);
    return body;
  });
}

std::optional<SavedQuickNick> writeQN(std::string_view markup, QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "writeQN", std::optional<SavedQuickNick>{}, [&] {
    failures.step.reset();
    if (!fitsInFile(markup, kMaxMarkupChars, ctx)) return std::optional<SavedQuickNick>{};
    ConfigSession config(ctx.store);
    if (!config.load("writeQN")) return std::optional<SavedQuickNick>{};
    failures.step.advance();
    return std::optional(appendEntry(config, markup, nullptr, failures.step));
  });
}

std::optional<SavedQuickNick> saveQN(std::string_view markup, std::string_view shortcut,
                                     QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "saveQN", std::optional<SavedQuickNick>{}, [&] {
    failures.step.reset();
    ctx.state.shortcutMatched = false;
    if (!acceptableShortcut(shortcut, ctx) || !fitsInFile(markup, kMaxMarkupChars, ctx)) {
      return std::optional<SavedQuickNick>{};
    }
    ConfigSession config(ctx.store);
    if (!config.load("saveQN")) return std::optional<SavedQuickNick>{};
    failures.step.advance();
    const bool taken = findShortcut(config.doc().selectNodes(kEntriesPath), shortcut).has_value();
    const std::string wanted(shortcut);
    failures.step.advance();
    SavedQuickNick saved = appendEntry(config, markup, taken ? nullptr : &wanted, failures.step);
    config.release();
    if (taken) {
      saved.shortcutTaken = true;
      ctx.state.shortcutMatched = true;
      ctx.store.dialogs.message(ctx.store.messages.message(msg::kShortcutTaken), platform::Icon::Exclamation);
    }
    return std::optional(saved);
  });
}

namespace {

// Whether the entry at the shown position is still the one the manager shows (its shortcut
// and its text): another program may have deleted or changed entries meanwhile.
bool stillShown(const std::vector<XmlNode>& entries, QuickNickContext& ctx) {
  const std::int16_t index = ctx.state.index;
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return false;
  const XmlNode& entry = entries[static_cast<std::size_t>(index)];
  if (entry.attribute(kShortcut) != ctx.view.previousShortcut()) return false;
  engine::RichTextBox stored;
  stored.setCharacters(shownText(entry, ctx.store.failures), 0);
  return stored.text() == ctx.view.preview().text();
}

// Says that the list changed and shows it as the file holds it now, near the position shown.
void showAsItIsNow(const std::vector<XmlNode>& entries, QuickNickContext& ctx) {
  ctx.store.dialogs.message(ctx.store.messages.message(msg::kQuickNicksChanged), platform::Icon::Exclamation);
  QuickNickState& state = ctx.state;
  state.count = static_cast<std::int16_t>(entries.size());
  if (entries.empty()) {
    state.index = 0;
    ctx.view.setCounter("0 / 0");
    ctx.view.preview().setText("");
    ctx.view.setShortcut("");
    ctx.view.setPreviousShortcut("");
    return;
  }
  state.index = std::clamp<std::int16_t>(state.index, 0, static_cast<std::int16_t>(state.count - 1));
  ctx.view.setCounter(counterText(state.index, state.count));
  showQuickNick(entries[static_cast<std::size_t>(state.index)], ctx);
}

}  // namespace

void deleteQN(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  errors::guardProcedure(failures, "deleteQN", [&] {
    failures.step.reset();
    ConfigSession config(ctx.store);
    if (!config.load("deleteQN")) return;
    QuickNickState& state = ctx.state;
    QuickNickView& view = ctx.view;

    failures.step.advance();
    const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);
    if (entries.empty() && state.count == 0) return;  // nothing shown, nothing to delete
    if (!stillShown(entries, ctx)) {
      config.release();
      showAsItIsNow(entries, ctx);
      return;
    }

    failures.step.advance();
    const XmlNode entry = entries[static_cast<std::size_t>(state.index)];
    entry.parent().removeChild(entry);
    config.save();
    config.release();

    // The file says how many entries remain, whoever else added some meanwhile.
    state.count = static_cast<std::int16_t>(entries.size() - 1);
    failures.step.advance();
    if (state.count == 0) {
      view.setCounter("0 / 0");
      view.preview().setText("");
      view.setShortcut("");
      view.setPreviousShortcut(view.shortcut());
      return;
    }
    // The entry after the deleted one takes its place; after the last, the one before.
    if (state.count == 1) {
      state.index = 0;
    } else if (state.index >= state.count) {
      state.index = static_cast<std::int16_t>(state.count - 1);
    }
    view.setCounter(counterText(state.index, state.count));
    readQN(ctx);
  });
}

bool writeShortcut(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "writeShortcut", false, [&] {
    failures.step.reset();
    ctx.state.shortcutMatched = false;
    ConfigSession config(ctx.store);
    if (!config.load("writeShortcut")) return false;
    const std::string shortcut = ctx.view.shortcut();
    failures.step.advance();
    if (shortcut == ctx.view.previousShortcut()) return true;
    if (platform::xmlTextProblem(shortcut) || engine::countChars(shortcut) > kMaxShortcutChars) {
      config.release();
      acceptableShortcut(shortcut, ctx);  // says what the file cannot hold
      return false;
    }

    const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);
    failures.step.advance();
    // Every entry counts, the current one included; an empty shortcut is never checked.
    if (!shortcut.empty() && findShortcut(entries, shortcut)) {
      config.release();
      ctx.store.dialogs.message(ctx.store.messages.message(msg::kShortcutTaken), platform::Icon::Exclamation);
      ctx.state.shortcutMatched = true;
      return false;
    }
    if (!stillShown(entries, ctx)) {
      config.release();
      showAsItIsNow(entries, ctx);
      return false;
    }
    entryAt(entries, ctx.state.index).setAttribute(kShortcut, shortcut);
    config.save();
    config.release();
    ctx.view.setPreviousShortcut(shortcut);
    return true;
  });
}

std::string useQN(std::string_view shortcut, QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "useQN", std::string{}, [&] {
    failures.step.reset();
    ctx.state.shortcutMatched = false;
    ConfigSession config(ctx.store);
    if (!config.load("useQN")) return std::string{};
    config.release();
    failures.step.advance();
    const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);

    failures.step.advance();
    if (const auto found = findShortcut(entries, shortcut)) {
      ctx.state.shortcutMatched = true;
      return quickNickBody(entries[*found]);
    }
    ctx.store.dialogs.message(ctx.store.messages.message(msg::kShortcutUnknown), platform::Icon::Exclamation);
    return std::string{};
  });
}

std::optional<SavedQuickNick> replaceQN(std::string_view markup, std::string_view shortcut,
                                        QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  return errors::guardRoutine(failures, "replaceQN", std::optional<SavedQuickNick>{}, [&] {
    failures.step.reset();
    ctx.state.shortcutMatched = false;
    if (!acceptableShortcut(shortcut, ctx) || !fitsInFile(markup, kMaxMarkupChars, ctx)) {
      return std::optional<SavedQuickNick>{};
    }
    ConfigSession config(ctx.store);
    if (!config.load("replaceQN")) return std::optional<SavedQuickNick>{};
    failures.step.advance();
    const std::vector<XmlNode> entries = config.doc().selectNodes(kEntriesPath);
    failures.step.advance();
    const auto found = findShortcut(entries, shortcut);

    if (!found) {
      // A new last entry under the shortcut, in the same write.
      const std::string wanted(shortcut);
      return std::optional(appendEntry(config, markup, &wanted, failures.step));
    }

    // The shortcut is set as an attribute value of the parsed entry, so no character of
    // it can reach the markup or change another entry.
    ctx.state.shortcutMatched = true;
    XmlDocument entryDoc;
    XmlNode entry = parseEntry(markup, entryDoc);
    entry.setAttribute(kShortcut, shortcut);
    const pugi::xml_node old = entries[*found].raw();
    pugi::xml_node list = old.parent();
    list.insert_copy_before(entry.raw(), old);
    list.remove_child(old);
    config.save();
    config.release();

    if (static_cast<std::size_t>(ctx.state.index) == *found && ctx.state.index >= 0) readQN(ctx);
    SavedQuickNick saved{static_cast<std::int16_t>(*found), static_cast<std::int16_t>(entries.size())};
    saved.replaced = true;
    return std::optional(saved);
  });
}

}  // namespace tessalune::store
