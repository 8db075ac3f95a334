#include "update/update_controller.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/utf8.h"
#include "errors/message_ids.h"
#include "errors/routine_guard.h"
#include "errors/step_marker.h"
#include "platform/file_system.h"

namespace tessalune::update {

namespace msg = errors::msg;

namespace {

// Only a 2xx answer carries the file asked for: an error page, or a redirect that could
// not be followed, is no version, no news and no installer.
bool succeeded(const Transfer& t) {
  return t.httpStatus() >= 200 && t.httpStatus() < 300;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

std::optional<std::string> processEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string baseAddress(const EnvironmentLookup& lookup) {
  if (lookup) {
    if (const std::optional<std::string> value = lookup(kBaseAddressVariable)) {
      const std::string& v = *value;
      const bool http = v.starts_with("http://") || v.starts_with("https://");
      if (http && v.ends_with("/") && v.find_first_of(" \t\r\n") == std::string::npos) return v;
    }
  }
  return std::string(kDefaultBaseAddress);
}

std::string newsFileName(int languageIndex) {
  switch (languageIndex) {
    case 0:
      return "TLnewsFR";
    case 2:
      return "TLnewsNL";
    case 3:
      return "TLnewsES";
    case 4:
      return "TLnewsCA";
    case 5:
      return "TLnewsIT";
    default:
      return "TLnewsEN";
  }
}

std::optional<std::int64_t> parseContentLength(std::string_view header) {
  while (!header.empty() && std::isspace(static_cast<unsigned char>(header.front()))) header.remove_prefix(1);
  while (!header.empty() && std::isspace(static_cast<unsigned char>(header.back()))) header.remove_suffix(1);
  if (header.empty() || header.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (char c : header) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value <= 0 || value > INT32_MAX) return std::nullopt;
  return value;
}

std::string progressText(std::int64_t received, std::int64_t total) {
  return std::to_string(received / 1024) + " KB / " + std::to_string(total / 1024) + " KB";
}

std::string expandLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

UpdateController::UpdateController(UpdateDependencies deps) : deps_(std::move(deps)) {
  ui::UpdateWindow& w = deps_.window;
  w.btnCheck.setClickHandler([this] { btnCheck_Click(); });
  w.btnNews.setClickHandler([this] { btnNews_Click(); });
  w.btnDwld.setClickHandler([this] { btnDwld_Click(); });
  w.btnCancel.setClickHandler([this] { btnCancel_Click(); });
  writeVersionLabel();
}

UpdateController::~UpdateController() {
  ui::UpdateWindow& w = deps_.window;
  for (ui::Control* c : {static_cast<ui::Control*>(&w.btnCheck), static_cast<ui::Control*>(&w.btnNews),
                         static_cast<ui::Control*>(&w.btnDwld), static_cast<ui::Control*>(&w.btnCancel)}) {
    c->setClickHandler(nullptr);
  }
  for (std::unique_ptr<Transfer>* t : {&netCheck_, &netNews_, &netDwld_}) {
    if (*t) (*t)->setStateHandler(nullptr);
  }
  if (downloading_) {
    if (netDwld_) netDwld_->cancel();
    removeQuietly(partialPath(generation_));
  }
}

void UpdateController::writeVersionLabel() {
  deps_.window.lbl_majVer.setCaption(dottedVersion(deps_.installed));
}

void UpdateController::startAutomaticCheck(const std::function<bool()>& keepWaiting) {
  automaticCheck_ = true;
  if (!keepWaiting) return btnCheck_Click();
  Transfer& t = transfer(netCheck_, &UpdateController::onCheckState);
  // The pump asks the host between polls, for as long as the check is the automatic one
  // (a window it opens runs checks of its own).
  struct PumpScope {
    Transfer& t;
    Transfer::EventPump hostPump = t.eventPump();
    ~PumpScope() { t.setEventPump(hostPump); }
  } scope{t};
  bool abandoned = false;
  t.setEventPump([&](bool bodyStarted) {
    if (scope.hostPump) scope.hostPump(bodyStarted);
    if (automaticCheck_ && !abandoned && !keepWaiting()) {
      abandoned = true;
      t.cancel();
    }
  });
  btnCheck_Click();
  // A cancel is not notified: the check that was running ends here.
  if (abandoned && checkRunning_) checkFailed();
}

std::filesystem::path UpdateController::installerPath() const {
  return deps_.pluginDir / "Tessalune" / std::string(kInstallerFile);
}

// Unique to the process and the download, so that no two writers share it; a dead
// process's is recognised and removed by the next download.
std::filesystem::path UpdateController::partialPath(std::uint64_t generation) const {
  return platform::temporaryPath(installerPath(), ::getpid(), std::to_string(generation));
}

std::filesystem::path UpdateController::lockPath() const {
  return installerPath().parent_path() / "download.lock";
}

Transfer& UpdateController::transfer(std::unique_ptr<Transfer>& slot,
                                     void (UpdateController::*onState)(TransferState)) {
  if (!slot) {
    slot = deps_.makeTransfer();
    slot->setStateHandler([this, onState](TransferState state) { (this->*onState)(state); });
  }
  return *slot;
}

std::string UpdateController::remoteVersionText() const {
  return " (" + dottedVersion(remote_) + ")";
}

std::optional<std::string> UpdateController::readText(Transfer& t, std::size_t max) {
  std::string text;
  for (;;) {
    const std::string chunk = t.getChunkText(1024);
    if (chunk.empty()) break;
    text += chunk;
    if (text.size() > max) {
      t.cancel();
      failureCause_ = largerThanCause(max);
      return std::nullopt;
    }
  }
  if (t.failed() || !succeeded(t)) return std::nullopt;
  return text;
}

void UpdateController::enableCheck(bool enabled) {
  deps_.window.btnCheck.setEnabled(enabled);
  deps_.window.btnCheck.label().setEnabled(enabled);
}

void UpdateController::enableNews(bool enabled) {
  deps_.window.btnNews.setEnabled(enabled);
  deps_.window.btnNews.label().setEnabled(enabled);
}

// --- The check -------------------------------------------------------------------------

void UpdateController::btnCheck_Click() {
  enableCheck(false);
  checkRunning_ = true;
  failureCause_.clear();
  // The request goes last: a transfer may report its states before request() returns.
  Transfer& t = transfer(netCheck_, &UpdateController::onCheckState);
  t.setMaxBodyBytes(deps_.limits.version);
  t.setPace(Transfer::Pace::Whole);
  t.request(deps_.baseAddress + std::string(kVersionFile));
}

void UpdateController::onCheckState(TransferState state) {
  // A failure reported after the check has been handled (found while reading) is not news.
  if (!checkRunning_) return;
  // An unexpected failure ends the handling silently, the buttons as they are.
  try {
    ui::StyledLabel& info = deps_.window.lbl_majInfo;
    info.setForeColour(ui::UpdateWindow::kButtonText);
    switch (state) {
      case TransferState::Resolving:
        info.setCaption(message(msg::kResolvingHost));
        break;
      case TransferState::Connecting:
        info.setCaption(message(msg::kConnecting));
        break;
      case TransferState::Requesting:
      case TransferState::Receiving:
        info.setCaption(message(msg::kCheckingVersion));
        break;
      case TransferState::Error:
        checkFailed();
        break;
      case TransferState::Completed:
        checkCompleted();
        break;
      default:
        break;
    }
  } catch (...) {
  }
}

void UpdateController::checkFailed() {
  if (netCheck_ && !netCheck_->failureCause().empty()) failureCause_ = netCheck_->failureCause();
  checkRunning_ = false;
  automaticCheck_ = false;
  ui::StyledLabel& info = deps_.window.lbl_majInfo;
  info.setForeColour(ui::UpdateWindow::kRed);
  info.setBold(false);
  info.setCaption(message(msg::kSearchFailed));
  enableCheck(true);
}

void UpdateController::checkCompleted() {
  checkRunning_ = false;
  // A server's error page is never a version, nor is any text but "digit.digit.ddd".
  Transfer& t = *netCheck_;
  if (!succeeded(t)) return checkFailed();
  const std::optional<std::string> body = readText(t, deps_.limits.version);
  const std::optional<PluginVersion> version = body ? parseVersionFile(*body) : std::nullopt;
  if (body && !version) failureCause_ = "the version file holds no version";
  if (!version) return checkFailed();
  remote_ = *version;
  newer_ = isNewer(remote_, deps_.installed);

  ui::UpdateWindow& w = deps_.window;
  if (!newer_) {
    w.lbl_majInfo.setBold(false);
    w.lbl_majInfo.setCaption(message(msg::kNoUpdate));
    enableCheck(true);
    automaticCheck_ = false;
    return;
  }
  showNewerFound();
  w.btnCheck.setVisible(false);
  w.btnCheck.label().setVisible(false);
  w.btnNews.setVisible(true);
  w.btnNews.label().setVisible(true);
  w.btnDwld.setVisible(true);
  w.btnDwld.label().setVisible(true);
  // The flag is cleared before the window is shown, so that a check run from the shown
  // window is not taken for an automatic one.
  const bool automatic = std::exchange(automaticCheck_, false);
  if (automatic) {
    deps_.dialogs.message(message(msg::kNewVersionAnnounced) + remoteVersionText(),
                          platform::Icon::Information);
    if (!w.visible() && deps_.showWindowModally) deps_.showWindowModally();
  }
}

void UpdateController::showNewerFound() {
  ui::StyledLabel& info = deps_.window.lbl_majInfo;
  info.setVisible(true);
  info.setForeColour(ui::UpdateWindow::kButtonText);
  info.setBold(true);
  info.setCaption(message(msg::kNewVersion) + remoteVersionText());
}

// --- The news --------------------------------------------------------------------------

void UpdateController::btnNews_Click() {
  // Fetched once for as long as the plug-in stays loaded.
  if (!news_.empty()) {
    deps_.dialogs.message(news_, platform::Icon::Information);
    return;
  }
  enableNews(false);
  newsRunning_ = true;
  failureCause_.clear();
  Transfer& t = transfer(netNews_, &UpdateController::onNewsState);
  t.setMaxBodyBytes(deps_.limits.news);
  t.setPace(Transfer::Pace::Whole);
  t.request(deps_.baseAddress + newsFileName(deps_.languageIndex ? deps_.languageIndex() : 1));
}

void UpdateController::onNewsState(TransferState state) {
  try {
    if (!newsRunning_) return;
    if (state == TransferState::Error) return newsFailed();
    if (state != TransferState::Completed) return;
    newsRunning_ = false;
    Transfer& t = *netNews_;
    if (!succeeded(t)) return newsFailed();
    std::optional<std::string> body = readText(t, deps_.limits.news);
    if (!body) return newsFailed();
    news_ = engine::shownAsText(*body);  // the server's text, never its terminal codes
    deps_.dialogs.message(news_, platform::Icon::Information);
    enableNews(true);
  } catch (...) {
  }
}

void UpdateController::newsFailed() {
  if (netNews_ && !netNews_->failureCause().empty()) failureCause_ = netNews_->failureCause();
  newsRunning_ = false;
  deps_.dialogs.message(message(msg::kNewsFailed), platform::Icon::Critical);
  enableNews(true);
}

// --- The download ----------------------------------------------------------------------

void UpdateController::btnDwld_Click() {
  ui::UpdateWindow& w = deps_.window;
  // One download at a time across processes: another one's installer is left alone. What
  // dead downloads left behind goes first.
  switch (downloadLock_.tryAcquire(lockPath())) {
    case DownloadLock::Outcome::HeldElsewhere:
      deps_.dialogs.message(message(msg::kDownloadRunning), platform::Icon::Exclamation);
      return;
    case DownloadLock::Outcome::Refused:
      // A lock file that another user owns is one that user may hold for ever.
      failureCause_ = downloadLock_.refusal() + "; nothing was written";
      deps_.dialogs.message(message(msg::kDownloadFailed) + "\r\n" + failureCause_, platform::Icon::Critical);
      return;
    case DownloadLock::Outcome::Taken:
    case DownloadLock::Outcome::Unavailable:
      break;
  }
  platform::removeStaleTemporaries(installerPath());
  for (ui::Control* c : {static_cast<ui::Control*>(&w.btnNews), static_cast<ui::Control*>(&w.btnNews.label()),
                         static_cast<ui::Control*>(&w.btnDwld), static_cast<ui::Control*>(&w.btnDwld.label()),
                         static_cast<ui::Control*>(&w.lbl_majInfo)}) {
    c->setVisible(false);
  }
  for (ui::Control* c :
       {static_cast<ui::Control*>(&w.cnt_dwld), static_cast<ui::Control*>(&w.cnt_progressBar),
        static_cast<ui::Control*>(&w.btnCancel)}) {
    c->setVisible(true);
  }
  // A cancel left over from an earlier download must not stop this one at its first chunk.
  cancelRequested_ = false;
  failureCause_.clear();
  totalLength_ = -1;
  received_ = 0;
  w.progressBar.resize(ui::UpdateWindow::kEmptyProgressWidth, w.progressBar.height());
  w.lbl_status.setCaption("");
  w.lbl_progress.setCaption("");
  if (finished_) w.btnCancel.setCaption(cancelCaption_);
  finished_ = false;
  downloading_ = true;
  ++generation_;
  Transfer& t = transfer(netDwld_, &UpdateController::onDownloadState);
  t.setMaxBodyBytes(deps_.limits.installer);
  t.setPace(Transfer::Pace::Streamed);
  t.request(deps_.baseAddress + std::string(kInstallerFile));
}

void UpdateController::onDownloadState(TransferState state) {
  // Notifications of a download that was cancelled, failed or replaced are not this one's.
  if (!downloading_) return;
  const std::uint64_t generation = generation_;
  try {
    ui::Label& status = deps_.window.lbl_status;
    switch (state) {
      case TransferState::Resolving:
        status.setCaption(message(msg::kResolvingHost));
        break;
      case TransferState::Connecting:
        status.setCaption(message(msg::kConnecting));
        break;
      case TransferState::Requesting:
        status.setCaption(message(msg::kRequestingFile));
        break;
      case TransferState::Error:
        downloadFailed(true);
        break;
      case TransferState::Completed:
        downloadCompleted(generation);
        break;
      default:
        break;
    }
  } catch (...) {
    // Reported as the "dwld" handler does: kind "unknown", place 0. Nothing is left behind.
    removeQuietly(partialPath(generation));
    errors::StepMarker noStep;
    errors::FailureContext ctx{deps_.report, noStep};
    errors::reportUnknownFailure(ctx, "dwld", std::current_exception());
    if (generation == generation_ && downloading_) downloadFailed(false);
  }
}

void UpdateController::downloadCompleted(std::uint64_t generation) {
  Transfer& t = *netDwld_;
  if (!succeeded(t)) return downloadFailed(true);

  // Without a usable length the progress is indeterminate: the bar stays empty and the
  // label counts what has arrived. An encoded body's length counts what was sent, not the
  // installer it decodes to.
  const std::optional<std::string> header = t.getHeader("Content-length");
  const std::optional<std::string> encoding = t.getHeader("Content-Encoding");
  const bool encoded = encoding && !encoding->empty() && *encoding != "identity";
  const std::optional<std::int64_t> length = header && !encoded ? parseContentLength(*header) : std::nullopt;
  totalLength_ = length ? *length : -1;
  received_ = 0;
  const auto limit = static_cast<std::int64_t>(deps_.limits.installer);
  if (totalLength_ > limit) {
    failureCause_ = largerThanCause(deps_.limits.installer);
    return downloadFailed(true);
  }
  deps_.window.lbl_status.setCaption(message(msg::kDownloading) + " (v " + dottedVersion(remote_) + ")");
  showProgress();

  // Written beside the installer and renamed over it only once complete, so a damaged
  // installer never carries the installer's name.
  // Created new, never opened through what is there (a link, a pipe).
  const std::filesystem::path partial = partialPath(generation);
  const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  bool written = fd >= 0;
  if (!written) failureCause_ = partial.string() + ": " + std::strerror(errno);
  while (written) {
    const std::vector<std::uint8_t> chunk = t.getChunkBytes(1024);
    // A cancel, a failure or a new download reported while the read waited ends this one.
    if (cancelRequested_ || !downloading_ || generation != generation_) break;
    if (chunk.empty()) break;
    written = writeAll(fd, chunk);
    if (!written) failureCause_ = partial.string() + ": " + std::strerror(errno);
    received_ += static_cast<std::int64_t>(chunk.size());
    if (received_ > limit) {  // longer than any installer: not one
      written = false;
      failureCause_ = largerThanCause(deps_.limits.installer);
    }
    showProgress();
  }
  if (fd >= 0 && ::close(fd) != 0) written = false;

  if (generation != generation_ || !downloading_) {
    // Cancelled, failed (the failure has been shown) or replaced while reading.
    if (generation == generation_) cancelRequested_ = false;
    removeQuietly(partial);
    return;
  }
  if (cancelRequested_) {
    cancelRequested_ = false;
    removeQuietly(partial);
    return;
  }
  const bool complete = written && !t.failed() && succeeded(t) && received_ > 0 &&
                        (totalLength_ < 0 || received_ == totalLength_);
  std::error_code renameFailure;
  if (complete) std::filesystem::rename(partial, installerPath(), renameFailure);
  if (!complete || renameFailure) {
    removeQuietly(partial);
    return downloadFailed(true);
  }
  downloading_ = false;
  downloadLock_.release();
  finished_ = true;
  if (totalLength_ < 0) totalLength_ = received_;
  showProgress();
  deps_.window.lbl_status.setCaption(message(msg::kFinished));
  cancelCaption_ = deps_.window.btnCancel.caption();
  deps_.window.btnCancel.setCaption(message(msg::kInstall));
}

void UpdateController::showProgress() {
  ui::UpdateWindow& w = deps_.window;
  if (totalLength_ <= 0) {
    w.lbl_progress.setCaption(std::to_string(received_ / 1024) + " KB");
    return;
  }
  const float share = static_cast<float>(received_) / static_cast<float>(totalLength_);
  w.progressBar.resize(static_cast<int>(share * static_cast<float>(w.progressInnerWidth())),
                       w.progressBar.height());
  if (totalLength_ / 1024 >= received_ / 1024)
    w.lbl_progress.setCaption(progressText(received_, totalLength_));
}

void UpdateController::leaveDownloadPanel() {
  ui::UpdateWindow& w = deps_.window;
  for (ui::Control* c :
       {static_cast<ui::Control*>(&w.btnNews), static_cast<ui::Control*>(&w.btnNews.label()),
        static_cast<ui::Control*>(&w.btnDwld), static_cast<ui::Control*>(&w.btnDwld.label())}) {
    c->setVisible(true);
  }
  w.lbl_progress.setCaption(progressText(0, totalLength_ > 0 ? totalLength_ : 0));
  w.cnt_dwld.setVisible(false);
  w.cnt_progressBar.setVisible(false);
  w.progressBar.resize(ui::UpdateWindow::kEmptyProgressWidth, w.progressBar.height());
  w.btnCancel.setVisible(false);
}

void UpdateController::downloadFailed(bool tell) {
  if (netDwld_ && !netDwld_->failureCause().empty()) failureCause_ = netDwld_->failureCause();
  downloading_ = false;
  finished_ = false;
  if (netDwld_) netDwld_->cancel();
  if (tell) deps_.dialogs.message(message(msg::kDownloadFailed), platform::Icon::Critical);
  leaveDownloadPanel();
  showNewerFound();
  // What a failed download saved is deleted; a deletion that fails is ignored.
  removeQuietly(partialPath(generation_));
  removeQuietly(installerPath());
  downloadLock_.release();
}

// --- Cancel or install -----------------------------------------------------------------

void UpdateController::btnCancel_Click() {
  ui::UpdateWindow& w = deps_.window;
  if (finished_) {
    if (const auto why = deps_.shell.startMinimized(installerPath().string())) {
      deps_.dialogs.message(message(msg::kInstallerNotStarted) + "\r\n" + *why, platform::Icon::Critical);
      return;
    }
    deps_.dialogs.message(expandLineBreaks(message(msg::kQuitMessenger)), platform::Icon::Exclamation);
    return;
  }
  // The reading loop, if it runs, stops at its next chunk and deletes the partial file.
  cancelRequested_ = true;
  downloading_ = false;
  downloadLock_.release();
  if (netDwld_) netDwld_->cancel();
  leaveDownloadPanel();
  w.lbl_majInfo.setVisible(true);
  w.lbl_majInfo.setForeColour(ui::UpdateWindow::kRed);
  w.lbl_majInfo.setBold(false);
  w.lbl_majInfo.setCaption(message(msg::kDownloadAborted));
  removeQuietly(installerPath());
}

}  // namespace tessalune::update
