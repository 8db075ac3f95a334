#include "store/config_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "engine/colour.h"
#include "store/import_export.h"
#include "support/config_fixture.h"
#include "support/faulty_file_system.h"
#include "support/quicknick_fields.h"
#include "support/recording_lifecycle.h"

namespace tessalune::store {
namespace {

using testing::defaultConfigWith;

class ConfigTest : public ::testing::Test {
 protected:
  void load() {
    ConfigTargets t{settings, quickNicks, &view, [this](const SettingSet& loaded) {
                      read = loaded;
                      ++applied;
                    }};
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
  testing::QuickNickFields view;
  QuickNickState quickNicks;
  Settings settings;
  SettingSet read;
  int applied = 0;
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
  for (Setting setting : kAllSettings) EXPECT_TRUE(read.has(setting));
  EXPECT_EQ(settings.language, 0);
  EXPECT_EQ(settings.text.BGcolor, engine::hex2rgb("#AED7FF"));
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(quickNicks.count, 0);
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

TEST_F(ConfigTest, MalformedValuesTakeTheirDefaultAndWarnOnce) {
  s.dir.writeConfig(defaultConfigWith({{"<FGtype>1</FGtype>", "<FGtype>3</FGtype>"},
                                       {"<BGtype>0</BGtype>", "<BGtype>5</BGtype>"},
                                       {"<FGgradtype>1</FGgradtype>", "<FGgradtype>0</FGgradtype>"},
                                       {"<FGcolor>#000000</FGcolor>", "<FGcolor>#12345</FGcolor>"},
                                       {"<FGgrad1>#000080</FGgrad1>", "<FGgrad1>#ff00zz</FGgrad1>"},
                                       {"<FGgrad2>#0080FF</FGgrad2>", "<FGgrad2>00080FF</FGgrad2>"},
                                       {"<enabled>0</enabled>", "<enabled>yes</enabled>"}}));
  load();
  EXPECT_EQ(settings.nick.FGtype, engine::StyleKind::Solid);
  EXPECT_EQ(settings.nick.BGtype, engine::StyleKind::None);
  EXPECT_EQ(settings.nick.FGgradtype, engine::GradientPreset::Grad1);
  // A malformed colour is not read: what the window shows is kept.
  EXPECT_FALSE(read.has(Setting::NickFGColour) || read.has(Setting::NickFGGradient2));
  EXPECT_EQ(settings.nick.FGcolor, designPreset().FGcolor);
  EXPECT_EQ(settings.nick.FGgrad2, designPreset().FGgrad2);
  EXPECT_EQ(settings.nick.FGgrad1, engine::makeColour(255, 0, 0));  // lower case accepted, "zz" counts as 0
  EXPECT_EQ(settings.nick.enabled, false);
  EXPECT_EQ(sectionsMissingMessages(), 1);
}

// Each setting is written to its own element and read back into its own field.
TEST_F(ConfigTest, EverySettingWrittenReadsBackTheSame) {
  writeDefaultConfiguration(s.dir.path(), 1033);
  Settings written{true, true, true, 4, true};
  int k = 0;
  for (engine::StylePreset* p : {&written.nick, &written.text}) {
    *p = {true,
          engine::StyleKind::Gradient,
          engine::kGradientPresets[1 + k],
          engine::makeColour(1, k, 1),
          engine::makeColour(2, k, 2),
          engine::makeColour(3, k, 3),
          static_cast<engine::StyleKind>(1 + k),
          engine::kGradientPresets[3 - k],
          engine::makeColour(4, k, 4),
          engine::makeColour(5, k, 5),
          engine::makeColour(6, k, 6)};
    ++k;
  }
  for (Setting setting : kAllSettings) writeSetting(setting, written, s.context);
  load();
  EXPECT_EQ(settings, written);
  EXPECT_TRUE(s.dialogs.shown().empty() && s.failures.report.reports.empty());
}

TEST_F(ConfigTest, AMissingSectionWarnsAndTheRestLoads) {
  const std::string withoutUpdate = defaultConfigWith({{"<update>0</update>", ""}});
  s.dir.writeConfig(withoutUpdate);
  load();
  EXPECT_EQ(sectionsMissingMessages(), 1);
  EXPECT_FALSE(read.has(Setting::Update));
  EXPECT_EQ(settings.language, 1);
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
  // The folder is the user's: an export removes nothing in it but its own temporary file,
  // not even one that looks like what a killed export would leave.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const std::filesystem::path users = s.dir.path() / ("saved.xml.tmp-" + std::to_string(dead));
  const std::filesystem::path ownShape = platform::temporaryPath(s.dir.path() / "saved.xml", dead, "1");
  std::ofstream(users) << "the user's";
  std::ofstream(ownShape) << "the user's too";
  s.dialogs.queueFile((s.dir.path() / "saved").string());
  exportWithDialog(s.context);
  EXPECT_EQ(s.dialogs.shown().back().text, "Config was exported successfully.");
  EXPECT_TRUE(std::filesystem::exists(s.dir.path() / "saved.xml"));  // the default extension
  EXPECT_TRUE(std::filesystem::exists(users));
  EXPECT_TRUE(std::filesystem::exists(ownShape));

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
