#include "store/quicknicks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"

namespace tessalune::store {
namespace {

namespace fs = std::filesystem;
using platform::Icon;

constexpr int kTaken = 141;
constexpr int kUnknown = 142;
const std::string kThree = R"(<quicknick shortcut="a">one</quicknick><quicknick shortcut="b">two</quicknick>)"
                           R"(<quicknick shortcut="c">three</quicknick>)";

class QuickNicksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "Tessalune");
  }
  void TearDown() override {
    if (fs::exists(file())) fs::permissions(file(), fs::perms::owner_all);
    fs::remove_all(dir);
  }
  fs::path file() const { return configFilePath(dir); }
  // A configuration holding these entries, shown in the manager at index as a load would.
  void store(const std::string& entries, std::int16_t index = 0) {
    std::ofstream(file(), std::ios::binary)
        << "<config>\r\n\t<quicknicks>" << entries << "</quicknicks>\r\n</config>";
    platform::XmlDocument doc;
    ASSERT_TRUE(doc.load(file()));
    state.count = static_cast<std::int16_t>(doc.selectNodes("/config/quicknicks/quicknick").size());
    state.index = index;
    if (index < state.count) readQN(ctx);
  }
  std::string bytes() const {
    std::ostringstream out;
    out << std::ifstream(file(), std::ios::binary).rdbuf();
    return out.str();
  }
  // The entries as the file holds them, serialized.
  std::string entries() const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(file()));
    return doc.selectSingleNode("/config/quicknicks").innerXml();
  }
  void expectReport(const std::string& kind, const std::string& source, int line = -1) {
    ASSERT_EQ(failures.report.reports.size(), 1u);
    EXPECT_EQ(failures.report.reports[0].kind, kind);
    EXPECT_EQ(failures.report.reports[0].source, source);
    if (line >= 0) {
      EXPECT_EQ(failures.report.reports[0].line, line);
    }
  }

  // Unique per test and per run; the context below keeps its own copy.
  fs::path dir =
      fs::temp_directory_path() / ("tessalune-qn-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  StoreContext storeContext{dir, dialogs, messages, failures.context};
  ui::Label counter{"lbl_nbQN"}, previousShortcut{"lbl_prevSC"};
  ui::TextBox shortcut{"txt_shortcut"};
  ui::RichTextControl preview{"rtf_quicknick"};
  QuickNickControls controls{counter, shortcut, previousShortcut, preview};
  QuickNickState state;
  QuickNickContext ctx{storeContext, state, controls};
  // The manager's Add action, as the manager window runs it.
  std::function<void()> add = [this] {
    state.index = state.count++;
    shortcut.setText("");
    previousShortcut.setCaption("");
    writeQN("<nick>\r\nnew\r\n</nick>", ctx);
  };
};

TEST_F(QuickNicksTest, ReadQNShowsTheCurrentEntryAndReturnsItsBody) {
  store(R"(<quicknick shortcut="a&gt;b"/><quicknick>x&lt;y&gt;<b/>z</quicknick>)", 0);
  EXPECT_EQ(shortcut.text(), "a>b");
  EXPECT_EQ(previousShortcut.caption(), "a>b");
  state.index = 1;
  EXPECT_EQ(readQN(ctx), "x&lt;y&gt;<b/>z");
  EXPECT_EQ(shortcut.text(), "");
  EXPECT_EQ(preview.box().text(), "x<y>z");
  state.index = 2;
  EXPECT_EQ(readQN(ctx), "");
  expectReport("unknown", "readQN", 2);
}

