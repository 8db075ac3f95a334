#pragma once

#include <filesystem>
#include <string>

namespace tessalune::platform {

// A lock file opened for flock, or why it could not be.
struct OpenedLockFile {
  int fd = -1;              // owned by the caller; -1 when refused
  std::string refusal;      // when refused: one line naming the file and the cause
  bool othersFile = false;  // refused because another user owns the file
};

// Opens (creating it if need be) a lock file that only its owner can open: flock needs no
// more than a read-only descriptor, so a lock file others can read is a lock anyone can hold
// against every process of its owner. It is created 0600 whatever the umask; an existing
// one that others may open is set to 0600; one that belongs to another user is refused at
// once. Where the file cannot be written, it is opened read-only (flock still works).
OpenedLockFile openLockFile(const std::filesystem::path& path);

}  // namespace tessalune::platform
