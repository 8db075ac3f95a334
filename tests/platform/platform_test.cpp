#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/terminal_dialogs.h"
#include "platform/ui_language.h"
#include "platform/xml_document.h"
#include "support/temp_folder.h"

namespace tessalune::platform {
namespace {

TEST(UiLanguage, ReadsTheFirstSetLocaleVariable) {
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    int expected;
  } cases[] = {
      {"fr_FR.UTF-8", "nl_NL", "es_ES", language::kFrench},
      {"", "nl_BE.UTF-8", "es_ES", language::kDutch},
      {nullptr, nullptr, "ca_ES@valencia", language::kCatalan},
      {nullptr, nullptr, "it", language::kItalian},
      {nullptr, nullptr, "es_MX", language::kSpanish},
      {nullptr, nullptr, "de_DE", language::kEnglish},
      {nullptr, nullptr, "C", language::kEnglish},
      {nullptr, nullptr, nullptr, language::kEnglish},
  };
  for (const auto& c : cases) {
    const auto lookup = [&](const char* name) -> std::optional<std::string> {
      const char* value = std::string_view(name) == "LC_ALL"        ? c.all
                          : std::string_view(name) == "LC_MESSAGES" ? c.messages
                                                                    : c.lang;
      return value ? std::optional<std::string>(value) : std::nullopt;
    };
    EXPECT_EQ(uiLanguage(lookup), c.expected) << (c.lang ? c.lang : "(none)");
  }
}

TEST(TerminalDialogs, ShowsOneLinePerBoxAndTakesTheFixedAnswer) {
  std::ostringstream out;
  TerminalDialogs dialogs(out, false);
  EXPECT_FALSE(dialogs.ask("Keep it?\r\nReally\nsure", Icon::Question));
  EXPECT_EQ(out.str(), "Tessalune: Keep it? Really sure\n");
}

TEST(XmlDocument, KeepsWhitespaceTextAndLineEnds) {
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml("<nick>\r\n <FG color=\"#FF0000\"/>a&amp;b\r\n</nick>"));
  EXPECT_EQ(doc.xml(), "<nick>\r\n <FG color=\"#FF0000\"/>a&amp;b\r\n</nick>");
  EXPECT_EQ(doc.selectNodes("/nick/FG").size(), 1u);
  EXPECT_EQ(doc.selectSingleNode("/nick/FG").attribute("color"), "#FF0000");
  EXPECT_TRUE(doc.selectNodes("/nick/[").empty());  // an expression that does not compile selects nothing
}

TEST(XmlDocument, ReportsWhereAMalformedDocumentFails) {
  XmlDocument doc;
  EXPECT_FALSE(doc.loadXml("<config>\n  <a>\n</config>"));
  EXPECT_NE(doc.parseError().code, 0);
  EXPECT_FALSE(doc.parseError().reason.empty());
  EXPECT_EQ(doc.parseError().line, 3);
  EXPECT_FALSE(doc.loadXml(""));
  // What a lenient reader would take but XML 1.0 forbids.
  for (const char* strictlyMalformed :
       {"<a>\x01</a>", "<a><!-- x -- y --></a>", "<1a/>", "<a>&undefined;</a>", "<a b=\"1\" b=\"2\"/>"}) {
    EXPECT_FALSE(doc.loadXml(strictlyMalformed)) << strictlyMalformed;
    EXPECT_FALSE(doc.parseError().reason.empty());
  }
  EXPECT_TRUE(doc.loadXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00E9</a>"));
  EXPECT_FALSE(doc.load("/nonexistent/tessalune.xml"));
  EXPECT_EQ(doc.parseError().code, kXmlFileNotFound);
}

TEST(XmlDocument, SavesAtomicallyAndReloads) {
  const testing::TempFolder folder("tessalune-xml");
  const std::filesystem::path& dir = folder.path();
  XmlDocument doc;
  ASSERT_TRUE(doc.loadXml("<config><lang>fr</lang></config>"));
  doc.selectSingleNode("/config/lang").setText("\u00E9s");
  doc.save(dir / "t.xml");
  XmlDocument again;
  ASSERT_TRUE(again.load(dir / "t.xml"));
  EXPECT_EQ(again.selectSingleNode("/config/lang").text(), "\u00E9s");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
            1);
  EXPECT_THROW(doc.save(dir / "missing-folder" / "t.xml"), std::runtime_error);
}

}  // namespace
}  // namespace tessalune::platform
