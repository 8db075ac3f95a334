#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessalune::platform {

// The system calls through which files are read and replaced, behind one seam so that
// tests can make any of them fail (a full disk, a failing rename, an unreadable file).
// Each returns what the system call returns and sets errno on failure.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int open(const std::filesystem::path& file, int flags, mode_t mode);
  virtual ssize_t read(int fd, void* buffer, std::size_t size);
  virtual ssize_t write(int fd, const void* data, std::size_t size);
  virtual int fsync(int fd);
  virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to);
  // Makes a folder's entries (a rename into it) durable.
  virtual int syncDirectory(const std::filesystem::path& folder);
};

// The operating system's own; it holds no state.
FileSystem& systemFileSystem();

// A whole file's bytes, or why they could not be read: error is 0 on success, ENOENT when
// the file does not exist, EFBIG when it is larger than the reader allows, and any other
// system error (no permission, an I/O error, a folder or a pipe in the file's place) as
// it came. After a failure, bytes holds what was read before it.
struct FileContents {
  std::string bytes;
  int error = 0;
};

FileContents readFile(FileSystem& files, const std::filesystem::path& file, std::uintmax_t maxBytes);

// Replaces file by bytes atomically: a temporary file (temporaryPath) beside it, written and
// synced, then renamed over it, then the folder synced, so a crash leaves the old file or
// the new one, never a mix. A symbolic link is written through to its target. A replaced
// file keeps its mode and owner; a new one gets 0666 less the umask. Only a regular file is
// ever replaced: a folder, a FIFO, a device or a socket in the target's place is refused,
// and a file without write permission is refused as the platform would refuse it, even for
// a privileged user. Throws std::runtime_error naming the file and the reason; the
// temporary file is then removed.
void writeFileAtomically(FileSystem& files, const std::filesystem::path& file, std::string_view bytes);

// Writes bytes where a user pointed (an export): a regular file or a new name is replaced
// as writeFileAtomically does; a FIFO or a character device (a pipe, a terminal, /dev/null)
// is written into as it is; anything else is refused. A symbolic link's target follows the
// same rule. The kind is that of the file the name opens, so /dev/stdout reaches whatever
// standard output is. A FIFO without a reader is waited on until one comes, as a shell's
// redirection waits. Throws std::runtime_error naming the file and the reason.
void writeChosenFile(FileSystem& files, const std::filesystem::path& file, std::string_view bytes);

// Writes all of bytes to a descriptor already open (standard output, a FIFO); name is what
// an error names. A reader that has gone is an error, not a signal that ends the process.
void writeToDescriptor(FileSystem& files, int fd, std::string_view bytes, const std::string& name);

// The name of the temporary file that stands for target while the process writer writes
// it: ".<name>.tessalune-<writer>-<tag>.tmp" beside it. Hidden, and of a shape no user would
// choose, so that clean-up can tell the program's own files from the user's.
std::filesystem::path temporaryPath(const std::filesystem::path& target, pid_t writer, std::string_view tag);
inline constexpr std::string_view kTemporaryInfix = ".tessalune-";
inline constexpr std::string_view kTemporaryEnd = ".tmp";

// Removes the temporary files of file (temporaryPath) that writers now dead left in file's
// own folder; a symbolic link is not followed out of it, and nothing but a file of that
// shape is touched. Only for a folder that is the program's own, while no other writer of
// the file can run (under its lock): a folder the user chose is never swept.
void removeStaleTemporaries(const std::filesystem::path& file);

}  // namespace tessalune::platform
