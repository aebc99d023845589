// UnInstall.exe end to end: an installation laid out on disk and in the
// registry with a record of every section, the confirmation answered "Yes"
// by the dialog driver, and what is left afterwards, the uninstall folder
// included, which the temporary copy deletes. Both forms of the record's
// "UnInstallFolder" (with and without a trailing backslash).
#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"

using namespace e2e;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool WaitUntilGone(const std::string& path, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (Exists(path)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

// One installation of "E2E Demo <tag>": files, folders, registry items, a
// program group with a shortcut, the Add/Remove Programs entry, and the
// uninstall folder with UnInstall.exe and its record.
struct CInstallation {
  CInstallation(const std::string& tag, bool uninstallFolderWithBackslash)
      : app("C:\\Program Files\\E2E " + tag),
        uninstall(app + "\\UnInstall"),
        menu(Here() + "\\menu\\E2E " + tag),
        regCompany("Software\\E2E Co " + tag),
        guid("{E2E0D000-0000-4000-8000-00000000000" + tag + "}"),
        name("E2E Demo " + tag) {
    WriteText(app + "\\Demo.exe", "MZ");
    WriteText(app + "\\Demo.dll", "MZ");
    WriteText(app + "\\readme.txt", "read me");
    WriteText(app + "\\notes.txt", "the user's own notes");
    WriteText(app + "\\data\\state.ini", "[s]");
    SetFileAttributesA((app + "\\data\\state.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    MakeFolders(app + "\\logs\\old");
    WriteText(menu + "\\Demo.lnk", "L");
    SetRegString(HKEY_CURRENT_USER, regCompany + "\\Demo\\Settings", "Window", "1");
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Version", "1.0");
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Owner", "not recorded");
    SetRegString(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + guid, "DisplayName", name);
    program = PlaceProgram(uninstall);
    WriteText(uninstall + "\\Setup.qsf",
              "[CopyFile]\r\n"
              "Item1=" + app + "\\Demo.exe\r\nItem1_FileGroup=Program\r\n"
              "Item2=" + app + "\\Demo.dll\r\nItem2_RegType=0\r\n"
              "Item3=" + app + "\\readme.txt\r\nItem3_Uninstall=2\r\n"
              "Item4=" + app + "\\notes.txt\r\nItem4_Uninstall=1\r\n"
              "Item5=" + app + "\\data\\state.ini\r\nItem5_Uninstall=4\r\n"
              "Count=5\r\n"
              "[CreateDir]\r\nItem1=" + app + "\\data\r\nItem2=" + app + "\\logs\r\nCount=2\r\n"
              "[RegItem]\r\n"
              "Item1=Key,HKEY_CURRENT_USER," + regCompany + ",Demo\r\n"
              "Item2=Value,HKEY_LOCAL_MACHINE," + regCompany + "\\Demo,Version\r\n"
              "Item2_DataType=0\r\nItem2_Data=1.0\r\nItem2_Uninstall=3\r\n"
              "Count=2\r\n"
              "[ShellObj]\r\nItem1=Group," + menu + "\r\nItem2=Shortcut," + menu + "\\Demo.lnk\r\nCount=2\r\n"
              "[Comm]\r\n"
              "UnInstallFolder=" + uninstall + (uninstallFolderWithBackslash ? "\\" : "") + "\r\n"
              "AppName=" + name + "\r\nGUID=" + guid + "\r\nDescPath=" + app + "\r\n"
              "Compent=\r\nFileGroup=Program\r\nSetupType=0\r\nsftype=0\r\nsfentype=0\r\n");
  }

  std::string app, uninstall, menu, regCompany, guid, name, program;
};

class DefaultUninstall : public ::testing::TestWithParam<bool> {};

TEST_P(DefaultUninstall, YesRemovesWhatTheRecordSelectsAndTheCopyDeletesTheUninstallFolder) {
  bool withBackslash = GetParam();
  CInstallation install(withBackslash ? "B" : "A", withBackslash);
  // The test bed planted a link in the first installation's folder.
  bool linked = !withBackslash;
  if (linked) {
    ASSERT_TRUE(IsFolder(install.app + "\\docs")) << "the prefix hook planted no link";
  }

  CRunResult run = RunProgram("\"" + install.program + "\"", {{"Are you sure you want to uninstall", "press:Yes"}},
                              withBackslash ? "trailing-backslash" : "plain");
  ASSERT_EQ(run.dialogs.size(), 1u) << run.log;
  EXPECT_EQ(run.dialogs[0].title, install.name);
  EXPECT_EQ(run.dialogs[0].Statics(),
            std::vector<std::string>{"Are you sure you want to uninstall " + install.name + " ?"});

  EXPECT_TRUE(WaitUntilGone(install.uninstall, 10000)) << "the uninstall folder stayed";
  for (const char* gone : {"\\Demo.exe", "\\Demo.dll", "\\readme.txt", "\\data", "\\logs"})
    EXPECT_FALSE(Exists(install.app + gone)) << gone;
  EXPECT_TRUE(Exists(install.app + "\\notes.txt"));
  if (linked) {
    EXPECT_TRUE(IsFolder(install.app + "\\docs"));
    EXPECT_TRUE(IsFolder("C:\\LinkTarget\\empty"));
  }
  EXPECT_FALSE(Exists(install.menu));
  EXPECT_TRUE(Exists(Here() + "\\menu"));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, install.regCompany + "\\Demo"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, install.regCompany));
  EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo", "Version"));
  EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo", "Owner"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + install.guid));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

INSTANTIATE_TEST_SUITE_P(UninstallFolderForms, DefaultUninstall, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("TrailingBackslash") : std::string("Plain");
                         });

}  // namespace
