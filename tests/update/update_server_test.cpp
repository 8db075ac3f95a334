// The update window's logic against a real HTTP server on 127.0.0.1, through libcurl.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/english_messages.h"
#include "support/http_test_server.h"
#include "support/recording_error_report.h"
#include "ui/update_window.h"
#include "update/curl_transfer.h"
#include "update/update_controller.h"
#include "views/terminal_driver.h"

namespace tessalune::update {
namespace {

class UpdateServerTest : public ::testing::Test {
 protected:
  std::unique_ptr<UpdateController> makeService() {
    UpdateDependencies deps{window,
                            dialogs,
                            messages,
                            shell,
                            report,
                            dir.path(),
                            [] { return 1; },
                            [this] {
                              auto transfer = std::make_unique<CurlTransfer>();
                              transfer->setEventPump([this](bool bodyStarted) {
                                if (onPump) onPump(bodyStarted);
                              });
                              return transfer;
                            },
                            [this] { ++shownModally; },
                            server.url("/")};
    return std::make_unique<UpdateController>(std::move(deps));
  }
  bool installerSaved() const { return std::filesystem::exists(dir.path() / "Tessalune" / "TLsetup.exe"); }
  bool anyPartialFile() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "Tessalune")) {
      if (entry.path().filename().string().starts_with(".TLsetup.exe.tessalune-")) return true;
    }
    return false;
  }

  test::HttpTestServer server;
  testing::TempPluginDir dir;
  ui::UpdateWindow window;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  platform::RecordingShell shell;
  testing::RecordingErrorReport report;
  std::function<void(bool bodyStarted)> onPump;
  int shownModally = 0;
};

// News is fetched once per life and shown as text: the server's terminal codes are
// replaced, a compressed body is read as what it holds.
TEST_F(UpdateServerTest, NewsIsFetchedOnceAndShownAsText) {
  server.serveBody("/TLupdate", "2.1.000");
  server.serveBody("/TLnewsEN", "\033]0;owned\007Hi\033[2J\r\nbye\xff");
  auto service = makeService();
  service->btnCheck_Click();
  const int before = server.requestCount();
  service->btnNews_Click();
  service->btnNews_Click();
  EXPECT_EQ(server.requestCount(), before + 1);
  EXPECT_EQ(dialogs.shown().back().text, "\uFFFD]0;owned\uFFFDHi\uFFFD[2J\r\nbye\u00FF");

  const std::string news = "Compressed news.";
  std::string gzip(128, '\0');
  z_stream zs{};
  deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(news.data()));
  zs.avail_in = static_cast<uInt>(news.size());
  zs.next_out = reinterpret_cast<Bytef*>(gzip.data());
  zs.avail_out = static_cast<uInt>(gzip.size());
  deflate(&zs, Z_FINISH);
  gzip.resize(zs.total_out);
  deflateEnd(&zs);
  server.serveBody("/TLnewsEN", gzip, {{"Content-Encoding", "gzip"}});
  auto again = makeService();
  again->btnCheck_Click();
  again->btnNews_Click();
  EXPECT_EQ(dialogs.shown().back().text, news);
}

// A 404, a body shorter than announced and a connection cut mid-body leave no file.
TEST_F(UpdateServerTest, AnInstallerThatArrivesIncompleteIsNeverSaved) {
  server.serveBody("/TLupdate", "2.1.000");
  for (int failure = 0; failure < 3; ++failure) {
    if (failure == 0) server.serveStatus("/TLsetup.exe", 404);
    if (failure == 1) server.serveShortBody("/TLsetup.exe", std::string(1000, 'x'), 5000);
    if (failure == 2) server.serveCutChunked("/TLsetup.exe", std::string(5000, 'x'));
    auto again = makeService();
    again->btnCheck_Click();
    again->btnDwld_Click();
    EXPECT_FALSE(again->finished()) << failure;
    EXPECT_FALSE(installerSaved()) << failure;
    EXPECT_FALSE(anyPartialFile()) << failure;
    EXPECT_EQ(dialogs.shown().back().text, "Error during update's download.") << failure;
  }
}

// A download takes a file of its own, created new, and the lock of a lock file only its owner
// can open (never the folder's, which anyone who reaches the folder can take): a second
// download while another process holds it is refused; what a dead download left, or a pipe
// planted where this one's file goes, is removed, never opened (no hang).
TEST_F(UpdateServerTest, DownloadsNeverShareOrFollowAFile) {
  server.serveBody("/TLupdate", "2.1.000");
  server.serveBody("/TLsetup.exe", std::string(3000, 'i'));
  const std::filesystem::path folder = dir.path() / "Tessalune";
  const int folderLock = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(folderLock, LOCK_EX), 0);
  const int other = ::open((folder / "download.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  auto service = makeService();
  service->btnCheck_Click();
  service->btnDwld_Click();
  EXPECT_EQ(dialogs.shown().back().text,
            "Another download of the update is running; try again when it has finished.");
  EXPECT_FALSE(installerSaved());
  ::close(other);

  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  std::ofstream(platform::temporaryPath(folder / "TLsetup.exe", dead, "1")) << "left by a killed download";
  ASSERT_EQ(::mkfifo(platform::temporaryPath(folder / "TLsetup.exe", ::getpid(), "1").c_str(), 0600), 0);
  service->btnDwld_Click();
  EXPECT_TRUE(service->finished());
  EXPECT_FALSE(anyPartialFile());
  ::close(folderLock);
}

// A lock file that another user owns is one that user may hold for ever: the download is
// refused at once, naming it, and nothing is saved.
TEST_F(UpdateServerTest, ADownloadLockOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give the lock file to another user";
  server.serveBody("/TLupdate", "2.1.000");
  server.serveBody("/TLsetup.exe", std::string(3000, 'i'));
  const std::filesystem::path lock = dir.path() / "Tessalune" / "download.lock";
  ::close(::open(lock.c_str(), O_RDWR | O_CREAT, 0600));
  ASSERT_EQ(::chown(lock.c_str(), 65534, 65534), 0);
  auto service = makeService();
  service->btnCheck_Click();
  service->btnDwld_Click();
  EXPECT_EQ(service->failureCause(), lock.string() + " belongs to another user; nothing was written");
  EXPECT_EQ(dialogs.shown().back().text, "Error during update's download.\r\n" + service->failureCause());
  EXPECT_FALSE(service->finished() || installerSaved());
}

// A script's "click btnCancel" after "click btnDwld" is carried out by the terminal's event
// pump once the body has begun to arrive, not after the download.
TEST_F(UpdateServerTest, ATerminalScriptCancelsARunningDownloadThroughTheEventPump) {
  server.serveBody("/TLupdate", "2.1.000");
  server.serveSlowly("/TLsetup.exe", 1024, 200, std::chrono::milliseconds(10));
  auto service = makeService();
  service->btnCheck_Click();
  std::istringstream script("click btnDwld\nclick btnCancel\nclose\n");
  std::ostringstream out;
  platform::TerminalDialogs terminal(out, std::nullopt);
  views::TerminalDriver driver(script, out, terminal, {targets::AnsiMode::Plain, false, false});
  onPump = [&](bool bodyStarted) { driver.pumpEvents(bodyStarted); };
  window.showModal(driver);
  EXPECT_GT(service->received(), 0u);
  EXPECT_LT(service->received(), 200u * 1024);
  EXPECT_EQ(window.lbl_majInfo.caption(), "Download aborted.");
  EXPECT_FALSE(installerSaved() || anyPartialFile());
  EXPECT_EQ(out.str().find("error"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace tessalune::update
