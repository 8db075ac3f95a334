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
    n += entry.path().filename().string().find(".tessalune-") != std::string::npos;
  return n;
}

pid_t deadProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
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
