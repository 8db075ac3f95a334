#include "update/update_service.h"

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
using ui::PluginVersion;

// --- The pieces the window's logic is made of ---------------------------------------------

TEST(UpdateVersionFile, ParsesOnlyDigitDotDigitDotThreeDigits) {
  const std::vector<std::tuple<std::string, std::optional<PluginVersion>>> cases{
      {"2.0.708", PluginVersion{2, 0, 708}},
      {"2.1.000", PluginVersion{2, 1, 0}},
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
    const std::optional<PluginVersion> got = parseVersionFile(text);
    ASSERT_EQ(got.has_value(), expected.has_value()) << text;
    if (got) {
      EXPECT_EQ(ui::dottedVersion(*got), ui::dottedVersion(*expected)) << text;
    }
  }
}

TEST(UpdateVersionFile, ComparesMajorThenMinorThenRevision) {
  const PluginVersion installed{2, 0, 708};
  const std::vector<std::tuple<PluginVersion, bool>> cases{
      {{2, 0, 708}, false}, {{1, 9, 999}, false}, {{2, 1, 0}, true},    {{2, 0, 709}, true},
      {{2, 0, 707}, false}, {{3, 0, 0}, true},    {{1, 99, 999}, false}};
  for (const auto& [remote, newer] : cases) {
    EXPECT_EQ(isNewer(remote, installed), newer) << ui::dottedVersion(remote);
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
  EXPECT_EQ(baseAddress(lookup(std::nullopt)), "https://tessalune.org/update/");
  EXPECT_EQ(baseAddress(nullptr), "https://tessalune.org/update/");
  EXPECT_EQ(baseAddress(lookup("http://127.0.0.1:8080/up/")), "http://127.0.0.1:8080/up/");
  EXPECT_EQ(baseAddress(lookup("https://mirror.example/tl/")), "https://mirror.example/tl/");
  for (const char* bad : {"", "http://127.0.0.1:8080/up", "ftp://mirror.example/", "/tmp/", "http://a b/"}) {
    EXPECT_EQ(baseAddress(lookup(bad)), "https://tessalune.org/update/") << bad;
  }
}

TEST(UpdateFiles, ContentLengthIsAPositiveDecimalOrNothing) {
  const std::vector<std::tuple<std::string, std::optional<std::int64_t>>> cases{{"3000", 3000},
                                                                                {" 42 ", 42},
                                                                                {"0", std::nullopt},
                                                                                {"", std::nullopt},
                                                                                {"-5", std::nullopt},
                                                                                {"12abc", std::nullopt},
                                                                                {"1e3", std::nullopt},
                                                                                {"99999999999", std::nullopt},
                                                                                {"2147483647", 2147483647},
                                                                                {"2147483648", std::nullopt}};
  for (const auto& [header, expected] : cases) EXPECT_EQ(parseContentLength(header), expected) << header;
}

TEST(UpdateFiles, LabelsAndLineBreaks) {
  EXPECT_EQ(progressText(0, 5000), "0 KB / 4 KB");
  EXPECT_EQ(progressText(2047, 2048), "1 KB / 2 KB");
  EXPECT_EQ(expandLineBreaks("a\\n\\nb\\"), "a\r\n\r\nb\\");
  EXPECT_EQ(expandLineBreaks("no breaks"), "no breaks");
}

// --- The window's logic against a scripted server -------------------------------------------

constexpr const char* kBase = "http://127.0.0.1:9/up/";

class UpdateServiceTest : public ::testing::Test {
 protected:
  UpdateService& service() {
    if (!service_) {
      service_ = std::make_unique<UpdateService>(UpdateDependencies{
          window, dialogs, messages, shell, report, dir.path(), [this] { return language; }, server.factory(),
          [this] {
            ++modalShows;
            window.setVisible(true);
            window.hide();
          },
          kBase, PluginVersion{2, 0, 708}});
    }
    return *service_;
  }
  void serve(const std::string& file, const std::string& body, int status = 200) {
    testing::FakeResponse r;
    r.status = status;
    r.body = body;
    r.headers["Content-Length"] = std::to_string(body.size());
    server.files[std::string(kBase) + file] = r;
  }
  testing::FakeResponse& response(const std::string& file) { return server.files[std::string(kBase) + file]; }
  // A check that finds 2.1.000, the installer ready on the server.
  void findNewer(const std::string& installer) {
    serve("TLupdate", "2.1.000");
    serve("TLsetup.exe", installer);
    service().btnCheck_Click();
    ASSERT_TRUE(service().newer());
  }
  static std::string installerBytes(std::size_t size = 3000) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
  }
  std::string readInstaller() const {
    std::ifstream in(service_->installerPath(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  // The files left in the plug-in's data folder other than its configuration.
  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "Tessalune")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  const platform::ShownMessage& lastMessage() const { return dialogs.shown().back(); }

  // The download-failed layout: news and download offered again, the newer version in bold.
  void expectDownloadFailedLayout(const std::string& totalKb) {
    EXPECT_TRUE(window.btnNews.visible() && window.btnDwld.visible() && window.lbl_majInfo.visible());
    EXPECT_FALSE(window.cnt_dwld.visible() || window.cnt_progressBar.visible() || window.btnCancel.visible());
    EXPECT_EQ(window.lbl_majInfo.caption(), "New version available ! (2.1.0)");
    EXPECT_TRUE(window.lbl_majInfo.bold());
    EXPECT_EQ(window.lbl_majInfo.foreColour(), ui::UpdateWindow::kButtonText);
    EXPECT_EQ(window.lbl_progress.caption(), "0 KB / " + totalKb + " KB");
    EXPECT_EQ(window.progressBar.width(), ui::UpdateWindow::kEmptyProgressWidth);
    EXPECT_FALSE(service_->finished());
    EXPECT_FALSE(std::filesystem::exists(service_->installerPath()));
    EXPECT_TRUE(leftovers().empty());
  }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  platform::RecordingShell shell;
  testing::RecordingErrorReport report;
  testing::FakeServer server;
  ui::UpdateWindow window;
  int language = 1;
  int modalShows = 0;
  std::unique_ptr<UpdateService> service_;
};

TEST_F(UpdateServiceTest, WritesTheInstalledVersionAndWiresTheButtonsUntilDestroyed) {
  service();
  EXPECT_EQ(window.lbl_majVer.caption(), "2.0.708");
  serve("TLupdate", "2.0.708");
  window.btnCheck.label().click();
  EXPECT_EQ(server.requests, std::vector<std::string>{std::string(kBase) + "TLupdate"});
  service_.reset();
  window.btnCheck.click();
  window.btnCancel.click();
  EXPECT_EQ(server.requests.size(), 1u);
}

// The three cases of a check: equal and older versions are not newer, a newer minor is.
TEST_F(UpdateServiceTest, CheckReportsEachStateThenTheResult) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases{
      {"2.0.708", "No update available at this time.", false},
      {"1.9.999", "No update available at this time.", false},
      {"2.1.000", "New version available ! (2.1.0)", true},
      {"2.0.712\n", "New version available ! (2.0.712)", true}};
  for (const auto& [text, result, newer] : cases) {
    ui::UpdateWindow fresh;
    UpdateService check({fresh, dialogs, messages, shell, report, dir.path(), nullptr, server.factory(),
                         [this] { ++modalShows; }, kBase});
    serve("TLupdate", text);
    std::vector<std::string> shown;
    fresh.lbl_majInfo.setChangeHandler([&] {
      shown.push_back(fresh.lbl_majInfo.caption());
      EXPECT_FALSE(fresh.btnCheck.enabled() || fresh.btnCheck.label().enabled());
    });
    fresh.btnCheck.click();
    // States 5 and 7 show the same text.
    EXPECT_EQ(shown, (std::vector<std::string>{"Resolving host...", "Connecting...",
                                               "Checking for a new version...", result}))
        << text;
    EXPECT_EQ(check.newer(), newer);
    EXPECT_EQ(fresh.lbl_majInfo.bold(), newer);
    EXPECT_EQ(fresh.btnCheck.visible(), !newer);
    EXPECT_EQ(fresh.btnCheck.enabled(), !newer);  // hidden once a newer version is found
    EXPECT_EQ(fresh.btnNews.visible() && fresh.btnDwld.visible(), newer);
    EXPECT_FALSE(fresh.cnt_dwld.visible());
  }
  EXPECT_TRUE(dialogs.shown().empty());  // a check from the window says nothing outside it
  EXPECT_EQ(modalShows, 0);
}

// An error page, a failed connection, a text that is not a version: red message 133, and the
// check can be run again.
TEST_F(UpdateServiceTest, CheckFailsVisiblyOnErrorsAndOnAnythingButAVersion) {
  std::vector<std::function<void()>> failures{[&] { serve("TLupdate", "2.1.000", 404); },
                                              [&] { serve("TLupdate", "2.1.000", 500); },
                                              [&] {
                                                serve("TLupdate", "2.1.000", 403);
                                                response("TLupdate").errorStatusAsFailure = true;
                                              },
                                              [&] { response("TLupdate").connectionFails = true; },
                                              [&] { serve("TLupdate", "2.1"); },
                                              [&] { serve("TLupdate", "version 2.1.000"); },
                                              [&] { serve("TLupdate", std::string(100000, '2')); },
                                              [&] {
                                                serve("TLupdate", "2.1.000");
                                                response("TLupdate").closeAfter = 4;
                                              },
                                              [&] { server.files.clear(); }};
  for (std::size_t i = 0; i < failures.size(); ++i) {
    server.files.clear();
    failures[i]();
    service().startAutomaticCheck();
    EXPECT_EQ(window.lbl_majInfo.caption(), "Error during search") << i;
    EXPECT_EQ(window.lbl_majInfo.foreColour(), ui::UpdateWindow::kRed) << i;
    EXPECT_TRUE(window.btnCheck.enabled() && window.btnCheck.label().enabled()) << i;
    EXPECT_TRUE(window.btnCheck.visible()) << i;
    EXPECT_FALSE(service().newer() || window.btnNews.visible() || window.btnDwld.visible()) << i;
    EXPECT_FALSE(service().automaticCheck()) << i;
  }
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(modalShows, 0);
  serve("TLupdate", "2.0.708");
  window.btnCheck.click();
  EXPECT_EQ(window.lbl_majInfo.caption(), "No update available at this time.");
  EXPECT_EQ(window.lbl_majInfo.foreColour(), ui::UpdateWindow::kButtonText);
}

TEST_F(UpdateServiceTest, AutomaticCheckTellsOfANewerVersionAndShowsTheWindowOnce) {
  serve("TLupdate", "2.0.708");
  service().startAutomaticCheck();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(modalShows, 0);
  EXPECT_FALSE(service().automaticCheck());

  serve("TLupdate", "2.1.000");
  service().startAutomaticCheck();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(lastMessage().text, "A new version of Tessalune is available ! (2.1.0)");
  EXPECT_EQ(lastMessage().icon, Icon::Information);
  EXPECT_EQ(lastMessage().title, "Tessalune");
  EXPECT_EQ(modalShows, 1);
  EXPECT_FALSE(service().automaticCheck());
}

TEST_F(UpdateServiceTest, CheckButtonStaysDisabledWhileItsTransferRuns) {
  serve("TLupdate", "2.0.708");
  server.holdStates = true;
  service().btnCheck_Click();
  EXPECT_FALSE(window.btnCheck.enabled() || window.btnCheck.label().enabled());
  window.btnCheck.click();  // a disabled button takes no click
  EXPECT_EQ(server.requests.size(), 1u);
  server.transfers.front()->play();
  EXPECT_TRUE(window.btnCheck.enabled());
}

TEST_F(UpdateServiceTest, NewsOfTheInterfaceLanguageIsFetchedOnceAndShownUnchanged) {
  findNewer(installerBytes());
  language = 0;
  serve("TLnewsFR", "Nouveautés :\r\n- dégradés");
  serve("TLnewsEN", "English news");
  window.btnNews.label().click();
  window.btnNews.click();
  language = 1;
  window.btnNews.click();
  EXPECT_EQ(server.requests.back(), std::string(kBase) + "TLnewsFR");
  EXPECT_EQ(server.requests.size(), 2u);  // the check, then the news once
  ASSERT_EQ(dialogs.shown().size(), 3u);
  for (const platform::ShownMessage& m : dialogs.shown()) {
    EXPECT_EQ(m.text, "Nouveautés :\r\n- dégradés");
    EXPECT_EQ(m.icon, Icon::Information);
  }
  EXPECT_TRUE(window.btnNews.enabled() && window.btnNews.label().enabled());
}

// A failed news transfer, an error page or a broken body is never news: message 134, and
// the next click asks again.
TEST_F(UpdateServiceTest, FailedNewsShowsTheErrorAndIsAskedForAgain) {
  findNewer(installerBytes());
  language = 3;
  std::vector<std::function<void()>> failures{[&] { serve("TLnewsES", "Not here", 404); },
                                              [&] { response("TLnewsES").connectionFails = true; },
                                              [&] {
                                                serve("TLnewsES", "Novedades completas");
                                                response("TLnewsES").closeAfter = 3;
                                              }};
  for (auto& fail : failures) {
    fail();
    dialogs.clear();
    window.btnNews.click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(lastMessage().text, "Error during News's download.");
    EXPECT_EQ(lastMessage().icon, Icon::Critical);
    EXPECT_TRUE(service().news().empty());
    EXPECT_TRUE(window.btnNews.enabled());
  }
  serve("TLnewsES", "Novedades");
  window.btnNews.click();
  EXPECT_EQ(lastMessage().text, "Novedades");
  EXPECT_EQ(server.requests.back(), std::string(kBase) + "TLnewsES");
}

TEST_F(UpdateServiceTest, DownloadSavesTheInstallerByteForByteAndOffersToInstall) {
  const std::string bytes = installerBytes(2600);
  findNewer(bytes);
  std::vector<std::string> statuses, progress;
  std::vector<int> widths;
  window.lbl_status.setChangeHandler([&] { statuses.push_back(window.lbl_status.caption()); });
  window.lbl_progress.setChangeHandler([&] {
    progress.push_back(window.lbl_progress.caption());
    widths.push_back(window.progressBar.width());
  });
  window.btnDwld.label().click();

  EXPECT_EQ(server.requests.back(), std::string(kBase) + "TLsetup.exe");
  EXPECT_EQ(readInstaller(), bytes);
  EXPECT_EQ(leftovers(), std::vector<std::string>{"TLsetup.exe"});
  EXPECT_EQ(server.transfers.back()->largestRead, 1024u);
  EXPECT_EQ(statuses, (std::vector<std::string>{"Resolving host...", "Connecting...", "Requesting file...",
                                                "Downloading (v 2.1.0)", "Finished"}));
  EXPECT_EQ(progress, (std::vector<std::string>{"0 KB / 2 KB", "1 KB / 2 KB", "2 KB / 2 KB"}));
  const int inner = window.progressInnerWidth();
  ASSERT_GT(inner, 0);
  EXPECT_EQ(widths.front(), 0);
  EXPECT_EQ(window.progressBar.width(), inner);
  EXPECT_TRUE(service().finished());
  EXPECT_EQ(window.btnCancel.caption(), "Install");
  EXPECT_TRUE(window.cnt_dwld.visible() && window.cnt_progressBar.visible() && window.btnCancel.visible());
  EXPECT_FALSE(window.btnNews.visible() || window.btnDwld.visible() || window.lbl_majInfo.visible());
  EXPECT_TRUE(dialogs.shown().empty());

  window.btnCancel.click();
  EXPECT_EQ(shell.started, std::vector<std::string>{(dir.path() / "Tessalune" / "TLsetup.exe").string()});
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(lastMessage().text,
            "You'll have to quit MSN Messenger to update Tessalune.\r\n\r\nTo do that, right-click on "
            "Messenger's taskbar icon, and choose Exit.");
  EXPECT_EQ(lastMessage().icon, Icon::Exclamation);
}

// A body shorter than announced, a connection that closes, an error page with a body of the
// announced length, a failed transfer: message 135, nothing saved, the buttons offered again.
TEST_F(UpdateServiceTest, AnythingButTheWholeAnnouncedBodyIsAFailedDownloadThatLeavesNoFile) {
  findNewer(installerBytes());
  std::vector<std::function<void()>> failures{
      [&] { response("TLsetup.exe").headers["Content-Length"] = "5000"; },
      [&] { response("TLsetup.exe").closeAfter = 2048; },
      [&] { response("TLsetup.exe").status = 404; },
      [&] {
        response("TLsetup.exe").status = 500;
        response("TLsetup.exe").errorStatusAsFailure = true;
      },
      [&] { response("TLsetup.exe").connectionFails = true; },
      [&] { response("TLsetup.exe").headers["Content-Length"] = "2000"; },
      [&] {
        response("TLsetup.exe").headers.clear();  // no length to compare: the broken connection tells
        response("TLsetup.exe").closeAfter = 2048;
      }};
  for (std::size_t i = 0; i < failures.size(); ++i) {
    serve("TLsetup.exe", installerBytes());
    failures[i]();
    // An installer saved earlier is not left to be taken for this one.
    std::ofstream(dir.path() / "Tessalune" / "TLsetup.exe", std::ios::binary) << "old";
    dialogs.clear();
    window.btnDwld.click();
    ASSERT_EQ(dialogs.shown().size(), 1u) << i;
    EXPECT_EQ(lastMessage().text, "Error during update's download.") << i;
    EXPECT_EQ(lastMessage().icon, Icon::Critical) << i;
    expectDownloadFailedLayout(std::vector<std::string>{"4", "2", "0", "0", "0", "1", "0"}[i]);
    window.btnCancel.click();  // hidden and not finished: nothing to install
    EXPECT_TRUE(shell.started.empty()) << i;
  }
  // The failure the transfer reports once the reading handler has returned changes nothing.
  dialogs.clear();
  server.transfers.back()->raise(11);
  EXPECT_TRUE(dialogs.shown().empty());
}

// Without a usable length the download runs with an empty bar and a count of what arrived.
TEST_F(UpdateServiceTest, DownloadWithoutAUsableLengthShowsAnIndeterminateProgressAndCompletes) {
  for (const char* header : {"", "abc", "0"}) {
    const std::string bytes = installerBytes(2500);
    findNewer(bytes);
    if (*header) {
      response("TLsetup.exe").headers["Content-Length"] = header;
    } else {
      response("TLsetup.exe").headers.clear();
    }
    std::vector<int> widths;
    window.lbl_progress.setChangeHandler([&] { widths.push_back(window.progressBar.width()); });
    window.btnDwld.click();
    EXPECT_EQ(readInstaller(), bytes) << header;
    // Empty while the total is unknown; full once the download is complete.
    ASSERT_GE(widths.size(), 3u);
    for (std::size_t i = 0; i + 1 < widths.size(); ++i) {
      EXPECT_EQ(widths[i], ui::UpdateWindow::kEmptyProgressWidth) << header;
    }
    EXPECT_EQ(widths.back(), window.progressInnerWidth());
    EXPECT_TRUE(service().finished()) << header;
    EXPECT_EQ(window.lbl_progress.caption(), "2 KB / 2 KB") << header;
    window.lbl_progress.setChangeHandler(nullptr);
    // Found again: the window goes back to offering news and download.
    service_.reset();
    window.btnCancel.setCaption("Cancel");
    std::filesystem::remove(dir.path() / "Tessalune" / "TLsetup.exe");
  }
}

TEST_F(UpdateServiceTest, CancelInTheMiddleDeletesThePartialFileAndDownloadingAgainWorks) {
  const std::string bytes = installerBytes(5000);
  findNewer(bytes);
  server.duringRead = [&](testing::FakeTransfer&, std::size_t read) {
    if (read == 3) window.btnCancel.click();
  };
  window.btnDwld.click();
  EXPECT_TRUE(leftovers().empty());
  EXPECT_EQ(window.lbl_majInfo.caption(), "Download aborted.");
  EXPECT_EQ(window.lbl_majInfo.foreColour(), ui::UpdateWindow::kRed);
  EXPECT_FALSE(window.lbl_majInfo.bold());
  EXPECT_TRUE(window.lbl_majInfo.visible() && window.btnNews.visible() && window.btnDwld.visible());
  EXPECT_FALSE(window.cnt_dwld.visible() || window.cnt_progressBar.visible() || window.btnCancel.visible());
  EXPECT_EQ(window.lbl_progress.caption(), "0 KB / 4 KB");
  EXPECT_EQ(window.progressBar.width(), ui::UpdateWindow::kEmptyProgressWidth);
  EXPECT_GE(server.transfers.back()->cancels, 1);
  EXPECT_FALSE(service().cancelRequested());
  EXPECT_TRUE(dialogs.shown().empty());

  server.duringRead = nullptr;
  window.btnDwld.click();
  EXPECT_EQ(readInstaller(), bytes);
  EXPECT_TRUE(service().finished());
}

// A cancel before the response arrives leaves no reading loop to clear it; the next download
// clears it, and the abandoned transfer's late notifications are not taken for the new one.
TEST_F(UpdateServiceTest, ANewDownloadClearsACancelLeftFromAnEarlierOne) {
  const std::string bytes = installerBytes(1500);
  findNewer(bytes);
  server.holdStates = true;
  window.btnDwld.click();
  window.btnCancel.click();
  EXPECT_TRUE(service().cancelRequested());
  server.transfers.back()->play();  // late: ignored
  EXPECT_EQ(window.lbl_majInfo.caption(), "Download aborted.");
  EXPECT_FALSE(std::filesystem::exists(service().installerPath()));

  window.btnDwld.click();
  EXPECT_FALSE(service().cancelRequested());
  server.transfers.back()->play();
  EXPECT_EQ(readInstaller(), bytes);
  EXPECT_TRUE(service().finished());
}

TEST_F(UpdateServiceTest, UnexpectedFailureWhileDownloadingIsReportedAsDwldAndLeavesNoFile) {
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
  EXPECT_TRUE(leftovers().empty());
  EXPECT_FALSE(service().finished());
  EXPECT_TRUE(window.btnDwld.visible());
}

}  // namespace
}  // namespace tessalune::update
