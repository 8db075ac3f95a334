#include "platform/file_system.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>

namespace tessalune::platform {

namespace {

constexpr int kMaxLinkHops = 40;

// The file a write lands in: a symbolic link is followed to its target (which may not
// exist yet), so the link itself stays.
std::filesystem::path writeTarget(const std::filesystem::path& file) {
  std::filesystem::path path = file;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
    const std::filesystem::path link = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  throw std::runtime_error("cannot write " + file.string() + ": too many levels of symbolic links");
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

[[noreturn]] void cannotWrite(const std::filesystem::path& file, const std::string& why) {
  throw std::runtime_error("cannot write " + file.string() + ": " + why);
}

[[noreturn]] void failWrite(const std::filesystem::path& file, const std::filesystem::path& temporary,
                            int error) {
  ::unlink(temporary.c_str());
  cannotWrite(file, std::strerror(error));
}

// What a file that is not a regular one is, for a refusal.
std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// Sixteen hexadecimal digits nobody can guess, so a temporary file's name is never one
// that is already there or planted in advance.
std::string randomTag() {
  std::random_device device;
  const auto value = (static_cast<unsigned long long>(device()) << 32) ^ device();
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", value);
  return text;
}

// SIGPIPE held back from this thread while it writes to a pipe: a reader that has gone
// makes the write fail with EPIPE and raises the signal, whose default would end the
// process (the chat client around the plug-in too). The signal the write raised is taken
// back before the mask is restored; one that was already pending is left alone.
class PipeSignalHeld {
 public:
  PipeSignalHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~PipeSignalHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  PipeSignalHeld(const PipeSignalHeld&) = delete;
  PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

  void takeBackRaised() {
    if (wasPending_) return;
    const timespec now{};
    while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
    }
  }

 private:
  sigset_t pipe_{};
  sigset_t old_{};
  bool wasPending_ = false;
};

}  // namespace

int FileSystem::open(const std::filesystem::path& file, int flags, mode_t mode) {
  return ::open(file.c_str(), flags, mode);
}

ssize_t FileSystem::read(int fd, void* buffer, std::size_t size) {
  return ::read(fd, buffer, size);
}

ssize_t FileSystem::write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}

int FileSystem::fsync(int fd) {
  return ::fsync(fd);
}

int FileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str());
}

int FileSystem::syncDirectory(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  const int result = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  errno = error;
  return result;
}

FileSystem& systemFileSystem() {
  static FileSystem system;  // stateless: every call goes straight to the operating system
  return system;
}

FileContents readFile(FileSystem& files, const std::filesystem::path& file, std::uintmax_t maxBytes) {
  FileContents contents;
  // Opened without blocking, so a pipe in the file's place is refused instead of waited on.
  const int fd = files.open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0);
  if (fd < 0) {
    contents.error = errno;
    return contents;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    contents.error = errno;
  } else if (!S_ISREG(status.st_mode)) {
    contents.error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
  } else if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
    contents.error = EFBIG;
  }
  char buffer[1 << 16];
  while (contents.error == 0) {
    const ssize_t n = files.read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) contents.error = errno;
    if (n <= 0) break;
    contents.bytes.append(buffer, static_cast<std::size_t>(n));
    if (contents.bytes.size() > maxBytes) contents.error = EFBIG;  // it grew while being read
  }
  ::close(fd);
  return contents;
}

void writeFileAtomically(FileSystem& files, const std::filesystem::path& file, std::string_view bytes) {
  const std::filesystem::path target = writeTarget(file);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  // Renaming over a folder, a FIFO or a device would put a file in its place.
  if (existed && !S_ISREG(old.st_mode)) cannotWrite(file, "it is " + kindOf(old.st_mode) + ", not a file");
  if (existed && (old.st_mode & S_IWUSR) == 0) {
    cannotWrite(file, std::string(std::strerror(EACCES)) + " (the file is read-only)");
  }
  // Created new under a name nobody can foresee, never opened through what is there. A
  // successor starts private and then takes the old file's mode; a new file is created
  // with 0666 for the umask to narrow.
  constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  constexpr int kNameAttempts = 8;
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < kNameAttempts; ++attempt) {
    temporary = temporaryPath(target, ::getpid(), randomTag());
    fd = files.open(temporary, kCreateNew, existed ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) cannotWrite(file, std::strerror(errno));  // nothing of ours to remove
  const auto failClosing = [&](int error) {
    ::close(fd);
    failWrite(file, temporary, error);
  };
  if (existed) {
    // The new file is the old one's successor: same permissions, same owner. Only a
    // privileged writer can give a file to another owner; the mode is kept either way.
    if (::fchmod(fd, old.st_mode & 07777) != 0) failClosing(errno);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) failClosing(errno);
  }
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = files.write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failClosing(n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  // The data reaches the disk before the name does, so a crash leaves the old file or the new.
  if (files.fsync(fd) != 0) failClosing(errno);
  if (::close(fd) != 0) failWrite(file, temporary, errno);
  if (files.rename(temporary, target) != 0) failWrite(file, temporary, errno);
  if (files.syncDirectory(folderOf(target)) != 0) {
    cannotWrite(file, "the folder could not be synced (" + std::string(std::strerror(errno)) +
                          "), so the change may not survive a crash");
  }
}

