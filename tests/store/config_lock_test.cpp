#include "store/config_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/file_system.h"
#include "store/config_file.h"
#include "store/import_export.h"
#include "support/config_fixture.h"
#include "support/dead_process.h"

namespace tessalune::store {
namespace {

// Another process holding the lock: the routine waits, then fails with a clear report and
// writes nothing; once the lock is free the same write goes through.
TEST(ConfigLock, AWriterWaitsForAnotherThenGivesUpWithoutWriting) {
  testing::StoreFixture s;
  ConfigLock briefWait{std::chrono::milliseconds(60)};
  StoreContext ctx{s.dir.path(), s.dialogs, s.messages, s.failures.context, briefWait};
  s.dir.writeConfig(testing::defaultConfigWith());
  const int other = ::open(configLockPath(s.dir.path()).c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);

  writeConfig("/config/suffix", "1", ctx);
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].source, "writeConfig");
  EXPECT_NE(s.failures.report.reports[0].description.find("in use"), std::string::npos);
  EXPECT_EQ(s.dir.configValue("/config/suffix"), "0");

  ::close(other);
  writeConfig("/config/suffix", "1", ctx);
  EXPECT_EQ(s.dir.configValue("/config/suffix"), "1");
  EXPECT_FALSE(briefWait.held());
}

// Where the lock file cannot be made (here a link into a missing folder), a write fails with
// the reason and writes nothing, never reporting success; reads go on, files being replaced
// whole.
TEST(ConfigLock, WithoutTheLockNothingIsWrittenButReadsGoOn) {
  testing::StoreFixture s;
  s.dir.writeConfig(testing::defaultConfigWith());
  std::filesystem::create_symlink(s.dir.path() / "missing" / "lock", configLockPath(s.dir.path()));
  writeConfig("/config/suffix", "1", s.context);
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_NE(s.failures.report.reports[0].description.find("cannot lock"), std::string::npos);
  EXPECT_EQ(s.dir.configValue("/config/suffix"), "0");
  exportConfig(s.dir.path() / "copy.xml", s.context);
  EXPECT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(s.dir.path() / "copy.xml"));
}

mode_t modeOf(const std::filesystem::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
  return st.st_mode & 07777;
}

// flock needs only a read-only descriptor: a lock file that others can open is one they can
// hold against every save. It is made 0600 under a permissive umask, and one that an earlier
// version left readable is narrowed by its owner.
TEST(ConfigLock, OnlyItsOwnerCanOpenTheLockFile) {
  for (const mode_t mask : {mode_t{0022}, mode_t{0000}}) {
    testing::StoreFixture s;
    const mode_t before = ::umask(mask);
    s.lock.acquire(s.dir.path());
    ::umask(before);
    s.lock.release();
    EXPECT_EQ(modeOf(configLockPath(s.dir.path())), 0600u) << "umask " << mask;
  }
  testing::StoreFixture s;
  const std::filesystem::path lock = configLockPath(s.dir.path());
  ::close(::open(lock.c_str(), O_RDWR | O_CREAT, 0644));
  ASSERT_EQ(::chmod(lock.c_str(), 0644), 0);
  s.lock.acquire(s.dir.path());
  s.lock.release();
  EXPECT_EQ(modeOf(lock), 0600u);
}

// A lock file that another user owns could be held by that user for ever: a write is refused
// at once, naming the file, without waiting for the lock (held here too).
TEST(ConfigLock, ALockFileOfAnotherUserIsRefusedAtOnce) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give the lock file to another user";
  testing::StoreFixture s;
  ConfigLock briefWait{std::chrono::milliseconds(60)};
  StoreContext ctx{s.dir.path(), s.dialogs, s.messages, s.failures.context, briefWait};
  s.dir.writeConfig(testing::defaultConfigWith());
  const std::filesystem::path lock = configLockPath(s.dir.path());
  const int other = ::open(lock.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(::fchown(other, 65534, 65534), 0);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  // Only the lock's holder may take a temporary file for a dead writer's.
  const std::filesystem::path temporary =
      platform::temporaryPath(configFilePath(s.dir.path()), testing::deadProcess(), "1");
  std::ofstream(temporary) << "in the making";

  writeConfig("/config/suffix", "1", ctx);
  ASSERT_EQ(s.failures.report.reports.size(), 1u);
  EXPECT_EQ(s.failures.report.reports[0].description,
            lock.string() + " belongs to another user; nothing was written");
  EXPECT_EQ(s.dir.configValue("/config/suffix"), "0");
  EXPECT_FALSE(briefWait.held());
  EXPECT_TRUE(std::filesystem::exists(temporary));
  ::close(other);
}

TEST(ConfigLock, IsReentrantWithinItsOwner) {
  testing::StoreFixture s;
  ConfigLock lock{std::chrono::milliseconds(0)};
  lock.acquire(s.dir.path());
  lock.acquire(s.dir.path());
  lock.release();
  EXPECT_TRUE(lock.held());
  lock.release();
  EXPECT_FALSE(lock.held());
}

}  // namespace
}  // namespace tessalune::store
