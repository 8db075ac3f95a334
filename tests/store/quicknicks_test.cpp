#include "store/quicknicks.h"

#include <gtest/gtest.h>

#include "support/config_fixture.h"
#include "support/quicknick_fields.h"

namespace tessalune::store {
namespace {

namespace fs = std::filesystem;
using platform::Icon;

constexpr const char* kTakenText =
    "The specified shortcut is already used by another QuickNick. Please choose another one.";
constexpr const char* kUnknownText = "The specified shortcut doesn't match any existing QuickNick.";
// One entry as the file holds it.
std::string qn(const std::string& shortcut, const std::string& body) {
  return "<quicknick shortcut=\"" + shortcut + "\">" + body + "</quicknick>";
}
const std::string kThree = qn("a", "one") + qn("b", "two") + qn("c", "three");

class QuickNicksTest : public ::testing::Test {
 protected:
  // A configuration holding these entries, shown in the manager at index as a load would.
  void store(const std::string& entries, std::int16_t index = 0) {
    s.dir.writeConfig("<config>\r\n\t<quicknicks>" + entries + "</quicknicks>\r\n</config>");
    platform::XmlDocument doc;
    ASSERT_TRUE(doc.load(s.dir.configFile()));
    state.count = static_cast<std::int16_t>(doc.selectNodes("/config/quicknicks/quicknick").size());
    state.index = index;
    if (index < state.count) readQN(ctx);
  }
  // The entries as the file holds them, serialized.
  std::string entries() const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(s.dir.configFile()));
    return doc.selectSingleNode("/config/quicknicks").innerXml();
  }
  void expectReport(const std::string& kind, const std::string& source) {
    ASSERT_EQ(s.failures.report.reports.size(), 1u);
    EXPECT_EQ(s.failures.report.reports[0].kind, kind);
    EXPECT_EQ(s.failures.report.reports[0].source, source);
  }
  void expectOneMessage(const std::string& text) {
    ASSERT_EQ(s.dialogs.shown().size(), 1u);
    EXPECT_EQ(s.dialogs.shown()[0].text, text);
    EXPECT_EQ(s.dialogs.shown()[0].icon, Icon::Exclamation);
    EXPECT_EQ(s.dialogs.shown()[0].title, "Tessalune");
  }

  testing::StoreFixture s;
  testing::QuickNickFields view;
  QuickNickState state;
  QuickNickContext ctx{s.context, state, view};
};

TEST_F(QuickNicksTest, ReadQNShowsTheCurrentEntryAndReturnsItsBody) {
  store(R"(<quicknick shortcut="a&gt;b"/><quicknick>x&lt;y&gt;<b/>z</quicknick>)", 0);
  EXPECT_EQ(view.shortcutBox, "a>b");
  EXPECT_EQ(view.previous, "a>b");
  state.index = 1;
  EXPECT_EQ(readQN(ctx), "x&lt;y&gt;<b/>z");
  EXPECT_EQ(view.shortcutBox, "");
  EXPECT_EQ(view.box.text(), "x<y>z");
  state.index = 2;
  EXPECT_EQ(readQN(ctx), "");
  expectReport("unknown", "readQN");
  EXPECT_EQ(s.failures.report.reports[0].line, 2);
}

TEST_F(QuickNicksTest, UseQNFindsTheFirstEqualShortcutAndSkipsEntriesWithout) {
  store("<quicknick>none</quicknick>" + qn("b", "B1") + qn("B", "B2") + qn("b", "B3"));
  const struct { std::string shortcut, body; } cases[] = {{"b", "B1"}, {"B", "B2"}, {"", ""}, {"c", ""}};
  for (const auto& c : cases) {
    s.dialogs.clear();
    EXPECT_EQ(useQN(c.shortcut, ctx), c.body) << c.shortcut;
    EXPECT_EQ(state.shortcutMatched, !c.body.empty());
    if (c.body.empty()) expectOneMessage(kUnknownText);
  }
}

// Exactly the shortcut of another entry is refused (message 141), again while the box keeps
// it; another letter case is accepted. An empty shortcut skips the check; re-typing the
// entry's own saved shortcut writes nothing.
TEST_F(QuickNicksTest, WriteShortcutRefusesOnlyAnExactlyEqualShortcut) {
  store(qn("Home", "1") + "<quicknick>2</quicknick>", 1);
  view.shortcutBox = "Home";
  EXPECT_FALSE(writeShortcut(ctx));
  EXPECT_TRUE(state.shortcutMatched);
  expectOneMessage(kTakenText);
  EXPECT_FALSE(writeShortcut(ctx));
  EXPECT_EQ(s.dialogs.shown().size(), 2u);
  EXPECT_EQ(entries(), qn("Home", "1") + "<quicknick>2</quicknick>");
  view.shortcutBox = "home";
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_EQ(view.previous, "home");
  EXPECT_EQ(entries(), qn("Home", "1") + qn("home", "2"));

  s.dialogs.clear();
  store(qn("", "1") + qn("x", "2"), 1);
  view.shortcutBox = "";
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_EQ(entries(), qn("", "1") + qn("", "2"));

  store(kThree, 1);
  fs::permissions(s.dir.configFile(), fs::perms::owner_read);  // any save would now fail and be reported
  view.shortcutBox = "x";
  view.shortcutBox = "b";
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_TRUE(s.failures.report.reports.empty() && s.dialogs.shown().empty());
}

