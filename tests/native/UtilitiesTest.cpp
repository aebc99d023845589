#include <gtest/gtest.h>

#include "app/Utilities.h"
#include "records/InstallInfo.h"
#include "tests/fakes/FakeSystem.h"

namespace {

TEST(PathParts, Table) {
  struct Case {
    std::string path, folder, name, ext;
  } cases[] = {
      {"C:\\App\\Run.exe", "C:\\App", "Run.exe", "exe"},
      {"UnInstall.exe", "", "UnInstall.exe", "exe"},
      {"\\UnInstall.exe", "", "\\UnInstall.exe", "exe"},
      {"", "", "", ""},
      {"readme", "", "readme", ""},
      {"archive.", "", "archive.", ""},
      {".profile", "", ".profile", ""},
      {"C:\\My.App\\server", "C:\\My.App", "server", "App\\server"},
      {"C:\\App\\", "C:\\App", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(GetNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(GetFileExt(c.path), c.ext) << c.path;
  }
}

TEST(ModulePath, FromTheRunningProgram) {
  CFakePlatform fake;
  fake.files.m_strModulePath = "C:\\Program Files\\App\\UnInstall.exe";
  EXPECT_EQ(GetModuleDir(), "C:\\Program Files\\App");
  EXPECT_EQ(GetModuleName(), "UnInstall.exe");
}

TEST(FileExists, FilesOnlyAndWildcards) {
  CFakePlatform fake;
  fake.files.AddFile("C:\\App\\Setup.qsf");
  fake.files.AddFolder("C:\\Other\\Setup.qsf");
  EXPECT_TRUE(FileExists("C:\\App\\Setup.qsf"));
  EXPECT_TRUE(FileExists("c:\\app\\setup.QSF"));
  EXPECT_TRUE(FileExists("C:\\App\\*.qsf"));
  EXPECT_FALSE(FileExists("C:\\Other\\Setup.qsf"));
  EXPECT_FALSE(FileExists("C:\\Missing\\Setup.qsf"));
}

TEST(IsFolderEmpty, Cases) {
  CFakePlatform fake;
  fake.files.AddFolder("C:\\Empty");
  fake.files.AddFile("C:\\Full\\.hidden", "", kAttrHidden);
  EXPECT_TRUE(IsFolderEmpty("C:\\Empty"));
  EXPECT_TRUE(IsFolderEmpty("C:\\Empty\\"));
  EXPECT_TRUE(IsFolderEmpty("C:\\Missing"));
  EXPECT_FALSE(IsFolderEmpty("C:\\Full"));
  EXPECT_FALSE(IsFolderEmpty(""));
}

TEST(DeleteFolderTree, DeletesEverythingIncludingReadOnlyFiles) {
  for (const char* arg : {"C:\\App", "C:\\App\\"}) {
    CFakePlatform fake;
    fake.files.AddFile("C:\\App\\a.txt");
    fake.files.AddFile("C:\\App\\ro.txt", "", kAttrReadOnly);
    fake.files.AddFile("C:\\App\\sub\\deep\\h.sys", "", kAttrHidden | kAttrSystem);
    fake.files.AddFile("C:\\Keep\\x.txt");
    DeleteFolderTree(arg);
    EXPECT_FALSE(fake.files.Exists("C:\\App")) << arg;
    EXPECT_TRUE(fake.files.Exists("C:\\Keep\\x.txt"));
  }
}

TEST(DeleteFolderTree, RemovesLinksWithoutEnteringThem) {
  CFakePlatform fake;
  fake.files.AddFile("C:\\users\\me\\Documents\\thesis.doc");
  fake.files.AddFile("C:\\App\\a.txt");
  fake.files.AddFolderLink("C:\\App\\docs", "C:\\users\\me\\Documents");
  DeleteFolderTree("C:\\App");
  EXPECT_TRUE(fake.files.Exists("C:\\users\\me\\Documents\\thesis.doc"));
  EXPECT_FALSE(fake.files.Exists("C:\\App\\docs"));
  EXPECT_FALSE(fake.files.Exists("C:\\App"));
}

TEST(DeleteFolderTree, TopFolderThatIsALinkIsRemovedAsALink) {
  CFakePlatform fake;
  fake.files.AddFile("C:\\Data\\keep.txt");
  fake.files.AddFolderLink("C:\\App", "C:\\Data");
  DeleteFolderTree("C:\\App");
  EXPECT_TRUE(fake.files.Exists("C:\\Data\\keep.txt"));
  EXPECT_FALSE(fake.files.Exists("C:\\App"));
}

TEST(DeleteFolderTree, LockedFileKeepsItsFolders) {
  CFakePlatform fake;
  fake.files.AddFile("C:\\App\\bin\\locked.exe");
  fake.files.AddFile("C:\\App\\other.txt");
  fake.files.Lock("C:\\App\\bin\\locked.exe");
  DeleteFolderTree("C:\\App");
  EXPECT_TRUE(fake.files.Exists("C:\\App\\bin\\locked.exe"));
  EXPECT_FALSE(fake.files.Exists("C:\\App\\other.txt"));
  DeleteFolderTree("");
  EXPECT_TRUE(fake.files.Exists("C:\\App"));
}

TEST(RemoveShellObj, EntryForms) {
  struct Case {
    const char* entry;
    int result;
    bool removed;      // the shortcut file is gone
    size_t notified;   // shell notifications sent
  } cases[] = {
      {"Shortcut,C:\\x\\a.lnk", 1, true, 2},
      {"shortcut,C:\\x\\a.lnk,extra", 1, true, 2},
      {"Link,C:\\x\\a.lnk", 0, false, 0},
      {"Shortcut", 0, false, 0},
      {"Shortcut,", 0, false, 0},
      {"", 0, false, 0},
  };
  for (const Case& c : cases) {
    CFakePlatform fake;
    fake.files.AddFile("C:\\x\\a.lnk");
    EXPECT_EQ(RemoveShellObj(c.entry, true), c.result) << c.entry;
    EXPECT_EQ(!fake.files.Exists("C:\\x\\a.lnk"), c.removed) << c.entry;
    EXPECT_EQ(fake.shell.m_notifications.size(), c.notified) << c.entry;
  }
}

TEST(RemoveShellObj, NotificationsNameThePathAndItsParent) {
  CFakePlatform fake;
  fake.files.AddFile("C:\\Menu\\App\\a.lnk");
  EXPECT_EQ(RemoveShellObj("Group,C:\\Menu\\App", true), 1);
  EXPECT_TRUE(fake.files.Exists("C:\\Menu\\App\\a.lnk"));  // a group that holds anything stays
  ASSERT_EQ(fake.shell.m_notifications.size(), 2u);
  EXPECT_EQ(fake.shell.m_notifications[0].events, kShcneRmdir | kShcneDelete);
  EXPECT_EQ(fake.shell.m_notifications[0].flags, unsigned(kShcnfPathA | kShcnfFlush));
  EXPECT_EQ(fake.shell.m_notifications[0].path, "C:\\Menu\\App");
  EXPECT_EQ(fake.shell.m_notifications[1].events, kShcneUpdateDir | kShcneInterrupt);
  EXPECT_EQ(fake.shell.m_notifications[1].path, "C:\\Menu");

  fake.files.RemoveFile("C:\\Menu\\App\\a.lnk");
  EXPECT_EQ(RemoveShellObj("GROUP,C:\\Menu\\App", false), 1);
  EXPECT_FALSE(fake.files.Exists("C:\\Menu\\App"));
  EXPECT_EQ(fake.shell.m_notifications.size(), 2u);
}

TEST(RemoveShellObj, PathWithoutBackslashGetsOneNotification) {
  CFakePlatform fake;
  EXPECT_EQ(RemoveShellObj("Shortcut,a.lnk", true), 1);
  EXPECT_EQ(fake.shell.m_notifications.size(), 1u);
}

TEST(LoadText, LanguageFileFirstThenStringTable) {
  CFakePlatform fake;
  CInstallInfo info;
  EXPECT_EQ(LoadText(1013, &info), "Not find Uninstall Info");
  EXPECT_EQ(LoadText(1013, nullptr), "Not find Uninstall Info");
  EXPECT_EQ(LoadText(1015, nullptr), "");
  fake.files.AddFile("C:\\Setup.lr", "[Strings]\r\n1013=Keine Info\r\n1014=\r\n");
  ASSERT_TRUE(info.m_language.Load("Setup", "C:\\Setup.lr"));
  EXPECT_EQ(LoadText(1013, &info), "Keine Info");
  EXPECT_EQ(LoadText(1014, &info), "");
  EXPECT_EQ(LoadText(1019, &info), "Waiting for uninstall...");
}

TEST(BuiltInText, HoldsTheWholeTable) {
  const std::pair<int, const char*> texts[] = {
      {1004, "Init Data..."},
      {1005, "Remove ShellObj "},
      {1006, "Remove RegInfo"},
      {1007, "UnRegist %s"},
      {1008, "Remove %s"},
      {1009, "Uninstall is error!"},
      {1010, "Uninstall is successfully!"},
      {1011, "%s has not been successfully uninstalled."},
      {1012, "%s has been successfully uninstalled."},
      {1013, "Not find Uninstall Info"},
      {1014, "Are you sure you want to uninstall %s ?"},
      {1015, ""},
      {1016, "Uninstall %s"},
      {1017, "Cleaning application : %s"},
      {1018, "Stop service %s"},
      {1019, "Waiting for uninstall..."},
  };
  for (const auto& t : texts) EXPECT_EQ(BuiltInText(t.first), t.second) << t.first;
}

TEST(RestartWindows, GoesToTheSystem) {
  CFakePlatform fake;
  EXPECT_TRUE(RestartWindows());
  fake.shell.m_bRestartResult = false;
  EXPECT_FALSE(RestartWindows());
  EXPECT_EQ(fake.shell.m_nRestarts, 2);
}

}  // namespace
