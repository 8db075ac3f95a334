#include "store/config_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/colour.h"
#include "store/import_export.h"
#include "support/config_fixture.h"
#include "support/faulty_file_system.h"
#include "support/recording_lifecycle.h"

namespace tessalune::store {
namespace {

using testing::defaultConfigWith;

// Stand-ins for the controls of one style preset.
struct PresetStandIns {
  using Options = std::array<ui::OptionButton, 5>;  // 0 the gradient type, 1 to 4 the presets
  static Options options(ui::OptionGroup& type, ui::OptionGroup& presets) {
    return {ui::OptionButton{"type", type}, ui::OptionButton{"1", presets}, ui::OptionButton{"2", presets},
            ui::OptionButton{"3", presets}, ui::OptionButton{"4", presets}};
  }
  static std::array<ui::OptionButton*, 5> pointers(Options& o) { return {&o[0], &o[1], &o[2], &o[3], &o[4]}; }
  static int preset(const Options& o) {
    for (int i = 1; i < 5; ++i) {
      if (o[static_cast<std::size_t>(i)].selected()) return i;
    }
    return 0;
  }
  PresetControls controls() {
    return {enabled, fgSolid, pointers(fgGradient),
            bgNone,  bgSolid, pointers(bgGradient),
            fgColor, fgGrad1, fgGrad2,
            bgColor, bgGrad1, bgGrad2};
  }

  ui::OptionGroup fg, bg, fgPresets, bgPresets;
  ui::CheckBox enabled{"enabled"};
  ui::OptionButton fgSolid{"fgSolid", fg}, bgNone{"bgNone", bg}, bgSolid{"bgSolid", bg};
  Options fgGradient = options(fg, fgPresets), bgGradient = options(bg, bgPresets);
  ui::ColourSwatch fgColor{"fg"}, fgGrad1{"fg1"}, fgGrad2{"fg2"}, bgColor{"bg"}, bgGrad1{"bg1"},
      bgGrad2{"bg2"};
};

class ConfigTest : public ::testing::Test {
 protected:
  void load() {
    ConfigTargets t{
        suffix,          editorSuffix,    all,        editorAll,  update,         lang,        replaceQN,
        nick.controls(), text.controls(), qnControls, quickNicks, languageChosen, typesChanged};
    loadConfig(t, s.context);
  }
  // How many times message 107 was shown, with its exclamation icon.
  long sectionsMissingMessages() const {
    return std::count_if(s.dialogs.shown().begin(), s.dialogs.shown().end(), [](const auto& box) {
      return box.icon == platform::Icon::Exclamation &&
             box.text == "Config corrupted: one or more sections are missing in tessalune.xml";
    });
  }
  void expectOneReport(const std::string& kind, const std::string& source) {
    ASSERT_EQ(s.failures.report.reports.size(), 1u);
    EXPECT_EQ(s.failures.report.reports[0].kind, kind);
    EXPECT_EQ(s.failures.report.reports[0].source, source);
  }

