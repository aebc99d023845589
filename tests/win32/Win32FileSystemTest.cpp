// The Win32 file-system seam and the helpers over it, against the real
// file system under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "app/Utilities.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "tests/win32/TempFolder.h"

namespace {

TEST(Win32FileSystem, FindReadAndAttributes) {
  CTempFolder dir("fs");
  dir.WriteFile("a.txt", "line1\r\nline2");
  dir.MakeFolder("sub");
  IFileSystem& fs = *Sys().files;
  auto matches = fs.FindFiles(dir.Path() + "\\*.*");
  int files = 0, folders = 0;
  for (const auto& m : matches) {
    if (m.name == "." || m.name == "..") continue;
    (m.attributes & kAttrDirectory) ? ++folders : ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_EQ(folders, 1);
  auto stream = fs.OpenForReading(dir.Path() + "\\a.txt");
  ASSERT_TRUE(stream);
  char buf[64];
  size_t n = stream->Read(buf, sizeof(buf));
  EXPECT_EQ(std::string(buf, n), "line1\r\nline2");
  EXPECT_FALSE(fs.OpenForReading(dir.Path() + "\\missing.txt"));
  int64_t written = 0;
  EXPECT_TRUE(fs.GetLastWriteTime(dir.Path() + "\\a.txt", written));
  EXPECT_GT(written, INT64_C(1600000000));
  EXPECT_TRUE(fs.IsOnLocalDrive(dir.Path()));
}

TEST(Win32FileSystem, ProfileReaderCutsLongValues) {
  CTempFolder dir("ini");
  dir.WriteFile("Setup.qsf", "[comm]\r\nappname=" + std::string(300, 'x') + "\r\n");
  std::string value = Sys().files->ReadProfileString(dir.Path() + "\\Setup.qsf", "Comm", "AppName", "", 200);
  EXPECT_EQ(value, std::string(199, 'x'));
}

TEST(Win32Helpers, DeleteFolderTreeRemovesReadOnlyAndHiddenFiles) {
  CTempFolder dir("tree");
  dir.WriteFile("App\\a.txt", "a");
  dir.WriteFile("App\\deep\\er\\b.txt", "b");
  dir.WriteFile("App\\ro.txt", "r");
  SetFileAttributesA((dir.Path() + "\\App\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  DeleteFolderTree(dir.Path() + "\\App\\");
  EXPECT_EQ(GetFileAttributesA((dir.Path() + "\\App").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Helpers, ModuleDirIsThisProgramsFolder) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(GetModuleDir() + "\\" + GetModuleName(), std::string(path));
}

TEST(Win32Helpers, StringTableComesFromResources) {
  EXPECT_EQ(BuiltInText(1014), "Are you sure you want to uninstall %s ?");
  EXPECT_EQ(BuiltInText(1015), "");
}

}  // namespace
