// Files at the far end of a named pipe whose other end stopped: a write or a
// read fails once the pipe made no progress for the stall limit, instead of
// holding the caller (the library's capture thread, or the window) forever.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/log_file.h"
#include "platform/file.h"

namespace {

struct StalledPipe : testing::Test {
  std::string dir, path;
  int peer = -1;  // the other end: open, never used
  void SetUp() override {
    char pattern[] = "/tmp/qv-stall.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    path = dir + "/pipe";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  }
  void OpenPeer(int flags) { peer = open(path.c_str(), flags | O_NONBLOCK); }
  void TearDown() override {
    if (peer >= 0) close(peer);
    unlink(path.c_str());
    rmdir(dir.c_str());
  }
};

// Guards a capture or EEPROM write that blocks for as long as the reader
// keeps the pipe open without reading, and a total that counts bytes the
// pipe never took.
TEST_F(StalledPipe, WriteTakesWhatFitsThenFailsOnceTheStallLimitPassed) {
  OpenPeer(O_RDONLY);
  const platform::FileHandle f = platform::CreateFile(
      path, platform::Access::Write, platform::Share::Read, platform::Disposition::CreateAlways);
  ASSERT_NE(f, platform::kInvalidFile);
  const std::vector<char> data(1 << 20, 'x');
  uint32_t written = 0;
  EXPECT_TRUE(platform::WriteFile(f, data.data(), static_cast<uint32_t>(data.size()), written));
  const uint32_t capacity = written;
  EXPECT_GT(capacity, 0u);
  EXPECT_LT(capacity, data.size());
  // A full pipe with no wait allowed refuses at once.
  EXPECT_FALSE(platform::WriteFile(f, data.data(), 188, written, 0));
  EXPECT_EQ(written, 0u);
  platform::CloseHandle(f);
}

// Guards an EEPROM restore from a pipe whose writer never writes.
TEST_F(StalledPipe, ReadFailsWhenTheWriterGivesNothing) {
  const platform::FileHandle f = platform::CreateFile(
      path, platform::Access::Read, platform::Share::Read, platform::Disposition::OpenExisting);
  ASSERT_NE(f, platform::kInvalidFile);
  OpenPeer(O_WRONLY);
  ASSERT_GE(peer, 0);
  char buffer[256];
  uint32_t read = 0;
  EXPECT_FALSE(platform::ReadFile(f, buffer, sizeof buffer, read));
  platform::CloseHandle(f);
}

// Guards the log holding the window while its reader sleeps: the write
// fails, the file is closed, and later lines are not tried on it.
TEST_F(StalledPipe, LogFileFailsOnceAndCloses) {
  OpenPeer(O_RDONLY);
  LogFile log;
  ASSERT_TRUE(log.Open(path));
  const std::string lines(100000, '\n');
  EXPECT_FALSE(log.Write(lines));
  EXPECT_TRUE(log.Write("after the failure\n")) << "a closed log fails only once";
}

}  // namespace
