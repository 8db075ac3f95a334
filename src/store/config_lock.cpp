#include "store/config_lock.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <thread>
#include <utility>

#include "errors/failure.h"
#include "platform/file_system.h"
#include "platform/lock_file.h"
#include "store/store_context.h"

namespace tessalune::store {

namespace {

constexpr auto kRetryEvery = std::chrono::milliseconds(20);

}  // namespace

std::filesystem::path configLockPath(const std::filesystem::path& pluginDir) {
  return configFilePath(pluginDir).string() + ".lock";
}

ConfigLock::~ConfigLock() {
  if (fd_ >= 0) ::close(fd_);
}

void ConfigLock::acquire(const std::filesystem::path& pluginDir) {
  if (depth_ > 0) {
    ++depth_;
    return;
  }
  const std::filesystem::path path = configLockPath(pluginDir);
  platform::OpenedLockFile opened = platform::openLockFile(path);
  const int fd = opened.fd;
  unlockedBecause_ = std::move(opened.refusal);
  if (fd >= 0) {
    const auto deadline = std::chrono::steady_clock::now() + wait_;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
        ::close(fd);
        throw errors::RuntimeFailure(errors::failure::kPermissionDenied,
                                     "Configuration in use: another program has held " + path.string() +
                                         " for " + std::to_string(wait_.count()) +
                                         " ms; nothing was written");
      }
      std::this_thread::sleep_for(kRetryEvery);
    }
  }
  fd_ = fd;
  depth_ = 1;
  // Every writer replaces the file under this lock, so a temporary file found now
  // belongs to a writer that died; without the lock that is not known, and nothing is
  // cleared. Clearing them is best effort: a path it cannot follow (a loop of links) is
  // the load's or the write's to report, and the lock must not stay held past the routine
  // that took it.
  if (fd_ < 0) return;
  try {
    platform::removeStaleTemporaries(configFilePath(pluginDir));
  } catch (const std::exception&) {
  }
}

void ConfigLock::requireForWriting() const {
  if (depth_ > 0 && fd_ >= 0) return;
  throw errors::RuntimeFailure(
      errors::failure::kPermissionDenied,
      (unlockedBecause_.empty() ? std::string("the configuration is not locked") : unlockedBecause_) +
          "; nothing was written");
}

void ConfigLock::release() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor drops the lock
  fd_ = -1;
}

}  // namespace tessalune::store