  testing::StoreFixture s;
  ui::CheckBox suffix{"chk_noEnd"}, editorSuffix{"chk_noEnd"}, all{"chk_all"}, editorAll{"chk_all"},
      update{"chk_upd"}, replaceQN{"chkReplaceQN"};
  ui::ComboBox lang{"combo_lang", {"Français", "English", "Dutch", "Español", "Català", "Italiano"}};
  PresetStandIns nick, text;
  ui::Label counter{"lbl_nbQN"}, previousShortcut{"lbl_prevSC"};
  ui::TextBox shortcut{"txt_shortcut"};
  ui::RichTextControl preview{"rtf_quicknick"};
  QuickNickControls qnControls{counter, shortcut, previousShortcut, preview};
  QuickNickState quickNicks;
  std::vector<int> languages;
  int typesChangedCalls = 0;
  std::function<void(int)> languageChosen = [this](int index) { languages.push_back(index); };
  std::function<void()> typesChanged = [this] { ++typesChangedCalls; };
};

TEST_F(ConfigTest, DefaultDocumentsAreTheResourcesByteForByte) {
  for (const auto& [id, code] : {std::pair{1027, "ca"}, std::pair{1033, "en"}, std::pair{1034, "es"},
                                 std::pair{1036, "fr"}, std::pair{1040, "it"}, std::pair{1043, "nl"}}) {
    const std::string document = defaultConfiguration(id);
    EXPECT_EQ(document.size(), 851u) << id;
    EXPECT_TRUE(document.starts_with("<?xml version=\"1.0\"?>\r\n<config>\r\n\t<suffix>0</suffix>\r\n"));
    EXPECT_NE(document.find(std::string("\t<lang>") + code + "</lang>\r\n"), std::string::npos) << id;
    EXPECT_TRUE(
        document.ends_with("\t\t<BGgrad2>#D5EAFF</BGgrad2>\r\n\t</textprefs>\r\n\t<quicknicks>\r\n\t</"
                           "quicknicks>\r\n</config>\r\n"));
  }
  EXPECT_EQ(defaultConfiguration(1031), defaultConfiguration(1033));
  writeDefaultConfiguration(s.dir.path(), 1036);
  EXPECT_EQ(s.dir.readConfig(), defaultConfiguration(1036) + "\r\n");
}

TEST_F(ConfigTest, LoadsTheDefaultsIntoTheControls) {
  writeDefaultConfiguration(s.dir.path(), 1036);
  load();
  EXPECT_FALSE(suffix.checked());
  EXPECT_EQ(lang.listIndex(), 0);
  EXPECT_EQ(languages, std::vector<int>{0});
  EXPECT_TRUE(nick.fgSolid.selected());
  EXPECT_TRUE(nick.bgNone.selected());
  EXPECT_EQ(PresetStandIns::preset(nick.fgGradient), 1);
  EXPECT_EQ(nick.fgGrad2.backColour(), engine::hex2rgb("#0080FF"));
  EXPECT_EQ(text.bgColor.backColour(), engine::hex2rgb("#AED7FF"));
  EXPECT_EQ(typesChangedCalls, 1);
  EXPECT_EQ(quickNicks.count, 0);
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

TEST_F(ConfigTest, LanguageCodesAreCaseSensitive) {
  for (const auto& [code, index] :
       {std::pair{"fr", 0}, std::pair{"nl", 2}, std::pair{"es", 3}, std::pair{"ca", 4}, std::pair{"it", 5},
        std::pair{"en", 1}, std::pair{"EN", 1}, std::pair{"de", 1}, std::pair{"FR", 1}}) {
    s.dir.writeConfig(defaultConfigWith({{"<lang>en</lang>", std::string("<lang>") + code + "</lang>"}}));
    load();
    EXPECT_EQ(lang.listIndex(), index) << code;
  }
  EXPECT_EQ(sectionsMissingMessages(), 0);
}

TEST_F(ConfigTest, MalformedValuesTakeTheirDefaultAndWarnOnce) {
  s.dir.writeConfig(defaultConfigWith({{"<FGtype>1</FGtype>", "<FGtype>3</FGtype>"},
                                       {"<BGtype>0</BGtype>", "<BGtype>5</BGtype>"},
                                       {"<FGgradtype>1</FGgradtype>", "<FGgradtype>0</FGgradtype>"},
                                       {"<FGcolor>#000000</FGcolor>", "<FGcolor>#12345</FGcolor>"},
                                       {"<FGgrad1>#000080</FGgrad1>", "<FGgrad1>#ff00zz</FGgrad1>"},
                                       {"<FGgrad2>#0080FF</FGgrad2>", "<FGgrad2>00080FF</FGgrad2>"},
                                       {"<enabled>0</enabled>", "<enabled>yes</enabled>"}}));
  nick.fgGradient[0].setSelected();
  nick.fgColor.setBackColour(42);
  nick.fgGrad2.setBackColour(43);
  load();
  EXPECT_TRUE(nick.fgSolid.selected());
  EXPECT_TRUE(nick.bgNone.selected());
  EXPECT_EQ(PresetStandIns::preset(nick.fgGradient), 1);
  EXPECT_EQ(nick.fgColor.backColour(), 42u);  // kept
  EXPECT_EQ(nick.fgGrad2.backColour(), 43u);
  EXPECT_EQ(nick.fgGrad1.backColour(),
            engine::makeColour(255, 0, 0));  // lower case accepted, "zz" counts as 0
  EXPECT_FALSE(nick.enabled.checked());
  EXPECT_EQ(sectionsMissingMessages(), 1);
}

TEST_F(ConfigTest, AMissingSectionWarnsAndTheRestLoads) {
  const std::string withoutUpdate = defaultConfigWith({{"<update>0</update>", ""}});
  s.dir.writeConfig(withoutUpdate);
  load();
  EXPECT_EQ(sectionsMissingMessages(), 1);
  EXPECT_EQ(lang.listIndex(), 1);
  writeConfig("/config/update", "1", s.context);  // the element is not created
  expectOneReport("unknown", "writeConfig");
  EXPECT_EQ(s.failures.report.reports[0].line, 1);
  EXPECT_EQ(s.dir.readConfig(), withoutUpdate);

  s.dir.writeConfig(defaultConfigWith());
  load();
  EXPECT_EQ(sectionsMissingMessages(), 1);  // a complete file warns no more
}

TEST_F(ConfigTest, MissingMalformedAndOversizedFilesAreConfigurationErrors) {
  load();
  expectOneReport("cfg", "loadConfig");
  EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileNotFound);

  s.failures.report.reports.clear();
  s.dir.writeConfig("<config>\r\n<suffix>0</suffix>\r\n<all>");
  load();
  expectOneReport("cfg", "loadConfig");
  EXPECT_EQ(s.failures.report.reports[0].line, 3);

  s.failures.report.reports.clear();
  {
    std::ofstream out(s.dir.configFile(), std::ios::binary);
    out << "<config>";
    out.seekp(static_cast<std::streamoff>(platform::kMaxXmlFileBytes) + 10);
    out << "</config>";
  }
  load();
  expectOneReport("cfg", "loadConfig");
  EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileTooLarge);
}

TEST_F(ConfigTest, OneWriteChangesOneElementAndKeepsOutsideEditsButNotAReadOnlyFile) {
  const std::string file = defaultConfigWith({{"<all>0</all>", "<all>0</all><!-- mine -->"}});
  s.dir.writeConfig(file);
  writeConfig("/config/nickprefs/FGcolor", "#FF8000", s.context);
  std::string expected = defaultConfigWith({{"<all>0</all>", "<all>0</all><!-- mine -->"},
                                            {"<FGcolor>#000000</FGcolor>", "<FGcolor>#FF8000</FGcolor>"}});
  expected.resize(expected.size() - 2);  // the file ends with one line end
  EXPECT_EQ(s.dir.readConfig(), expected);

  std::filesystem::permissions(s.dir.configFile(), std::filesystem::perms::owner_read);
  writeConfig("/config/suffix", "1", s.context);
  expectOneReport("unknown", "writeConfig");
  EXPECT_EQ(s.dir.readConfig(), expected);
}

TEST_F(ConfigTest, ExportThenImportRestoresEverythingAndRestartsButAMalformedImportKeepsTheFile) {
  const std::string file =
      defaultConfigWith({{"\t</quicknicks>", "<quicknick shortcut=\"a\"><b/>x</quicknick>\t</quicknicks>"}});
  s.dir.writeConfig(file);
  s.dialogs.queueFile((s.dir.path() / "saved").string());
  exportWithDialog(s.context);
  EXPECT_EQ(s.dialogs.shown().back().text, "Config was exported successfully.");
  EXPECT_TRUE(std::filesystem::exists(s.dir.path() / "saved.xml"));  // the default extension

  writeConfig("/config/suffix", "1", s.context);
  testing::RecordingLifecycle lifecycle;
  s.dialogs.queueFile((s.dir.path() / "saved.xml").string());
  importWithRestart(s.context, lifecycle);
  EXPECT_EQ(s.dialogs.shown().back().text,
            "Config was imported successfully. Tessalune will now be restarted.");
  EXPECT_EQ(lifecycle.calls, (std::vector<std::string>{"unloadForms", "initPlugin"}));
  const std::string imported = file.substr(0, file.size() - 2);  // the file ends with one line end
  EXPECT_EQ(s.dir.readConfig(), imported);
  EXPECT_EQ(s.dialogs.fileRequests()[1].title, "Import config");
  EXPECT_EQ(s.dialogs.fileRequests()[1].filterPattern, "*.xml");

  std::ofstream(s.dir.path() / "bad.xml") << "<config><oops></config>";
  s.dialogs.queueFile((s.dir.path() / "bad.xml").string());
  importWithRestart(s.context, lifecycle);
  expectOneReport("cfg", "importConfig");
  EXPECT_EQ(s.dir.readConfig(), imported);
  EXPECT_EQ(lifecycle.calls.size(), 4u);  // restarted all the same
  s.dialogs.queueFile((s.dir.path() / "missing.xml").string());
  importWithRestart(s.context, lifecycle);  // the open dialog accepts only existing files
  EXPECT_EQ(lifecycle.calls.size(), 4u);

  // An import file that exists but cannot be read is reported; the configuration is kept.
  testing::FaultyFileSystem files;
  files.fault = testing::FaultyFileSystem::Fault::Unreadable;
  files.unreadable = s.dir.path() / "saved.xml";
  StoreContext unreadable{s.dir.path(), s.dialogs, s.messages, s.failures.context, s.lock, files};
  s.failures.report.reports.clear();
  importConfig(files.unreadable, unreadable);
  expectOneReport("cfg", "importConfig");
  EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileUnreadable);
  EXPECT_EQ(s.dir.readConfig(), imported);
}

}  // namespace
}  // namespace tessalune::store
