#include "update/update_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/english_messages.h"
#include "support/fake_transfer.h"
#include "support/recording_error_report.h"
#include "ui/update_window.h"

namespace tessalune::update {
namespace {

using platform::Icon;
using Strings = std::vector<std::string>;

TEST(UpdateVersionFile, ParsesOnlyDigitDotDigitDotThreeDigits) {
  const std::vector<std::tuple<std::string, std::optional<PluginVersion>>> cases{
      {"2.0.708", PluginVersion{2, 0, 708}},
      {"1.9.012", PluginVersion{1, 9, 12}},
      {"2.1.000\r\n", PluginVersion{2, 1, 0}},
      {"", std::nullopt},
      {"2.1", std::nullopt},
      {"2.1.0000", std::nullopt},
      {"2.1.00", std::nullopt},
      {"2,1,000", std::nullopt},
      {"x.1.000", std::nullopt},
      {"2.1.0a0", std::nullopt},
      {"2.1.000 beta", std::nullopt},
      {"12.1.000", std::nullopt},
      {"<html>404</html>", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    const auto got = parseVersionFile(text);
    ASSERT_EQ(got.has_value(), expected.has_value()) << text;
    if (got) {
      EXPECT_EQ(dottedVersion(*got), dottedVersion(*expected)) << text;
    }
  }
}

TEST(UpdateVersionFile, ComparesMajorThenMinorThenRevision) {
  const std::vector<std::tuple<PluginVersion, bool>> cases{
      {{2, 0, 708}, false}, {{1, 9, 999}, false}, {{2, 1, 0}, true},    {{2, 0, 709}, true},
      {{2, 0, 707}, false}, {{3, 0, 0}, true},    {{1, 99, 999}, false}};
  for (const auto& [remote, newer] : cases) {
    EXPECT_EQ(isNewer(remote, PluginVersion{2, 0, 708}), newer) << dottedVersion(remote);
  }
}

TEST(UpdateFiles, NewsFileFollowsTheLanguageIndexAndDefaultsToEnglish) {
  const std::vector<std::tuple<int, std::string>> cases{
      {0, "TLnewsFR"}, {1, "TLnewsEN"},  {2, "TLnewsNL"}, {3, "TLnewsES"},   {4, "TLnewsCA"},
      {5, "TLnewsIT"}, {-1, "TLnewsEN"}, {6, "TLnewsEN"}, {1036, "TLnewsEN"}};
  for (const auto& [index, name] : cases) EXPECT_EQ(newsFileName(index), name) << index;
}

TEST(UpdateFiles, BaseAddressIsTheDefaultUnlessTheVariableNamesAnAddressEndingInASlash) {
  const auto lookup = [](std::optional<std::string> value) {
    return [value](std::string_view name) -> std::optional<std::string> {
      EXPECT_EQ(name, "TESSALUNE_UPDATE_URL");
      return value;
    };
  };
  const std::string def = "https://tessalune.org/update/";
  EXPECT_EQ(baseAddress(lookup(std::nullopt)), def);
  EXPECT_EQ(baseAddress(nullptr), def);
  for (const char* good : {"http://127.0.0.1:8080/up/", "https://mirror.example/tl/"}) {
    EXPECT_EQ(baseAddress(lookup(good)), good);
  }
  for (const char* bad : {"", "http://127.0.0.1:8080/up", "ftp://mirror.example/", "/tmp/", "http://a b/"}) {
    EXPECT_EQ(baseAddress(lookup(bad)), def) << bad;
  }
}

constexpr const char* kBase = "http://127.0.0.1:9/up/";

struct TestShell : platform::RecordingShell {
  std::optional<std::string> startMinimized(const std::string& program) override {
    RecordingShell::startMinimized(program);
    return failure;
  }
  std::optional<std::string> failure;
};

class UpdateControllerTest : public ::testing::Test {
 protected:
  UpdateController& service() {
    if (!service_) {
      service_ = std::make_unique<UpdateController>(UpdateDependencies{
          window, dialogs, messages, shell, report, dir.path(), [] { return 1; }, server.factory(),
          [this] {
            ++modalShows;
            window.setVisible(true);
            window.hide();
          },
          kBase, PluginVersion{2, 0, 708}, limits});
    }
    return *service_;
  }
  testing::FakeResponse& serve(const std::string& file, const std::string& body, int status = 200) {
    auto& r = server.files[std::string(kBase) + file];
    r = {};
    r.status = status;
    r.body = body;
    r.headers["Content-Length"] = std::to_string(body.size());
    return r;
  }
  void findNewer(const std::string& installer) {
    serve("TLupdate", "2.1.000");
    serve("TLsetup.exe", installer);
    service().btnCheck_Click();
    ASSERT_TRUE(service().newer());
  }
  static std::string installerBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
  }
  std::string readInstaller() const {
    std::ostringstream out;
    out << std::ifstream(service_->installerPath(), std::ios::binary).rdbuf();
    return out.str();
  }
  const platform::ShownMessage& lastMessage() const { return dialogs.shown().back(); }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  TestShell shell;
  testing::RecordingErrorReport report;
  testing::FakeServer server;
  ui::UpdateWindow window;
  int modalShows = 0;
  UpdateLimits limits;
  std::unique_ptr<UpdateController> service_;
};

// Each state's text while the check runs (5 and 7 read alike), then the layout of the result.
TEST_F(UpdateControllerTest, CheckShowsEachStateThenTheResult) {
  for (const auto& [text, result, newer] : std::vector<std::tuple<std::string, std::string, bool>>{
           {"2.0.708", "No update available at this time.", false},
           {"2.0.712\n", "New version available ! (2.0.712)", true}}) {
    ui::UpdateWindow w;
    UpdateController check(
        {w, dialogs, messages, shell, report, dir.path(), nullptr, server.factory(), nullptr, kBase});
    serve("TLupdate", text);
    Strings shown;
    w.lbl_majInfo.setChangeHandler([&] {
      shown.push_back(w.lbl_majInfo.caption());
      EXPECT_FALSE(w.btnCheck.enabled() || w.btnCheck.label().enabled());
    });
    w.btnCheck.click();
    EXPECT_EQ(shown,
              (Strings{"Resolving host...", "Connecting...", "Checking for a new version...", result}));
    EXPECT_EQ(w.lbl_majInfo.bold(), newer);
    EXPECT_EQ(w.btnCheck.visible(), !newer);
    EXPECT_EQ(w.btnNews.visible() && w.btnDwld.visible(), newer);
    EXPECT_FALSE(w.cnt_dwld.visible());
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

// A status of 400 or more arriving as a completed response, or a text that is not a version:
// "Error during search" (133) in red, and the check can be run again.
TEST_F(UpdateControllerTest, ErrorPagesAndBadVersionFilesFailTheCheck) {
  for (const auto& [body, status] : std::vector<std::tuple<std::string, int>>{
           {"2.1.000", 404}, {"2.1.000", 500}, {"2.1.000", 302}, {"2.1", 200}, {"version 2.1.000", 200}}) {
    serve("TLupdate", body, status);
    service().btnCheck_Click();
    EXPECT_EQ(window.lbl_majInfo.caption(), "Error during search") << body << status;
    EXPECT_EQ(window.lbl_majInfo.foreColour(), ui::UpdateWindow::kRed);
    EXPECT_TRUE(window.btnCheck.visible() && window.btnCheck.enabled());
    EXPECT_FALSE(service().newer() || window.btnDwld.visible());
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(UpdateControllerTest, AutomaticCheckTellsOfANewerVersionAndShowsTheWindowOnce) {
  serve("TLupdate", "2.0.708");
  service().startAutomaticCheck();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(service().automaticCheck());
  serve("TLupdate", "2.1.000");
  service().startAutomaticCheck();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(lastMessage().text, "A new version of Tessalune is available ! (2.1.0)");
  EXPECT_EQ(lastMessage().icon, Icon::Information);
  EXPECT_EQ(modalShows, 1);
  EXPECT_FALSE(service().automaticCheck());
}

// An error page, or an installer longer than any (announced or not), is a failed download
// (135) that leaves no file and the download button for another try.
TEST_F(UpdateControllerTest, AnErrorPageOrAnInstallerOverItsLimitIsAFailedDownload) {
  limits.installer = 2000;
  for (const char* failure : {"404", "announced", "unannounced"}) {
    service_.reset();
    dialogs.clear();
    findNewer(installerBytes(std::string(failure) == "404" ? 1000 : 2500));
    auto& file = server.files[std::string(kBase) + "TLsetup.exe"];
    if (std::string(failure) == "404") file.status = 404;
    if (std::string(failure) == "unannounced") file.headers.clear();
    window.btnDwld.click();
    EXPECT_EQ(lastMessage().text, "Error during update's download.") << failure;
    EXPECT_FALSE(service().finished());
    EXPECT_TRUE(window.btnDwld.visible());
    // Nothing was saved: only the download's lock file stays.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "Tessalune"))
      EXPECT_EQ(entry.path().filename(), "download.lock") << failure;
  }
}

// Without a usable length: an empty bar while bytes arrive, full and finished at the end.
TEST_F(UpdateControllerTest, DownloadWithoutAUsableLengthShowsAnIndeterminateProgressAndCompletes) {
  for (const char* header : {"", "abc", "0"}) {
    service_.reset();
    window.btnCancel.setCaption("Cancel");
    const std::string bytes = installerBytes(2500);
    findNewer(bytes);
    auto& r = server.files[std::string(kBase) + "TLsetup.exe"];
    if (*header)
      r.headers["Content-Length"] = header;
    else
      r.headers.clear();
    std::vector<int> widths;
    window.lbl_progress.setChangeHandler([&] { widths.push_back(window.progressBar.width()); });
    window.btnDwld.click();
    window.lbl_progress.setChangeHandler(nullptr);
    EXPECT_EQ(readInstaller(), bytes) << header;
    ASSERT_GE(widths.size(), 3u);
    for (std::size_t i = 0; i + 1 < widths.size(); ++i)
      EXPECT_EQ(widths[i], ui::UpdateWindow::kEmptyProgressWidth);
    EXPECT_EQ(widths.back(), window.progressInnerWidth());
    EXPECT_TRUE(service().finished()) << header;
    EXPECT_EQ(window.lbl_progress.caption(), "2 KB / 2 KB") << header;
  }
}

// A cancel before the response leaves no reading loop to clear it; the next download clears
// it, and the abandoned transfer's late notifications are ignored.
TEST_F(UpdateControllerTest, ANewDownloadClearsACancelLeftFromAnEarlierOne) {
  const std::string bytes = installerBytes(1500);
  findNewer(bytes);
  server.holdStates = true;
  window.btnDwld.click();
  window.btnCancel.click();
  EXPECT_TRUE(service().cancelRequested());
  server.transfers.back()->play();
  EXPECT_EQ(window.lbl_majInfo.caption(), "Download aborted.");
  EXPECT_FALSE(std::filesystem::exists(service().installerPath()));
  window.btnDwld.click();
  EXPECT_FALSE(service().cancelRequested());
  server.transfers.back()->play();
  EXPECT_EQ(readInstaller(), bytes);
  EXPECT_TRUE(service().finished());
}

// Install: 140 with its line breaks as CR LF, or the system's reason when the installer
// cannot be started (the download did not fail: not 135).
TEST_F(UpdateControllerTest, InstallTellsToQuitMessengerOrReportsTheFailure) {
  findNewer(installerBytes(1200));
  window.btnDwld.click();
  ASSERT_TRUE(service().finished());
  window.btnCancel.click();
  EXPECT_EQ(lastMessage().text,
            "You'll have to quit MSN Messenger to update Tessalune.\r\n\r\nTo do that, right-click on "
            "Messenger's taskbar icon, and choose Exit.");
  EXPECT_EQ(lastMessage().icon, Icon::Exclamation);
  shell.failure = "Permission denied";
  window.btnCancel.click();
  EXPECT_EQ(lastMessage().text, "The update's installer could not be started.\r\nPermission denied");
  EXPECT_EQ(lastMessage().icon, Icon::Critical);
  EXPECT_EQ(shell.started.size(), 2u);
}

TEST_F(UpdateControllerTest, UnexpectedFailureWhileDownloadingIsReportedAsDwldAndLeavesNoFile) {
  findNewer(installerBytes(4000));
  server.duringRead = [](testing::FakeTransfer&, std::size_t read) {
    if (read == 2) throw std::runtime_error("disk vanished");
  };
  window.btnDwld.click();
  ASSERT_EQ(report.reports.size(), 1u);
  EXPECT_EQ(report.reports[0].kind, "unknown");
  EXPECT_EQ(report.reports[0].source, "dwld");
  EXPECT_EQ(report.reports[0].line, 0);
  EXPECT_EQ(report.reports[0].description, "disk vanished");
  EXPECT_FALSE(std::filesystem::exists(service().installerPath()));
  EXPECT_FALSE(service().finished());
}

}  // namespace
}  // namespace tessalune::update
