#include "store/config_file.h"

#include <gtest/gtest.h>

#include "engine/colour.h"
#include "store/import_export.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"

namespace tessalune::store {
namespace {

using platform::Icon;

// Stand-ins for the controls that hold the settings.
struct PresetStandIns {
  explicit PresetStandIns(const std::string& n)
      : enabled("chk" + n),
        fgSolid("opt_solid_" + n, fg),
        bgNone("opt_none_" + n + "BG", bg),
        bgSolid("opt_solid_" + n + "BG", bg),
        fgColor("fg"),
        fgGrad1("fg1"),
        fgGrad2("fg2"),
        bgColor("bg"),
        bgGrad1("bg1"),
        bgGrad2("bg2") {
    for (int i = 0; i < 5; ++i) {
      fgGradient.push_back(std::make_unique<ui::OptionButton>("opt_grad_" + n, i == 0 ? fg : fgPresets));
      bgGradient.push_back(
          std::make_unique<ui::OptionButton>("opt_grad_" + n + "BG", i == 0 ? bg : bgPresets));
    }
  }
  PresetControls controls() {
    return {enabled,
            fgSolid,
            {fgGradient[0].get(), fgGradient[1].get(), fgGradient[2].get(), fgGradient[3].get(),
             fgGradient[4].get()},
            bgNone,
            bgSolid,
            {bgGradient[0].get(), bgGradient[1].get(), bgGradient[2].get(), bgGradient[3].get(),
             bgGradient[4].get()},
            fgColor,
            fgGrad1,
            fgGrad2,
            bgColor,
            bgGrad1,
            bgGrad2};
  }
  int fgPreset() const { return selectedPreset(fgGradient); }
  int bgPreset() const { return selectedPreset(bgGradient); }
  static int selectedPreset(const std::vector<std::unique_ptr<ui::OptionButton>>& options) {
    for (int i = 1; i < 5; ++i) {
      if (options[static_cast<std::size_t>(i)]->selected()) return i;
    }
    return 0;
  }

  ui::OptionGroup fg, bg, fgPresets, bgPresets;
  ui::CheckBox enabled;
  ui::OptionButton fgSolid, bgNone, bgSolid;
  std::vector<std::unique_ptr<ui::OptionButton>> fgGradient, bgGradient;
  ui::ColourSwatch fgColor, fgGrad1, fgGrad2, bgColor, bgGrad1, bgGrad2;
};

class ConfigTest : public ::testing::Test {
 protected:
  ConfigTargets targets() {
    return {suffix,
            editorSuffix,
            all,
            editorAll,
            update,
            lang,
            replaceQN,
            nick.controls(),
            text.controls(),
            {counter, shortcut, previousShortcut, preview},
            quickNicks,
            [this](int index) { languages.push_back(index); },
            [this] { ++typesChanged; }};
  }
  void load() {
    ConfigTargets t = targets();
    loadConfig(t, s.context);
  }
  std::string withElement(const std::string& element, const std::string& from, const std::string& to) {
    std::string text = defaultConfiguration(1033) + "\r\n";
    const std::string old = "<" + element + ">" + from + "</" + element + ">";
    const std::size_t at = text.find(old);
    EXPECT_NE(at, std::string::npos) << old;
    text.replace(at, old.size(), to.empty() ? "" : "<" + element + ">" + to + "</" + element + ">");
    return text;
  }
  int sectionsMissingMessages() const {
    int n = 0;
    for (const auto& box : s.dialogs.shown()) n += box.text.starts_with("Config corrupted");
    return n;
  }

