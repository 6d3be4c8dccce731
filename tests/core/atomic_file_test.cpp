// Replacing a file whole: the old content or the new, never a mixture,
// never a stray temporary file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempHome.h"
#include "db/AtomicFile.h"

using namespace pelk_test;

TEST(AtomicFile, ReplacesKeepsModeAndFollowsLinks) {
  std::string path = WriteTestFile("data.obs", "old");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(pelk::AtomicWriteFile(path, "new content", 11));
  EXPECT_EQ(ReadFile(path), "new content");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  // A link is followed: the file it points at is replaced, the link stays.
  std::string link = TestDir() + "/link.obs";
  ASSERT_EQ(symlink("data.obs", link.c_str()), 0);
  ASSERT_TRUE(pelk::AtomicWriteFile(link, "via link", 8));
  EXPECT_EQ(ReadFile(path), "via link");
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  // A new file gets 0666 less the umask.
  mode_t old = umask(022);
  std::string fresh = TestDir() + "/fresh.obs";
  ASSERT_TRUE(pelk::AtomicWriteFile(fresh, "", 0));
  umask(old);
  ASSERT_EQ(stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  EXPECT_EQ(st.st_size, 0);
}

TEST(AtomicFile, FailureLeavesOldFileAndNoTemporary) {
  std::string path = WriteTestFile("data.obs", "the old records");
  std::string big(100000, 'x');
  int err = 0;
  pelk::AtomicWriteFailAfterForTests(5000);
  EXPECT_FALSE(pelk::AtomicWriteFile(path, big.data(), big.size(), &err));
  pelk::AtomicWriteFailAfterForTests(-1);
  EXPECT_EQ(err, ENOSPC);
  EXPECT_EQ(ReadFile(path), "the old records");
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"data.obs"});

  // A folder that does not exist, and a folder standing where the file
  // should be.
  EXPECT_FALSE(pelk::AtomicWriteFile(TestDir() + "/no/such/file", "x", 1, &err));
  EXPECT_EQ(err, ENOENT);
  ASSERT_EQ(mkdir((TestDir() + "/dir.obs").c_str(), 0700), 0);
  EXPECT_FALSE(pelk::AtomicWriteFile(TestDir() + "/dir.obs", "x", 1, &err));
  EXPECT_EQ(ListDir(TestDir()), (std::vector<std::string>{"data.obs", "dir.obs"}));
}

TEST(AtomicFile, ContentMadePieceByPiece) {
  std::string path = WriteTestFile("report.aavso", "the old report");
  // Ten pieces of 1000 bytes each, then the end.
  auto pieces = [](int* made) {
    return [made](std::string& chunk) {
      if (*made < 10) chunk.append(1000, (char)('0' + (*made)++));
    };
  };
  int made = 0;
  ASSERT_TRUE(pelk::AtomicWriteFileChunks(path, pieces(&made)));
  EXPECT_EQ(made, 10);
  const std::string whole = ReadFile(path);
  ASSERT_EQ(whole.size(), 10000u);
  EXPECT_EQ(whole.substr(0, 1000), std::string(1000, '0'));
  EXPECT_EQ(whole.substr(9000), std::string(1000, '9'));

  // The disk fills up in the fourth piece: the complete old file stays.
  made = 0;
  int err = 0;
  pelk::AtomicWriteFailAfterForTests(3500);
  EXPECT_FALSE(pelk::AtomicWriteFileChunks(path, pieces(&made), &err));
  pelk::AtomicWriteFailAfterForTests(-1);
  EXPECT_EQ(err, ENOSPC);
  EXPECT_EQ(made, 4);
  EXPECT_EQ(ReadFile(path), whole);
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"report.aavso"});
}
