#pragma once

#include <filesystem>

namespace tessalune::update {

// An advisory lock (flock) on the folder that receives the installer, held while a download
// runs, so that two processes never write the installer at once. Locking the folder itself
// leaves no lock file behind.
class DownloadLock {
 public:
  enum class Outcome { Taken, HeldElsewhere, Unavailable };

  DownloadLock() = default;
  ~DownloadLock() { release(); }
  DownloadLock(const DownloadLock&) = delete;
  DownloadLock& operator=(const DownloadLock&) = delete;

  // Takes the lock without waiting. Unavailable when the folder cannot be opened (no
  // download can be saved there anyway).
  Outcome tryAcquire(const std::filesystem::path& folder);
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace tessalune::update
