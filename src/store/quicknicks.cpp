#include "store/quicknicks.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/plus2rtf.h"
#include "engine/replace.h"
#include "engine/xml2plus.h"
#include "errors/failure.h"

namespace tessalune::store {

namespace {

using platform::XmlDocument;
using platform::XmlNode;

constexpr std::string_view kEntriesPath = "/config/quicknicks/quicknick";
constexpr std::string_view kListPath = "/config/quicknicks";
constexpr const char* kShortcut = "shortcut";
constexpr int kShortcutTaken = 141;
constexpr int kShortcutUnknown = 142;
constexpr std::int32_t kObjectNotSet = 91;

[[noreturn]] void raiseObjectNotSet(const std::string& detail) {
  throw errors::RuntimeFailure(kObjectNotSet,
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

}  // namespace

void showQuickNick(const XmlNode& entry, QuickNickContext& ctx) {
  const std::string shortcut = entry.attribute(kShortcut);
  ctx.controls.shortcut.setText(shortcut);
  ctx.controls.previousShortcut.setCaption(shortcut);
  errors::FailureContext& failures = ctx.store.failures;
  ctx.controls.preview.box().setTextRtf(
      engine::plus2rtf(engine::xml2plus(quickNickBody(entry), failures), failures));
}

std::string quickNickBody(const XmlNode& entry) {
  return entry.innerXml();
}

std::string readQN(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  failures.step.reset();
  XmlDocument doc;
  if (!loadConfigDocument(doc, configFilePath(ctx.store.pluginDir), ctx.store, "readQN")) return {};
  return errors::guardRoutine(failures, "readQN", std::string{}, [&] {
    failures.step.advance();
    const std::vector<XmlNode> entries = doc.selectNodes(kEntriesPath);

    failures.step.advance();
    const XmlNode entry = entryAt(entries, ctx.state.index);
    std::string body = quickNickBody(entry);

    failures.step.advance();
    showQuickNick(entry, ctx);
    return body;
  });
}

void writeQN(std::string_view markup, QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  failures.step.reset();
  XmlDocument doc;
  const std::filesystem::path file = configFilePath(ctx.store.pluginDir);
  if (!loadConfigDocument(doc, file, ctx.store, "writeQN")) return;
  errors::guardProcedure(failures, "writeQN", [&] {
    failures.step.advance();
    XmlNode list = doc.selectSingleNode(kListPath);

    failures.step.advance();
    XmlDocument entryDoc;
    const XmlNode entry = parseEntry(markup, entryDoc);
    if (!list) raiseObjectNotSet("no /config/quicknicks");
    list.raw().append_copy(entry.raw());
    doc.save(file);
  });
}

void deleteQN(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  failures.step.reset();
  XmlDocument doc;
  const std::filesystem::path file = configFilePath(ctx.store.pluginDir);
  if (!loadConfigDocument(doc, file, ctx.store, "deleteQN")) return;
  errors::guardProcedure(failures, "deleteQN", [&] {
    QuickNickState& state = ctx.state;
    QuickNickControls& controls = ctx.controls;

    failures.step.advance();
    const std::vector<XmlNode> entries = doc.selectNodes(kEntriesPath);
    if (state.index < 0 || static_cast<std::size_t>(state.index) >= entries.size()) return;

    failures.step.advance();
    const XmlNode entry = entries[static_cast<std::size_t>(state.index)];
    entry.parent().removeChild(entry);
    doc.save(file);

    --state.count;
    failures.step.advance();
    if (state.count == 0) {
      controls.counter.setCaption("0 / 0");
      controls.preview.box().setText("");
      controls.shortcut.setText("");
      controls.previousShortcut.setCaption(controls.shortcut.text());
      return;
    }
    // The entry after the deleted one takes its place; after the last, the one before.
    if (state.count == 1) {
      state.index = 0;
    } else if (state.index == state.count) {
      --state.index;
    }
    controls.counter.setCaption(counterText(state.index, state.count));
    readQN(ctx);
  });
}

bool writeShortcut(QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  ctx.state.shortcutMatched = false;
  failures.step.reset();
  XmlDocument doc;
  const std::filesystem::path file = configFilePath(ctx.store.pluginDir);
  if (!loadConfigDocument(doc, file, ctx.store, "writeShortcut")) return false;
  return errors::guardRoutine(failures, "writeShortcut", false, [&] {
    const std::string shortcut = ctx.controls.shortcut.text();
    failures.step.advance();
    if (shortcut == ctx.controls.previousShortcut.caption()) return true;

    const std::vector<XmlNode> entries = doc.selectNodes(kEntriesPath);
    failures.step.advance();
    // Every entry counts, the current one included; an empty shortcut is never checked.
    if (!shortcut.empty() && findShortcut(entries, shortcut)) {
      ctx.store.dialogs.message(ctx.store.messages.message(kShortcutTaken), platform::Icon::Exclamation);
      ctx.state.shortcutMatched = true;
      return false;
    }
    entryAt(entries, ctx.state.index).setAttribute(kShortcut, shortcut);
    doc.save(file);
    ctx.controls.previousShortcut.setCaption(shortcut);
    return true;
  });
}

std::string useQN(std::string_view shortcut, QuickNickContext& ctx) {
  errors::FailureContext& failures = ctx.store.failures;
  ctx.state.shortcutMatched = false;
  failures.step.reset();
  XmlDocument doc;
  if (!loadConfigDocument(doc, configFilePath(ctx.store.pluginDir), ctx.store, "useQN")) return {};
  return errors::guardRoutine(failures, "useQN", std::string{}, [&] {
    failures.step.advance();
    const std::vector<XmlNode> entries = doc.selectNodes(kEntriesPath);

    failures.step.advance();
    if (const auto found = findShortcut(entries, shortcut)) {
      ctx.state.shortcutMatched = true;
      return quickNickBody(entries[*found]);
    }
    ctx.store.dialogs.message(ctx.store.messages.message(kShortcutUnknown), platform::Icon::Exclamation);
    return std::string{};
  });
}

void replaceQN(std::string_view markup, std::string_view shortcut, QuickNickContext& ctx,
               const std::function<void()>& addAction) {
  errors::FailureContext& failures = ctx.store.failures;
  ctx.state.shortcutMatched = false;
  failures.step.reset();
  XmlDocument doc;
  const std::filesystem::path file = configFilePath(ctx.store.pluginDir);
  if (!loadConfigDocument(doc, file, ctx.store, "replaceQN")) return;
  errors::guardProcedure(failures, "replaceQN", [&] {
    failures.step.advance();
    const std::vector<XmlNode> entries = doc.selectNodes(kEntriesPath);
    failures.step.advance();
    const auto found = findShortcut(entries, shortcut);

    if (!found) {
      // A new entry from the current nickname, then the shortcut committed to it.
      addAction();
      ctx.controls.shortcut.setText(std::string(shortcut));
      writeShortcut(ctx);
      return;
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
    doc.save(file);

    if (static_cast<std::size_t>(ctx.state.index) == *found && ctx.state.index >= 0) readQN(ctx);
  });
}

}  // namespace tessalune::store
