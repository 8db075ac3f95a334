#pragma once

#include <filesystem>
#include <string>

namespace tessalune::update {

// An advisory lock (flock) on a lock file of its own beside the installer, held while a
// download runs, so that two processes never write the installer at once. The lock file is
// open to its owner only: a folder or a file that anyone can open is a lock anyone can hold.
class DownloadLock {
 public:
  enum class Outcome { Taken, HeldElsewhere, Refused, Unavailable };

  DownloadLock() = default;
  ~DownloadLock() { release(); }
  DownloadLock(const DownloadLock&) = delete;
  DownloadLock& operator=(const DownloadLock&) = delete;

  // Takes the lock without waiting. Refused when the lock file belongs to another user (see
  // refusal()); Unavailable when it cannot be opened (no download can be saved there anyway).
  Outcome tryAcquire(const std::filesystem::path& lockFile);
  void release();
  bool held() const { return fd_ >= 0; }
  // Why the last attempt was refused, naming the lock file.
  const std::string& refusal() const { return refusal_; }

 private:
  int fd_ = -1;
  std::string refusal_;
};

}  // namespace tessalune::update
