#include "update/download_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tessalune::update {

DownloadLock::Outcome DownloadLock::tryAcquire(const std::filesystem::path& folder) {
  if (fd_ >= 0) return Outcome::Taken;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Outcome::Unavailable;
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
