#pragma once

#include <fcntl.h>

#include <cerrno>
#include <filesystem>

#include "platform/file_system.h"

namespace tessalune::testing {

// The system's file system with one fault injected where a real one would fail.
class FaultyFileSystem : public platform::FileSystem {
 public:
  enum class Fault {
    None,
    FullDisk,        // the write stops part-way: no space left
    FailingRename,   // the temporary file cannot take the file's name
    FailingSync,     // the folder cannot be synced after the rename
    ReadOnlyFolder,  // no file can be created in the folder
    Unreadable,      // the file `unreadable` exists but cannot be opened for reading
  };

  Fault fault = Fault::None;
  std::filesystem::path unreadable;

  int open(const std::filesystem::path& file, int flags, mode_t mode) override {
    if (fault == Fault::ReadOnlyFolder && (flags & O_CREAT)) return fail(EROFS);
    if (fault == Fault::Unreadable && file == unreadable && (flags & O_ACCMODE) == O_RDONLY)
      return fail(EACCES);
    return FileSystem::open(file, flags, mode);
  }
  ssize_t write(int fd, const void* data, std::size_t size) override {
    if (fault != Fault::FullDisk) return FileSystem::write(fd, data, size);
    if (size < 2) return fail(ENOSPC);
    return FileSystem::write(fd, data, size / 2);  // the next call, for the rest, finds the disk full
  }
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return fault == Fault::FailingRename ? fail(EIO) : FileSystem::rename(from, to);
  }
  int syncDirectory(const std::filesystem::path& folder) override {
    return fault == Fault::FailingSync ? fail(EIO) : FileSystem::syncDirectory(folder);
  }

 private:
  static int fail(int error) {
    errno = error;
    return -1;
  }
};

}  // namespace tessalune::testing
