#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/config_fixture.h"
#include "support/faulty_file_system.h"

namespace tessalune::platform {
namespace {

namespace fs = std::filesystem;
using Fault = testing::FaultyFileSystem::Fault;

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

int temporaries(const fs::path& folder) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    n += entry.path().string().find(".tmp-") != std::string::npos;
  return n;
}

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

  // A link planted where the temporary file goes is removed, never written through.
  const fs::path victim = dir.path() / "victim";
  std::ofstream(victim) << "untouched";
  fs::create_symlink(victim, target.string() + std::string(kTemporarySuffix) + std::to_string(::getpid()));
  writeFileAtomically(systemFileSystem(), link, "newer");
  EXPECT_EQ(contents(target), "newer");
  EXPECT_EQ(contents(victim), "untouched");
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

TEST(RemoveStaleTemporaries, RemovesThoseOfDeadWritersOnly) {
  testing::TempPluginDir dir;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const fs::path file = dir.configFile();
  const fs::path dead = file.string() + ".tmp-" + std::to_string(child);
  const fs::path alive = file.string() + ".tmp-1";
  std::ofstream(dead) << "x";
  std::ofstream(alive) << "x";
  removeStaleTemporaries(file);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(alive));
}

}  // namespace
}  // namespace tessalune::platform
