#include "update/download_lock.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/lock_file.h"

namespace tessalune::update {

DownloadLock::Outcome DownloadLock::tryAcquire(const std::filesystem::path& lockFile) {
  if (fd_ >= 0) return Outcome::Taken;
  platform::OpenedLockFile opened = platform::openLockFile(lockFile);
  refusal_ = std::move(opened.refusal);
  const int fd = opened.fd;
  if (fd < 0) return opened.othersFile ? Outcome::Refused : Outcome::Unavailable;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const bool elsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    return elsewhere ? Outcome::HeldElsewhere : Outcome::Unavailable;
  }
  fd_ = fd;
  return Outcome::Taken;
}

void DownloadLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the descriptor drops the lock
  fd_ = -1;
}

}  // namespace tessalune::update
