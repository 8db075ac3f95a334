#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "errors/error_report.h"
#include "errors/message_texts.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "ui/update_window.h"
#include "update/download_lock.h"
#include "update/plugin_version.h"
#include "update/transfer.h"

namespace tessalune::update {

// The update server used when nothing overrides it.
inline constexpr std::string_view kDefaultBaseAddress = "https://tessalune.org/update/";
// The environment variable that names a mirror (or a test server) instead.
inline constexpr std::string_view kBaseAddressVariable = "TESSALUNE_UPDATE_URL";

// Looks up an environment variable by name; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The process environment, for the plug-in; tests pass their own lookup.
std::optional<std::string> processEnvironment(std::string_view name);

// The server's base address: the variable's value when it is an http or https address
// ending in "/", otherwise the default.
std::string baseAddress(const EnvironmentLookup& lookup);

// The files on the server.
inline constexpr std::string_view kVersionFile = "TLupdate";
inline constexpr std::string_view kInstallerFile = "TLsetup.exe";

// The news file for an interface-language index of the preferences' language list:
// 0 French, 2 Dutch, 3 Spanish, 4 Catalan, 5 Italian, English for 1 and anything else.
std::string newsFileName(int languageIndex);

// An announced body length: decimal digits only, more than zero and at most 2^31 - 1.
std::optional<std::int64_t> parseContentLength(std::string_view header);

// "1 KB / 3 KB": whole kilobytes received and of the total (bytes / 1024, truncated).
std::string progressText(std::int64_t received, std::int64_t total);

// The text with every two-character sequence backslash-n replaced by CR LF.
std::string expandLineBreaks(std::string_view text);

// What the update window's logic works with. The plug-in owns all of it.
// The longest bodies read from the server; a longer one is a failed transfer (message 135
// for the installer, whose partial file is deleted).
struct UpdateLimits {
  static constexpr std::size_t kVersionBytes = 64u << 10;
  static constexpr std::size_t kNewsBytes = 1u << 20;
  static constexpr std::size_t kInstallerBytes = 64u << 20;
  std::size_t version = kVersionBytes;
  std::size_t news = kNewsBytes;
  std::size_t installer = kInstallerBytes;
};

struct UpdateDependencies {
  ui::UpdateWindow& window;
  platform::Dialogs& dialogs;
  const errors::MessageTexts& messages;
  platform::Shell& shell;
  errors::ErrorReport& report;
  std::filesystem::path pluginDir;     // the installer goes to <pluginDir>/Tessalune/TLsetup.exe
  std::function<int()> languageIndex;  // the preferences' language list position
  std::function<std::unique_ptr<Transfer>()> makeTransfer;  // one per kind of transfer, made once
  std::function<void()> showWindowModally;                  // after an automatic check finds a newer version
  std::string baseAddress = std::string(kDefaultBaseAddress);
  PluginVersion installed = kPluginVersion;
  UpdateLimits limits = {};
};

// The controller of frmUpd: the check, the news, the download and the install. It wires the
// window's buttons to itself and keeps what the window keeps (the last check's result,
// the news, the download's progress) for as long as the plug-in owns it.
class UpdateController {
 public:
  explicit UpdateController(UpdateDependencies deps);
  ~UpdateController();
  UpdateController(const UpdateController&) = delete;
  UpdateController& operator=(const UpdateController&) = delete;

  // Writes the installed version into lbl_majVer ("2.0.708").
  void writeVersionLabel();
  // The check at start-up: marks it automatic, then runs btnCheck_Click with the window hidden.
  // keepWaiting, when given, is asked while the check waits for the network: when it says no,
  // the check is abandoned as failed, so that a host gives way to its user at once.
  void startAutomaticCheck(const std::function<bool()>& keepWaiting = {});

  // The buttons' actions, as their clicks run them.
  void btnCheck_Click();
  void btnNews_Click();
  void btnDwld_Click();
  void btnCancel_Click();

  bool automaticCheck() const { return automaticCheck_; }
  bool newer() const { return newer_; }
  const PluginVersion& remote() const { return remote_; }
  const std::string& news() const { return news_; }
  bool finished() const { return finished_; }
  // Why the last check or download failed, as its transfer said; empty when none failed.
  const std::string& failureCause() const { return failureCause_; }
  bool cancelRequested() const { return cancelRequested_; }
  std::int64_t totalLength() const { return totalLength_; }  // -1: not announced
  std::int64_t received() const { return received_; }
  // Where the installer is saved.
  std::filesystem::path installerPath() const;

 private:
  Transfer& transfer(std::unique_ptr<Transfer>& slot, void (UpdateController::*onState)(TransferState));
  std::string message(int id) const { return deps_.messages.message(id); }
  std::string remoteVersionText() const;  // " (2.1.0)"

  void onCheckState(TransferState state);
  void checkFailed();
  void checkCompleted();
  void onNewsState(TransferState state);
  void newsFailed();
  void onDownloadState(TransferState state);
  void downloadCompleted(std::uint64_t generation);
  void downloadFailed(bool tell);
  void showProgress();
  void showNewerFound();
  void leaveDownloadPanel();
  void enableCheck(bool enabled);
  void enableNews(bool enabled);
  std::filesystem::path partialPath(std::uint64_t generation) const;
  std::filesystem::path lockPath() const;
  // Reads a text body chunk by chunk; nothing when it fails or is longer than max.
  std::optional<std::string> readText(Transfer& t, std::size_t max);

  UpdateDependencies deps_;
  std::unique_ptr<Transfer> netCheck_, netNews_, netDwld_;

  bool automaticCheck_ = false;
  bool checkRunning_ = false;  // the check's transfer is running: its notifications count
  bool newsRunning_ = false;   // the same for the news
  PluginVersion remote_{0, 0, 0};
  bool newer_ = false;
  std::string news_;
  std::int64_t totalLength_ = -1;
  std::int64_t received_ = 0;
  bool cancelRequested_ = false;
  bool finished_ = false;
  std::string failureCause_;
  std::string cancelCaption_;     // btnCancel's caption while it cancels
  bool downloading_ = false;      // a download is running: its notifications count
  DownloadLock downloadLock_;     // held from a download's start to its end
  std::uint64_t generation_ = 0;  // which download the notifications belong to
};

}  // namespace tessalune::update
