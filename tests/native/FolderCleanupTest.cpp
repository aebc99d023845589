#include <gtest/gtest.h>

#include "app/FolderCleanup.h"
#include "tests/fakes/FakeSystem.h"

namespace {

TEST(NormalizeCleanupFolder, AcceptsOnlyPlainAbsoluteFolders) {
  struct Case {
    const char* argument;
    const char* folder;  // "" when refused
  } cases[] = {
      {"C:\\Program Files\\App", "C:\\Program Files\\App"},
      {"C:\\Program Files\\App\\", "C:\\Program Files\\App"},
      {"C:\\App\"", "C:\\App"},  // what the C runtime makes of "C:\App\"
      {"c:/App//sub", "c:\\App\\sub"},
      {"  D:\\x  ", "D:\\x"},
      {"C:\\", ""},
      {"C:", ""},
      {"C:App", ""},
      {"App", ""},
      {"\\App", ""},
      {"\\\\server\\share\\App", ""},
      {"\\\\?\\C:\\App", ""},
      {"C:\\App\\..\\Windows", ""},
      {"C:\\App\\.", ""},
      {"C:\\App\\*", ""},
      {"C:\\App\\a?b", ""},
      {"C:\\App\\x:stream", ""},
      {"C:\\App\\name.", ""},
      {"", ""},
      {"1:\\App", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeCleanupFolder(c.argument), c.folder) << c.argument;
}

TEST(IsOutsideProtectedFolders, RefusesProtectedFoldersAndTheirAncestors) {
  const std::vector<std::string> guarded = {"C:\\Windows", "C:\\users\\root\\Desktop", "C:\\Program Files\\"};
  EXPECT_TRUE(IsOutsideProtectedFolders("C:\\Program Files\\App", guarded));
  EXPECT_TRUE(IsOutsideProtectedFolders("C:\\users\\root\\Desktop\\App", guarded));
  EXPECT_TRUE(IsOutsideProtectedFolders("C:\\Windowsish", guarded));
  EXPECT_FALSE(IsOutsideProtectedFolders("C:\\windows", guarded));
  EXPECT_FALSE(IsOutsideProtectedFolders("C:\\PROGRAM FILES", guarded));
  EXPECT_FALSE(IsOutsideProtectedFolders("C:\\users", guarded));
  EXPECT_FALSE(IsOutsideProtectedFolders("C:\\users\\root", guarded));
}

class CleanUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddFile("C:\\Program Files\\Demo\\UnInstall.exe");
    fake.files.AddFile("C:\\Program Files\\Demo\\sub\\data.bin", "", kAttrReadOnly);
  }
  CFakePlatform fake;
};

TEST_F(CleanUpTest, DeletesTheTree) {
  EXPECT_TRUE(CleanUpUninstallFolder("C:\\Program Files\\Demo\\", kCleanupTimeoutMs));
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Demo"));
  EXPECT_EQ(fake.clock.m_nSlept, 0u);
}

TEST_F(CleanUpTest, RefusedFoldersStayWhole) {
  fake.files.AddFile("C:\\users\\root\\Desktop\\mine.txt");
  fake.files.AddFile("N:\\Share\\App\\x.txt");
  fake.files.SetNetworkDrive('N');
  for (const char* argument : {"C:\\users\\root", "C:\\", "C:\\Program Files", "N:\\Share\\App", "Demo"})
    EXPECT_FALSE(CleanUpUninstallFolder(argument, kCleanupTimeoutMs)) << argument;
  EXPECT_TRUE(fake.files.Exists("C:\\users\\root\\Desktop\\mine.txt"));
  EXPECT_TRUE(fake.files.Exists("C:\\Program Files\\Demo\\UnInstall.exe"));
  EXPECT_TRUE(fake.files.Exists("N:\\Share\\App\\x.txt"));
}

// A file system whose lock on the uninstaller's own file lifts after a while,
// as when the starting process ends.
class CReleasingFileSystem : public CFakeFileSystem {
 public:
  int m_nFailuresLeft = 3;
  bool RemoveFile(const std::string& path) override {
    if (path.find("UnInstall.exe") != std::string::npos && m_nFailuresLeft > 0) {
      --m_nFailuresLeft;
      return false;
    }
    return CFakeFileSystem::RemoveFile(path);
  }
};

TEST_F(CleanUpTest, WaitsForLockedFilesWithinTheBound) {
  CReleasingFileSystem files;
  files.AddFile("C:\\Program Files\\Demo\\UnInstall.exe");
  files.AddFile("C:\\Program Files\\Demo\\other.txt");
  Sys().files = &files;
  EXPECT_TRUE(CleanUpUninstallFolder("C:\\Program Files\\Demo", kCleanupTimeoutMs));
  EXPECT_FALSE(files.Exists("C:\\Program Files\\Demo"));
  EXPECT_GT(fake.clock.m_nSlept, 0u);
  EXPECT_LT(fake.clock.m_nSlept, kCleanupTimeoutMs);
}

TEST_F(CleanUpTest, GivesUpAfterTheBound) {
  fake.files.Lock("C:\\Program Files\\Demo\\UnInstall.exe");
  EXPECT_FALSE(CleanUpUninstallFolder("C:\\Program Files\\Demo", kCleanupTimeoutMs));
  EXPECT_TRUE(fake.files.Exists("C:\\Program Files\\Demo\\UnInstall.exe"));
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Demo\\sub"));
  EXPECT_GE(fake.clock.m_nSlept, kCleanupTimeoutMs - kCleanupRetryMs);
  EXPECT_LE(fake.clock.m_nSlept, kCleanupTimeoutMs + kCleanupRetryMs);
}

TEST_F(CleanUpTest, MissingFolderIsNothingToDo) {
  EXPECT_TRUE(CleanUpUninstallFolder("C:\\Program Files\\Gone", kCleanupTimeoutMs));
  EXPECT_EQ(fake.clock.m_nSlept, 0u);
}

}  // namespace