TEST_F(QuickNicksTest, DeleteQNClosesTheGapAndShowsTheNextEntry) {
  // The only entry; the last of three while shown; the first of three.
  const struct {
    std::string before;
    std::int16_t index;
    std::string after, counter, shown;
  } cases[] = {{qn("a", "one"), 0, "", "0 / 0", ""},
               {kThree, 2, qn("a", "one") + qn("b", "two"), "2 / 2", "b"},
               {kThree, 0, qn("b", "two") + qn("c", "three"), "1 / 2", "b"}};
  for (const auto& c : cases) {
    store(c.before, c.index);
    deleteQN(ctx);
    EXPECT_EQ(entries(), c.after);
    EXPECT_EQ(view.counter, c.counter);
    EXPECT_EQ(view.shortcutBox, c.shown);
    EXPECT_EQ(view.previous, c.shown);
    EXPECT_EQ(view.box.text().empty(), c.shown.empty());
  }
  EXPECT_TRUE(s.failures.report.reports.empty());
}

// Another program changed the list while the manager showed an entry: Delete and a new
// shortcut act on nothing, the manager says so and shows the file as it is now.
TEST_F(QuickNicksTest, AStalePositionChangesNothing) {
  store(kThree, 0);
  s.dir.writeConfig("<config>\r\n\t<quicknicks>" + qn("b", "two") + qn("c", "three") +
                    "</quicknicks>\r\n</config>");
  deleteQN(ctx);
  EXPECT_EQ(entries(), qn("b", "two") + qn("c", "three"));
  EXPECT_EQ(view.counter, "1 / 2");
  EXPECT_EQ(view.previous, "b");
  EXPECT_EQ(
      s.dialogs.shown().back().text,
      "The QuickNicks were changed meanwhile; nothing was changed here, and they are shown as they are now.");

  s.dir.writeConfig("<config>\r\n\t<quicknicks>" + qn("b", "TWO") + qn("c", "three") +
                    "</quicknicks>\r\n</config>");
  view.shortcutBox = "renamed";
  EXPECT_FALSE(writeShortcut(ctx));
  EXPECT_EQ(entries(), qn("b", "TWO") + qn("c", "three"));
  EXPECT_EQ(view.box.text(), "TWO");
  view.shortcutBox = "renamed";
  EXPECT_TRUE(writeShortcut(ctx));  // what is shown now is what the file holds
  EXPECT_EQ(entries(), qn("renamed", "TWO") + qn("c", "three"));
}