TEST_F(QuickNicksTest, UseQNFindsTheFirstEqualShortcutAndSkipsEntriesWithout) {
  store(R"(<quicknick>none</quicknick><quicknick shortcut="b">B1</quicknick>)"
        R"(<quicknick shortcut="B">B2</quicknick><quicknick shortcut="b">B3</quicknick>)");
  const struct { std::string shortcut, body; } cases[] = {{"b", "B1"}, {"B", "B2"}, {"", ""}, {"c", ""}};
  for (const auto& c : cases) {
    dialogs.clear();
    EXPECT_EQ(useQN(c.shortcut, ctx), c.body) << c.shortcut;
    EXPECT_EQ(state.shortcutMatched, !c.body.empty());
    if (c.body.empty()) {
      ASSERT_EQ(dialogs.shown().size(), 1u);
      EXPECT_EQ(dialogs.shown()[0].text, messages.message(kUnknown));
      EXPECT_EQ(dialogs.shown()[0].icon, Icon::Exclamation);
      EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
    }
  }
}

TEST_F(QuickNicksTest, WriteShortcutRefusesOnlyAnExactlyEqualShortcut) {
  store(R"(<quicknick shortcut="Home">1</quicknick><quicknick>2</quicknick>)", 1);
  shortcut.setText("Home");
  for (int attempt = 0; attempt < 2; ++attempt) EXPECT_FALSE(writeShortcut(ctx));
  EXPECT_TRUE(state.shortcutMatched);
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[1].text, messages.message(kTaken));
  EXPECT_EQ(dialogs.shown()[1].icon, Icon::Exclamation);
  EXPECT_EQ(entries(), R"(<quicknick shortcut="Home">1</quicknick><quicknick>2</quicknick>)");
  shortcut.setText("home");
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_EQ(previousShortcut.caption(), "home");
  EXPECT_EQ(entries(), R"(<quicknick shortcut="Home">1</quicknick><quicknick shortcut="home">2</quicknick>)");
}

TEST_F(QuickNicksTest, EmptyShortcutIsCommittedWithoutTheCheck) {
  store(R"(<quicknick shortcut="">1</quicknick><quicknick shortcut="x">2</quicknick>)", 1);
  shortcut.setText("");
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(entries(), R"(<quicknick shortcut="">1</quicknick><quicknick shortcut="">2</quicknick>)");
}

