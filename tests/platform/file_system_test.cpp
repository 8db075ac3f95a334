#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "support/config_fixture.h"
#include "support/dead_process.h"
#include "support/faulty_file_system.h"

namespace tessalune::platform {
namespace {

namespace fs = std::filesystem;
using Fault = testing::FaultyFileSystem::Fault;
using testing::deadProcess;

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

int temporaries(const fs::path& folder) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    n += entry.path().filename().string().find(".tessalune-") != std::string::npos;
  return n;
}

// Reads a FIFO from a thread until its writer closes it; gives up at a deadline, so a
// writer that never comes fails the test instead of hanging it.
class FifoReader {
 public:
  explicit FifoReader(const fs::path& fifo) : fd_(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    thread_ = std::thread([this] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      char buffer[4096];
      for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return;
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return;  // the writer has closed it
        got_.append(buffer, static_cast<std::size_t>(n));
      }
    });
  }
  ~FifoReader() { bytes(); }
  std::string bytes() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return got_;
  }

 private:
  int fd_;
  std::string got_;
  std::thread thread_;
};

// The system's file system, where a FIFO's reader arrives only once the writer, having
// found none, opens the FIFO to wait for one.
struct ReaderArrivesLate : FileSystem {
  fs::path fifo;
  std::optional<FifoReader> reader;
  int open(const fs::path& file, int flags, mode_t mode) override {
    if ((flags & (O_NONBLOCK | O_CREAT)) == 0 && !reader) reader.emplace(fifo);
    return FileSystem::open(file, flags, mode);
  }
};

// Every fault is reported, and leaves the file whole and no temporary file behind. A
// folder that cannot be synced comes after the rename: the new file is whole, but the
// save is not claimed as durable.
TEST(WriteFileAtomically, EveryFaultIsReportedAndLeavesTheFileWhole) {
  testing::TempPluginDir dir;
  const fs::path file = dir.configFile();
  for (const Fault fault :
       {Fault::FullDisk, Fault::FailingRename, Fault::FailingSync, Fault::ReadOnlyFolder}) {
    std::ofstream(file, std::ios::binary) << "old contents";
    testing::FaultyFileSystem files;
    files.fault = fault;
    EXPECT_THROW(writeFileAtomically(files, file, "new contents, longer"), std::runtime_error);
    EXPECT_EQ(contents(file), fault == Fault::FailingSync ? "new contents, longer" : "old contents");
    EXPECT_EQ(temporaries(file.parent_path()), 0);
  }
}

TEST(WriteFileAtomically, KeepsTheModeAndWritesThroughASymbolicLink) {
  testing::TempPluginDir dir;
  const fs::path target = dir.path() / "elsewhere.xml";
  const fs::path link = dir.configFile();
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, link);
  writeFileAtomically(systemFileSystem(), link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "new");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

// A FIFO named by the user, or reached through a link, gets the bytes and stays a FIFO,
// whether its reader is there before the write or comes while the writer waits.
TEST(WriteChosenFile, WritesIntoAFifoDirectlyOrThroughALink) {
  testing::TempPluginDir dir;
  const fs::path fifo = dir.path() / "fifo";
  const fs::path link = dir.path() / "link.xml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, link);
  for (const bool throughLink : {false, true}) {
    SCOPED_TRACE(throughLink ? "through a link, reader late" : "directly, reader first");
    std::string got;
    if (throughLink) {
      ReaderArrivesLate files;
      files.fifo = fifo;
      writeChosenFile(files, link, "<config/>\r\n");
      ASSERT_TRUE(files.reader);
      got = files.reader->bytes();
    } else {
      FifoReader reader(fifo);
      writeChosenFile(systemFileSystem(), fifo, "<config/>\r\n");
      got = reader.bytes();
    }
    EXPECT_EQ(got, "<config/>\r\n");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fs::status(fifo).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(temporaries(dir.path()), 0);
  }
}