TEST_F(QuickNicksTest, WriteQNAppendsTheBodyWithoutTheWritersLayout) {
  store(kThree);
  writeQN("<nick>\r\n<FG color=\"#FF0000\"/>\ta&lt;br /&gt;b &gt; c\r\n</nick>", ctx);
  EXPECT_EQ(entries(), kThree + R"(<quicknick><FG color="#FF0000"/>a&lt;br /&gt;b &gt; c</quicknick>)");
  state.index = 3;
  EXPECT_EQ(readQN(ctx), R"(<FG color="#FF0000"/>a&lt;br /&gt;b &gt; c)");
}

TEST_F(QuickNicksTest, MarkupThatDoesNotParseChangesNothing) {
  store(kThree);
  const std::string before = s.dir.readConfig();
  writeQN("<nick><FG></nick>", ctx);
  replaceQN("<nick>a<</nick>", "b", ctx);
  ASSERT_EQ(s.failures.report.reports.size(), 2u);
  for (const auto& [report, source] : {std::pair{s.failures.report.reports[0], "writeQN"},
                                       std::pair{s.failures.report.reports[1], "replaceQN"}}) {
    EXPECT_EQ(report.kind, "unknown");
    EXPECT_EQ(report.source, source);
    EXPECT_EQ(report.line, 2);
  }
  EXPECT_EQ(s.dir.readConfig(), before);
}

// What the file's reader could not read back is never written: a shortcut over 1 000
// characters, markup over 100 000 (characters, not bytes), each refused with the limit.
TEST_F(QuickNicksTest, TextsTooLongToReadBackAreRefused) {
  store(kThree, 1);
  std::string longest;
  for (int i = 0; i < 1000; ++i) longest += "\u00E9";
  const std::string tooLong = longest + "e";
  const std::string hugeMarkup = "<nick>" + std::string(100000, 'x') + "</nick>";
  EXPECT_FALSE(saveQN("<nick>n</nick>", tooLong, ctx));
  EXPECT_FALSE(replaceQN("<nick>n</nick>", tooLong, ctx));
  EXPECT_FALSE(writeQN(hugeMarkup, ctx));
  EXPECT_FALSE(saveQN(hugeMarkup, "s", ctx));
  view.shortcutBox = tooLong;
  EXPECT_FALSE(writeShortcut(ctx));
  EXPECT_EQ(entries(), kThree);
  ASSERT_EQ(s.dialogs.shown().size(), 5u);
  EXPECT_EQ(s.dialogs.shown()[0].text,
            "The shortcut or the QuickNick is too long to be saved (at most 1000 characters).");
  EXPECT_EQ(s.dialogs.shown()[2].text,
            "The shortcut or the QuickNick is too long to be saved (at most 100000 characters).");
  view.shortcutBox = longest;
  EXPECT_TRUE(writeShortcut(ctx));
}

TEST_F(QuickNicksTest, ReplaceQNReplacesOnlyTheFirstEntryWithTheShortcutInPlace) {
  store(qn("a", "one") + qn("s", "two") + qn("s", "three"), 1);
  replaceQN("<nick>\r\nNEW\r\n</nick>", "s", ctx);
  EXPECT_TRUE(state.shortcutMatched);
  EXPECT_EQ(entries(), qn("a", "one") + qn("s", "NEW") + qn("s", "three"));
  EXPECT_EQ(view.box.text(), "NEW");  // the shown entry was refreshed
}

TEST_F(QuickNicksTest, HostileShortcutIsStoredAndFoundAsPlainData) {
  const std::string hostile = R"(a"]/../x<&')";
  store(kThree, 2);
  const auto added = replaceQN("<nick>new</nick>", hostile, ctx);  // not found: appended under it
  ASSERT_TRUE(added && !added->replaced);
  EXPECT_EQ(added->index, 3);
  EXPECT_EQ(useQN(hostile, ctx), "new");
  const auto replaced = replaceQN("<nick>mine</nick>", hostile, ctx);
  ASSERT_TRUE(replaced && replaced->replaced);
  EXPECT_EQ(useQN(hostile, ctx), "mine");
  EXPECT_EQ(replaced->count, 4);
  const std::string head = "<config>\r\n\t<quicknicks>" + kThree;
  EXPECT_EQ(s.dir.readConfig().substr(0, head.size()), head);  // the other entries, byte for byte
  EXPECT_TRUE(s.failures.report.reports.empty() && s.dialogs.shown().empty());
}

using Routine = std::function<void(QuickNickContext&)>;
const std::pair<const char*, Routine> kRoutines[] = {
    {"readQN", [](QuickNickContext& c) { EXPECT_EQ(readQN(c), ""); }},
    {"writeQN", [](QuickNickContext& c) { writeQN("<nick>n</nick>", c); }},
    {"deleteQN", [](QuickNickContext& c) { deleteQN(c); }},
    {"writeShortcut",
     [](QuickNickContext& c) {
       c.view.setShortcut("z");
       EXPECT_FALSE(writeShortcut(c));
     }},
    {"useQN", [](QuickNickContext& c) { EXPECT_EQ(useQN("a", c), ""); }},
    {"replaceQN", [](QuickNickContext& c) { replaceQN("<nick>n</nick>", "a", c); }},
    {"saveQN", [](QuickNickContext& c) { saveQN("<nick>n</nick>", "new", c); }},
};

// A missing file is a "cfg" report from every routine; a read-only one an "unknown" report
// from every writer, which leaves the file and the count as they were.
TEST_F(QuickNicksTest, MissingAndReadOnlyFilesAreReportedByEachRoutine) {
  for (const auto& [name, routine] : kRoutines) {
    s.failures.report.reports.clear();
    fs::remove(s.dir.configFile());
    routine(ctx);
    expectReport("cfg", name);
    EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileNotFound);
    if (name == std::string("readQN") || name == std::string("useQN")) continue;

    store(kThree);
    fs::permissions(s.dir.configFile(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = s.dir.readConfig();
    s.failures.report.reports.clear();
    routine(ctx);
    expectReport("unknown", name);
    EXPECT_EQ(s.dir.readConfig(), before);
    EXPECT_EQ(state.count, 3);
    fs::permissions(s.dir.configFile(), fs::perms::owner_all);
  }
}

}  // namespace
}  // namespace tessalune::store