  testing::StoreFixture s;
  ui::CheckBox suffix{"chk_noEnd"}, editorSuffix{"chk_noEnd"}, all{"chk_all"}, editorAll{"chk_all"},
      update{"chk_upd"}, replaceQN{"chkReplaceQN"};
  ui::ComboBox lang{"combo_lang", {"Français", "English", "Dutch", "Español", "Català", "Italiano"}};
  PresetStandIns nick{"nick"}, text{"text"};
  ui::Label counter{"lbl_nbQN"}, previousShortcut{"lbl_prevSC"};
  ui::TextBox shortcut{"txt_shortcut"};
  ui::RichTextControl preview{"rtf_quicknick"};
  QuickNickState quickNicks;
  std::vector<int> languages;
  int typesChanged = 0;
};

TEST_F(ConfigTest, DefaultDocumentsAreTheResourcesByteForByte) {
  for (const auto& [id, code] : {std::pair{1027, "ca"}, std::pair{1033, "en"}, std::pair{1034, "es"},
                                 std::pair{1036, "fr"}, std::pair{1040, "it"}, std::pair{1043, "nl"}}) {
    const std::string document = defaultConfiguration(id);
    EXPECT_EQ(document.size(), 851u) << id;
    EXPECT_TRUE(document.starts_with("<?xml version=\"1.0\"?>\r\n<config>\r\n\t<suffix>0</suffix>\r\n"));
    EXPECT_NE(document.find(std::string("\t<lang>") + code + "</lang>\r\n"), std::string::npos) << id;
    EXPECT_NE(
        document.find("\t\t<BGgrad2>#D5EAFF</BGgrad2>\r\n\t</textprefs>\r\n\t<quicknicks>\r\n\t</quicknicks>"
                      "\r\n</config>\r\n"),
        std::string::npos);
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
  EXPECT_EQ(nick.fgPreset(), 1);
  EXPECT_EQ(nick.fgGrad2.backColour(), engine::hex2rgb("#0080FF"));
  EXPECT_EQ(text.bgColor.backColour(), engine::hex2rgb("#AED7FF"));
  EXPECT_EQ(typesChanged, 1);
  EXPECT_EQ(quickNicks.count, 0);
  EXPECT_TRUE(s.dialogs.shown().empty());
  EXPECT_TRUE(s.failures.report.reports.empty());
}

TEST_F(ConfigTest, LanguageCodesAreCaseSensitive) {
  for (const auto& [code, index] :
       {std::pair{"fr", 0}, std::pair{"nl", 2}, std::pair{"es", 3}, std::pair{"ca", 4}, std::pair{"it", 5},
        std::pair{"en", 1}, std::pair{"EN", 1}, std::pair{"de", 1}, std::pair{"FR", 1}}) {
    s.dir.writeConfig(withElement("lang", "en", code));
    load();
    EXPECT_EQ(lang.listIndex(), index) << code;
  }
  EXPECT_EQ(sectionsMissingMessages(), 0);
}

TEST_F(ConfigTest, MalformedValuesTakeTheirDefaultAndWarnOnce) {
  std::string file = withElement("FGtype", "1", "3");
  file.replace(file.find("<BGtype>0</BGtype>"), 18, "<BGtype>5</BGtype>");
  file.replace(file.find("<FGgradtype>1</FGgradtype>"), 26, "<FGgradtype>0</FGgradtype>");
  file.replace(file.find("<FGcolor>#000000</FGcolor>"), 26, "<FGcolor>#12345</FGcolor>");
  file.replace(file.find("<FGgrad1>#000080</FGgrad1>"), 26, "<FGgrad1>#ff00zz</FGgrad1>");
  file.replace(file.find("<enabled>0</enabled>"), 20, "<enabled>yes</enabled>");
  s.dir.writeConfig(file);
  nick.fgGradient[0]->setSelected();
  nick.fgColor.setBackColour(42);
  load();
  EXPECT_TRUE(nick.fgSolid.selected());
  EXPECT_TRUE(nick.bgNone.selected());
  EXPECT_EQ(nick.fgPreset(), 1);
  EXPECT_EQ(nick.fgColor.backColour(), 42u);  // kept
  EXPECT_EQ(nick.fgGrad1.backColour(),
            engine::makeColour(255, 0, 0));  // lower case accepted, "zz" counts as 0
  EXPECT_FALSE(nick.enabled.checked());
  EXPECT_EQ(sectionsMissingMessages(), 1);
  EXPECT_EQ(s.dialogs.shown().back().icon, Icon::Exclamation);
}

TEST_F(ConfigTest, AMissingSectionWarnsAndTheRestLoads) {
  s.dir.writeConfig(withElement("update", "0", ""));
  load();
  EXPECT_EQ(sectionsMissingMessages(), 1);
  EXPECT_EQ(lang.listIndex(), 1);
  writeConfig("/config/update", "1", s.context);  // the element is not created
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].kind, "unknown");
  EXPECT_EQ(s.failures.report.reports[0].source, "writeConfig");
  EXPECT_EQ(s.failures.report.reports[0].line, 1);
  EXPECT_EQ(s.dir.readConfig(), withElement("update", "0", ""));