void writeToDescriptor(FileSystem& files, int fd, std::string_view bytes, const std::string& name) {
  PipeSignalHeld held;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = files.write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A descriptor another program left non-blocking: wait until it takes more.
      pollfd ready{fd, POLLOUT, 0};
      if (::poll(&ready, 1, -1) >= 0 || errno == EINTR) continue;
    }
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      if (error == EPIPE) held.takeBackRaised();
      throw std::runtime_error("cannot write " + name + ": " + std::strerror(error));
    }
    done += static_cast<std::size_t>(n);
  }
}

void writeChosenFile(FileSystem& files, const std::filesystem::path& file, std::string_view bytes) {
  // Opened to learn what the name leads to, without creating anything and without waiting
  // for a FIFO's reader; a regular file opened so is not changed.
  constexpr int kProbe = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = files.open(file, kProbe, 0);
  if (fd < 0) {
    const int error = errno;
    struct stat status {};
    const bool found = ::stat(file.c_str(), &status) == 0;
    if (found && S_ISFIFO(status.st_mode) && error == ENXIO) {
      // A FIFO nobody reads yet: wait for its reader, as a shell's redirection does.
      fd = files.open(file, O_WRONLY | O_NOCTTY | O_CLOEXEC, 0);
      if (fd < 0) cannotWrite(file, std::strerror(errno));
    } else if (found && (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))) {
      cannotWrite(file, std::strerror(error));
    } else {
      // A new name, or one writeFileAtomically refuses with its own reason.
      return writeFileAtomically(files, file, bytes);
    }
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    cannotWrite(file, std::strerror(error));
  }
  if (S_ISREG(status.st_mode)) {
    ::close(fd);
    return writeFileAtomically(files, file, bytes);
  }
  if (!S_ISFIFO(status.st_mode) && !S_ISCHR(status.st_mode)) {
    ::close(fd);
    cannotWrite(file, "it is " + kindOf(status.st_mode) + ", not a file");
  }
  // Written into as it is; a full pipe is waited on rather than given up.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  try {
    writeToDescriptor(files, fd, bytes, file.string());
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0 && errno != EINTR) cannotWrite(file, std::strerror(errno));
}

std::filesystem::path temporaryPath(const std::filesystem::path& target, pid_t writer, std::string_view tag) {
  return folderOf(target) / ("." + target.filename().string() + std::string(kTemporaryInfix) +
                             std::to_string(writer) + "-" + std::string(tag) + std::string(kTemporaryEnd));
}

void removeStaleTemporaries(const std::filesystem::path& file) {
  const std::string prefix = "." + file.filename().string() + std::string(kTemporaryInfix);
  const auto isTag = [](std::string_view s) {
    return !s.empty() && s.size() <= 32 && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
  };
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folderOf(file), error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnd)) continue;
    // "<pid>-<tag>" between the two.
    const std::string_view rest =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - kTemporaryEnd.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 9 || !isTag(rest.substr(dash + 1))) continue;
    const std::string_view digits = rest.substr(0, dash);
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
    const pid_t writer = static_cast<pid_t>(std::stol(std::string(digits)));
    const bool dead = writer == ::getpid() || (::kill(writer, 0) != 0 && errno == ESRCH);
    // unlink, not remove: a folder of that name is not something a writer leaves.
    if (dead) ::unlink(entry.path().c_str());
  }
}

}  // namespace tessalune::platform