TEST_F(QuickNicksTest, RetypedOwnShortcutWritesNothing) {
  store(kThree, 1);
  fs::permissions(file(), fs::perms::owner_read);  // any save would now fail and be reported
  shortcut.setText("x");
  shortcut.setText("b");
  EXPECT_TRUE(writeShortcut(ctx));
  EXPECT_TRUE(failures.report.reports.empty());
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(QuickNicksTest, DeleteQNClosesTheGapAndShowsTheNextEntry) {
  const struct {
    std::string before;
    std::int16_t index;
    std::string after, counter, shown;
    std::int16_t newIndex;
  } cases[] = {
      {R"(<quicknick shortcut="a">one</quicknick>)", 0, "", "0 / 0", "", 0},
      {kThree, 2, R"(<quicknick shortcut="a">one</quicknick><quicknick shortcut="b">two</quicknick>)",
       "2 / 2", "b", 1},
      {kThree, 0, R"(<quicknick shortcut="b">two</quicknick><quicknick shortcut="c">three</quicknick>)",
       "1 / 2", "b", 0},
  };
  for (const auto& c : cases) {
    store(c.before, c.index);
    deleteQN(ctx);
    EXPECT_EQ(entries(), c.after);
    EXPECT_EQ(counter.caption(), c.counter);
    EXPECT_EQ(state.index, c.newIndex);
    EXPECT_EQ(shortcut.text(), c.shown);
    EXPECT_EQ(previousShortcut.caption(), c.shown);
    EXPECT_EQ(preview.box().text().empty(), c.shown.empty());
  }
  EXPECT_TRUE(failures.report.reports.empty());
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
  const std::string before = bytes();
  writeQN("<nick><FG></nick>", ctx);
  replaceQN("<nick>a<</nick>", "b", ctx, add);
  ASSERT_EQ(failures.report.reports.size(), 2u);
  for (const auto& [report, source] : {std::pair{failures.report.reports[0], "writeQN"},
                                       std::pair{failures.report.reports[1], "replaceQN"}}) {
    EXPECT_EQ(report.kind, "unknown");
    EXPECT_EQ(report.source, source);
    EXPECT_EQ(report.line, 2);
  }
  EXPECT_EQ(bytes(), before);
}

TEST_F(QuickNicksTest, ReplaceQNReplacesOnlyTheFirstEntryWithTheShortcutInPlace) {
  store(R"(<quicknick shortcut="a">one</quicknick><quicknick shortcut="s">two</quicknick>)"
        R"(<quicknick shortcut="s">three</quicknick>)",
        1);
  replaceQN("<nick>\r\nNEW\r\n</nick>", "s", ctx, add);
  EXPECT_TRUE(state.shortcutMatched);
  EXPECT_EQ(entries(), R"(<quicknick shortcut="a">one</quicknick><quicknick shortcut="s">NEW</quicknick>)"
                       R"(<quicknick shortcut="s">three</quicknick>)");
  EXPECT_EQ(preview.box().text(), "NEW");  // the shown entry was refreshed
}

TEST_F(QuickNicksTest, HostileShortcutIsStoredAndFoundAsPlainData) {
  const std::string hostile = R"(a"]/../x<&')";
  store(kThree, 2);
  replaceQN("<nick>unused</nick>", hostile, ctx, add);  // not found: a new entry through Add
  EXPECT_EQ(useQN(hostile, ctx), "new");
  replaceQN("<nick>mine</nick>", hostile, ctx, add);
  EXPECT_EQ(useQN(hostile, ctx), "mine");
  EXPECT_EQ(state.count, 4);
  const std::string head = "<config>\r\n\t<quicknicks>" + kThree;
  EXPECT_EQ(bytes().substr(0, head.size()), head);  // the other entries, byte for byte
  platform::XmlDocument doc;
  ASSERT_TRUE(doc.load(file()));
  const auto all = doc.selectNodes("/config/quicknicks/quicknick");
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[3].attribute("shortcut"), hostile);
  EXPECT_EQ(all[3].innerXml(), "mine");
  EXPECT_TRUE(failures.report.reports.empty());
  EXPECT_TRUE(dialogs.shown().empty());
}

using Routine = std::function<void(QuickNickContext&)>;
const std::pair<const char*, Routine> kRoutines[] = {
    {"readQN", [](QuickNickContext& c) { EXPECT_EQ(readQN(c), ""); }},
    {"writeQN", [](QuickNickContext& c) { writeQN("<nick>n</nick>", c); }},
    {"deleteQN", [](QuickNickContext& c) { deleteQN(c); }},
    {"writeShortcut",
     [](QuickNickContext& c) {
       c.controls.shortcut.setText("z");
       EXPECT_FALSE(writeShortcut(c));
     }},
    {"useQN", [](QuickNickContext& c) { EXPECT_EQ(useQN("a", c), ""); }},
    {"replaceQN", [](QuickNickContext& c) { replaceQN("<nick>n</nick>", "a", c, [] {}); }},
};

TEST_F(QuickNicksTest, MissingFileIsReportedAsCfgByEachRoutine) {
  for (const auto& [name, routine] : kRoutines) {
    failures.report.reports.clear();
    routine(ctx);
    expectReport("cfg", name);
    EXPECT_EQ(failures.report.reports[0].number, platform::kXmlFileNotFound);
  }
}

TEST_F(QuickNicksTest, ReadOnlyFileIsReportedAndKeptByEachWriter) {
  for (const auto& [name, routine] : kRoutines) {
    if (name == std::string("readQN") || name == std::string("useQN")) continue;
    store(kThree);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = bytes();
    failures.report.reports.clear();
    routine(ctx);
    expectReport("unknown", name);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(state.count, 3);
    fs::permissions(file(), fs::perms::owner_all);
  }
}

}  // namespace
}  // namespace tessalune::store