  s.dir.writeConfig(defaultConfiguration(1033) + "\r\n");
  load();
  EXPECT_EQ(sectionsMissingMessages(), 1);  // a complete file warns no more
}

TEST_F(ConfigTest, MissingAndMalformedFilesAreReportedAsConfigurationErrors) {
  load();
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].kind, "cfg");
  EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileNotFound);

  s.dir.writeConfig("<config>\r\n<suffix>0</suffix>\r\n<all>");
  load();
  ASSERT_EQ(s.failures.report.reports.size(), 2u);
  EXPECT_EQ(s.failures.report.reports[1].kind, "cfg");
  EXPECT_EQ(s.failures.report.reports[1].source, "loadConfig");
  EXPECT_EQ(s.failures.report.reports[1].line, 3);
}

TEST_F(ConfigTest, AnOversizedFileIsRefusedUnread) {
  {
    std::ofstream out(s.dir.configFile(), std::ios::binary);
    out << "<config>";
    out.seekp(static_cast<std::streamoff>(kMaxConfigBytes) + 10);
    out << "</config>";
  }
  load();
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].kind, "cfg");
  EXPECT_EQ(s.failures.report.reports[0].number, platform::kXmlFileTooLarge);
}

TEST_F(ConfigTest, OneWriteChangesOneElementAndKeepsOutsideEdits) {
  std::string file = defaultConfiguration(1033) + "\r\n";
  file.replace(file.find("<all>0</all>"), 12, "<all>0</all><!-- mine -->");
  s.dir.writeConfig(file);
  writeConfig("/config/nickprefs/FGcolor", "#FF8000", s.context);
  std::string expected = file;
  expected.replace(expected.find("<FGcolor>#000000</FGcolor>"), 26, "<FGcolor>#FF8000</FGcolor>");
  expected.resize(expected.size() - 2);  // the file ends with one line end
  EXPECT_EQ(s.dir.readConfig(), expected);
}

TEST_F(ConfigTest, AFailedWriteIsReportedAndTheFileKept) {
  const std::string file = defaultConfiguration(1033) + "\r\n";
  s.dir.writeConfig(file);
  std::filesystem::permissions(s.dir.configFile(), std::filesystem::perms::owner_read);
  writeConfig("/config/suffix", "1", s.context);
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].source, "writeConfig");
  EXPECT_EQ(s.dir.readConfig(), file);
}

TEST_F(ConfigTest, ExportThenImportRestoresEverythingAndRestartsOnce) {
  std::string file = defaultConfiguration(1033) + "\r\n";
  file.replace(file.find("\t</quicknicks>"), 14,
               "<quicknick shortcut=\"a\"><b/>x</quicknick>\t</quicknicks>");
  s.dir.writeConfig(file);
  const std::filesystem::path exported = s.dir.path() / "saved";
  s.dialogs.queueFile(exported.string());
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
  EXPECT_EQ(s.dir.readConfig(), file.substr(0, file.size() - 2));  // the file ends with one line end
  EXPECT_EQ(s.dialogs.fileRequests()[1].title, "Import config");
  EXPECT_EQ(s.dialogs.fileRequests()[1].filterPattern, "*.xml");
}

TEST_F(ConfigTest, AMalformedImportIsAConfigurationErrorAndLeavesTheFile) {
  const std::string file = defaultConfiguration(1033) + "\r\n";
  s.dir.writeConfig(file);
  std::ofstream(s.dir.path() / "bad.xml") << "<config><oops></config>";
  testing::RecordingLifecycle lifecycle;
  s.dialogs.queueFile((s.dir.path() / "bad.xml").string());
  importWithRestart(s.context, lifecycle);
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].kind, "cfg");
  EXPECT_EQ(s.failures.report.reports[0].source, "importConfig");
  EXPECT_EQ(s.dir.readConfig(), file);
  EXPECT_EQ(lifecycle.calls, (std::vector<std::string>{"unloadForms", "initPlugin"}));

  s.dialogs.queueFile((s.dir.path() / "missing.xml").string());
  importWithRestart(s.context, lifecycle);  // the open dialog accepts only existing files
  EXPECT_EQ(lifecycle.calls.size(), 2u);
}

}  // namespace
}  // namespace tessalune::store