// A character device is written into and stays one, with its mode; a folder or a socket is
// refused with one line naming it and what it is, and nothing is put in its place.
TEST(WriteChosenFile, WritesIntoADeviceAndRefusesAFolderOrASocket) {
  testing::TempPluginDir dir;
  const fs::path device = dir.path() / "null";
  if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {  // needs privilege
    ::chmod(device.c_str(), 0666);
    writeChosenFile(systemFileSystem(), device, "bytes");
    struct stat after {};
    ASSERT_EQ(::stat(device.c_str(), &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_mode & 07777, 0666u);
  }
  const fs::path socket = dir.path() / "socket";
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const struct {
    fs::path file;
    std::string kind;
  } refused[] = {{dir.path() / "Tessalune", "a folder"}, {socket, "a socket"}};
  for (const auto& r : refused) {
    try {
      writeChosenFile(systemFileSystem(), r.file, "bytes");
      ADD_FAILURE() << r.file << " was written";
    } catch (const std::runtime_error& e) {
      const std::string why = e.what();
      EXPECT_NE(why.find(r.file.string()), std::string::npos) << why;
      EXPECT_NE(why.find(r.kind), std::string::npos) << why;
      EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    }
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "Tessalune"));
  EXPECT_TRUE(fs::is_socket(socket));
  EXPECT_EQ(temporaries(dir.path()), 0);
  ::close(listener);
}

// A file that is replaced keeps its mode; a new one gets what the process's umask allows.
TEST(WriteChosenFile, AReplacedFileKeepsItsModeAndANewOneFollowsTheUmask) {
  testing::TempPluginDir dir;
  const fs::path existing = dir.path() / "existing.xml";
  std::ofstream(existing) << "old";
  ::chmod(existing.c_str(), 0604);
  const mode_t saved = ::umask(002);
  writeChosenFile(systemFileSystem(), existing, "new");
  writeChosenFile(systemFileSystem(), dir.path() / "new.xml", "new");
  ::umask(saved);
  struct stat replaced {
  }, created{};
  ASSERT_EQ(::stat(existing.c_str(), &replaced), 0);
  ASSERT_EQ(::stat((dir.path() / "new.xml").c_str(), &created), 0);
  EXPECT_EQ(replaced.st_mode & 07777, 0604u);
  EXPECT_EQ(created.st_mode & 07777, 0664u);
  EXPECT_EQ(contents(existing), "new");
}

TEST(ReadFile, OnlyAFileThatDoesNotExistIsMissing) {
  testing::TempPluginDir dir;
  const fs::path file = dir.configFile();
  EXPECT_EQ(readFile(systemFileSystem(), file, 100).error, ENOENT);
  std::ofstream(file) << "twelve bytes";
  EXPECT_EQ(readFile(systemFileSystem(), file, 100).bytes, "twelve bytes");
  EXPECT_EQ(readFile(systemFileSystem(), file, 11).error, EFBIG);
  testing::FaultyFileSystem files;
  files.fault = Fault::Unreadable;
  files.unreadable = file;
  EXPECT_EQ(readFile(files, file, 100).error, EACCES);
  EXPECT_EQ(readFile(systemFileSystem(), dir.path(), 100).error, EISDIR);
  ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(readFile(systemFileSystem(), dir.path() / "pipe", 100).error, EINVAL);  // refused, not waited on
}

// Only a dead writer's temporary file of the program's own shape goes: a live writer's, a
// user's file of a similar name and a folder of the same shape stay.
TEST(RemoveStaleTemporaries, RemovesOnlyTheFilesOfDeadWriters) {
  testing::TempPluginDir dir;
  const fs::path file = dir.configFile();
  const pid_t dead = deadProcess();
  const fs::path stale = temporaryPath(file, dead, "5f3a");
  const fs::path alive = temporaryPath(file, 1, "5f3a");
  const fs::path folder = temporaryPath(file, dead, "77");
  const fs::path users = file.string() + ".tmp-" + std::to_string(dead);
  for (const fs::path& f : {stale, alive, users}) std::ofstream(f) << "x";
  fs::create_directory(folder);
  removeStaleTemporaries(file);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(alive));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::exists(users));
}

}  // namespace
}  // namespace tessalune::platform
