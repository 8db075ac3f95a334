#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessalune::platform {

OpenedLockFile openLockFile(const std::filesystem::path& path) {
  // The mode given to open is reduced by the umask, which never adds bits: 0600 at most.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {-1, "cannot lock " + path.string() + ": " + std::strerror(errno)};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    return {-1, "cannot lock " + path.string() + ": " + std::strerror(error)};
  }
  if (st.st_uid != ::geteuid()) {
    ::close(fd);
    return {-1, path.string() + " belongs to another user", true};
  }
  // A descriptor another user opened before this stays open; from now on none can be.
  if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) (void)::fchmod(fd, S_IRUSR | S_IWUSR);
  return {fd, {}};
}

}  // namespace tessalune::platform
