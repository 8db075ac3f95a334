#include "platform/file_system.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

[[noreturn]] void failWrite(const std::filesystem::path& file, const std::filesystem::path& temporary,
                            int error) {
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(error));
}

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
  if (existed && (old.st_mode & S_IWUSR) == 0) {
    throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(EACCES) +
                             " (the file is read-only)");
  }
  const std::filesystem::path temporary =
      target.string() + std::string(kTemporarySuffix) + std::to_string(::getpid());
  // Created new, never opened through what is there: a name left by this process's earlier
  // failure, or planted (a link, a pipe), is removed first, not followed.
  constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = files.open(temporary, kCreateNew, 0644);
  if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0)
    fd = files.open(temporary, kCreateNew, 0644);
  if (fd < 0) failWrite(file, temporary, errno);
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
    throw std::runtime_error("cannot write " + file.string() + ": the folder could not be synced (" +
                             std::strerror(errno) + "), so the change may not survive a crash");
  }
}

void removeStaleTemporaries(const std::filesystem::path& file) {
  const std::filesystem::path target = writeTarget(file);
  const std::string prefix = target.filename().string() + std::string(kTemporarySuffix);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folderOf(target), error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
    // "<pid>", or "<pid>.<number>" for a writer that keeps several at once.
    const std::string rest = name.substr(prefix.size());
    const std::string digits = rest.substr(0, rest.find('.'));
    const std::string number = digits.size() < rest.size() ? rest.substr(digits.size() + 1) : "0";
    const auto allDigits = [](const std::string& s) {
      return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!allDigits(digits) || !allDigits(number) || digits.size() > 9) continue;
    const pid_t writer = static_cast<pid_t>(std::stol(digits));
    const bool dead = writer == ::getpid() || (::kill(writer, 0) != 0 && errno == ESRCH);
    if (dead) std::filesystem::remove(entry.path(), error);
  }
}

}  // namespace tessalune::platform
