#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace tessalune::store {

// Makes each store routine the only reader and writer of a plug-in folder's configuration
// while it runs, across processes: an advisory lock (flock) on
// "Tessalune/tessalune.xml.lock". Re-entrant within its owner, so a routine that calls
// another takes it once. Waiting for another process is bounded.
class ConfigLock {
 public:
  explicit ConfigLock(std::chrono::milliseconds wait = std::chrono::seconds(10)) : wait_(wait) {}
  ~ConfigLock();
  ConfigLock(const ConfigLock&) = delete;
  ConfigLock& operator=(const ConfigLock&) = delete;

  // Takes the lock, or one more level of it. The first level also removes the temporary
  // files that dead writers left. Throws errors::RuntimeFailure when another process
  // holds it for longer than the wait. Where the lock file cannot even be opened (a
  // read-only folder, a link into a missing one) or belongs to another user, the routine
  // goes on unlocked at once: it may read, since files are replaced whole, but not write
  // (see requireForWriting). The lock file is only ever open to its owner (0600).
  void acquire(const std::filesystem::path& pluginDir);
  // Gives up one level; the last one unlocks.
  void release();
  bool held() const { return depth_ > 0; }
  // Throws errors::RuntimeFailure, naming the lock file and the reason, unless the lock is
  // really taken: a write without it could be lost to another writer.
  void requireForWriting() const;

 private:
  std::chrono::milliseconds wait_;
  int fd_ = -1;
  int depth_ = 0;
  std::string unlockedBecause_;  // why the lock file could not be opened, while held unlocked
};

// "<pluginDir>/Tessalune/tessalune.xml.lock".
std::filesystem::path configLockPath(const std::filesystem::path& pluginDir);

}  // namespace tessalune::store
