#include "tools/tap/TapSettings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

TEST(TapSettings, ConfigurationGivesItsFirstMeaningfulLine) {
  struct Row {
    const char* text;
    const char* path;
  } const rows[] = {
      {"", ""},
      {"/var/log/tap.txt", "/var/log/tap.txt"},
      {"/var/log/tap.txt\n/other\n", "/var/log/tap.txt"},
      {"  /var/log/tap.txt \t\r\n", "/var/log/tap.txt"},
      {"# where the transcript goes\n\n   \n/tmp/t x.log\n", "/tmp/t x.log"},
      {"   # indented comment\n", ""},
      {"\r\n\r\n", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(TranscriptPathFromConfig(row.text), row.path);
  }
}

// A scratch folder with bin/tool (executable) and link -> bin/tool.
class OwnFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tapsettings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    ASSERT_EQ(mkdir((root_ + "/bin").c_str(), 0700), 0);
    const int fd = open((root_ + "/bin/tool").c_str(), O_WRONLY | O_CREAT, 0700);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(symlink((root_ + "/bin/tool").c_str(), (root_ + "/link").c_str()), 0);
  }
  void TearDown() override {
    unlink((root_ + "/link").c_str());
    unlink((root_ + "/bin/tool").c_str());
    rmdir((root_ + "/bin").c_str());
    rmdir(root_.c_str());
  }
  std::string root_;
};

TEST_F(OwnFolderTest, FindsTheBinarysFolderByPathOrSearchWithLinksResolved) {
  const std::string bin = root_ + "/bin/";
  EXPECT_EQ(OwnFolder((root_ + "/bin/tool").c_str(), nullptr), bin);
  EXPECT_EQ(OwnFolder((root_ + "/link").c_str(), nullptr), bin);
  EXPECT_EQ(OwnFolder("tool", ("/nonexistent:" + root_ + "/bin").c_str()), bin);
  EXPECT_EQ(OwnFolder("link", root_.c_str()), bin);
  EXPECT_EQ(OwnFolder("tool", "/nonexistent"), "");
  EXPECT_EQ(OwnFolder("tool", nullptr), "");
  EXPECT_EQ(OwnFolder("", root_.c_str()), "");
}

}  // namespace
