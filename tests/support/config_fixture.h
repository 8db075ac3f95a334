#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/scripted_dialogs.h"
#include "platform/ui_language.h"
#include "platform/xml_document.h"
#include "store/config_file.h"
#include "store/config_targets.h"
#include "store/store_context.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"

namespace tessalune::testing {

// A plug-in folder of its own under the temporary directory, with the Tessalune folder.
class TempPluginDir {
 public:
  TempPluginDir() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("tessalune-" + std::string(test ? test->test_suite_name() : "x") + "-" +
             std::string(test ? test->name() : "y") + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_ / "Tessalune");
  }
  ~TempPluginDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_ / "Tessalune" / "tessalune.xml", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path configFile() const { return path_ / "Tessalune" / "tessalune.xml"; }

  void writeConfig(const std::string& text) const { std::ofstream(configFile(), std::ios::binary) << text; }
  std::string readConfig() const {
    std::ifstream in(configFile(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  // The text of the element at xpath in the configuration file.
  std::string configValue(const std::string& xpath) const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(configFile()));
    return doc.selectSingleNode(xpath).text();
  }

 private:
  std::filesystem::path path_;
};

// The default English configuration as written to disk, each edit's first `from` replaced by its `to`.
inline std::string defaultConfigWith(const std::vector<std::pair<std::string, std::string>>& edits = {}) {
  std::string text = store::defaultConfiguration(platform::language::kEnglish) + "\r\n";
  for (const auto& [from, to] : edits) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
  }
  return text;
}

// The pieces every store routine runs with, recording what it shows and reports.
struct StoreFixture {
  TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  EnglishMessages messages;
  TestFailures failures;
  store::ConfigLock lock;
  store::StoreContext context{dir.path(), dialogs, messages, failures.context, lock};
};

}  // namespace tessalune::testing
