// UnInstall.exe end to end: an installation laid out on disk and in the
// registry with a record of every section, the confirmation answered by the
// dialog driver, and what is left afterwards. Runs in a safe prefix of its
// own (scripts/run-e2e.sh), with UnInstall.exe beside this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/driver/DialogDriver.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string HereFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path, n);
  return self.substr(0, self.find_last_of('\\'));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolders(const std::string& path) {
  for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

void WriteFile(const std::string& path, const std::string& content) {
  MakeFolders(path.substr(0, path.find_last_of('\\')));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, path.c_str(), &key), ERROR_SUCCESS) << path;
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool WaitUntilGone(const std::string& path, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (Exists(path)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

// One installation of the application "E2E Demo <n>": files, folders,
// registry items, a program group with a shortcut, the Add/Remove Programs
// entry, and the uninstall folder with UnInstall.exe and its record.
struct CInstallation {
  explicit CInstallation(const std::string& tag, bool uninstallFolderWithBackslash)
      : app("C:\\Program Files\\E2E " + tag),
        uninstall(app + "\\UnInstall"),
        menu(HereFolder() + "\\menu\\E2E " + tag),
        regCompany("Software\\E2E Co " + tag),
        guid("{E2E-" + tag + "}"),
        name("E2E Demo " + tag) {
    WriteFile(app + "\\Demo.exe", "MZ");
    WriteFile(app + "\\Demo.dll", "MZ");
    WriteFile(app + "\\readme.txt", "read me");
    WriteFile(app + "\\notes.txt", "the user's own notes");  // kept by its rule
    WriteFile(app + "\\data\\state.ini", "[s]");
    SetFileAttributesA((app + "\\data\\state.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    MakeFolders(app + "\\logs\\old");
    WriteFile(menu + "\\Demo.lnk", "L");
    SetString(HKEY_CURRENT_USER, regCompany + "\\Demo\\Settings", "Window", "1");
    SetString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Version", "1.0");
    SetString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Owner", "kept");
    SetString(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + guid, "DisplayName", name);
    MakeFolders(uninstall);
    EXPECT_TRUE(CopyFileA((HereFolder() + "\\UnInstall.exe").c_str(), (uninstall + "\\UnInstall.exe").c_str(), FALSE));
    std::string record =
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
        "Compent=\r\nFileGroup=Program\r\nSetupType=0\r\nsftype=0\r\nsfentype=0\r\n";
    WriteFile(uninstall + "\\Setup.qsf", record);
  }

  // Runs UnInstall.exe and answers its confirmation; the driver then waits
  // for the temporary copy to end.
  void Uninstall(CDialogDriver& driver, const std::string& answer) {
    driver.SetScreenshotFolder(HereFolder() + "\\shots");
    driver.AddRule("Are you sure you want to uninstall", "press:" + answer);
    ASSERT_TRUE(driver.Run("\"" + uninstall + "\\UnInstall.exe\"", 60000, {"strQSTemp.exe"})) << driver.Log();
    EXPECT_EQ(driver.Unanswered(), 0) << driver.Log();
    ASSERT_EQ(driver.Dialogs().size(), 1u) << driver.Log();
    const CDialogRecord& question = driver.Dialogs()[0];
    EXPECT_EQ(question.title, name);
    EXPECT_TRUE(question.Mentions("Are you sure you want to uninstall " + name + " ?")) << driver.Log();
  }

  std::string app, uninstall, menu, regCompany, guid, name;
};

class DefaultUninstall : public ::testing::TestWithParam<bool> {};

TEST_P(DefaultUninstall, YesRemovesWhatTheRecordSelectsAndTheCopyDeletesTheUninstallFolder) {
  bool withBackslash = GetParam();
  CInstallation install(withBackslash ? "B" : "A", withBackslash);
  CDialogDriver driver;
  install.Uninstall(driver, "Yes");

  EXPECT_TRUE(WaitUntilGone(install.uninstall, 40000)) << "the uninstall folder stayed";
  for (const char* gone : {"\\Demo.exe", "\\Demo.dll", "\\readme.txt", "\\data", "\\logs"})
    EXPECT_FALSE(Exists(install.app + gone)) << gone;
  EXPECT_TRUE(Exists(install.app + "\\notes.txt"));
  EXPECT_FALSE(Exists(install.menu));
  EXPECT_TRUE(Exists(HereFolder() + "\\menu"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, install.regCompany + "\\Demo"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, install.regCompany));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo", "Version"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo", "Owner"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + install.guid));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

INSTANTIATE_TEST_SUITE_P(UninstallFolderForms, DefaultUninstall, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("TrailingBackslash") : std::string("Plain");
                         });

TEST(DefaultUninstallAnswer, NoLeavesEverything) {
  CInstallation install("N", true);
  CDialogDriver driver;
  install.Uninstall(driver, "No");
  Sleep(500);
  EXPECT_FALSE(IsProcessRunning("strQSTemp.exe"));
  EXPECT_TRUE(Exists(install.uninstall + "\\UnInstall.exe"));
  EXPECT_TRUE(Exists(install.uninstall + "\\Setup.qsf"));
  EXPECT_TRUE(Exists(install.app + "\\Demo.exe"));
  EXPECT_TRUE(Exists(install.app + "\\logs\\old"));
  EXPECT_TRUE(Exists(install.menu + "\\Demo.lnk"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, install.regCompany + "\\Demo\\Settings"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo", "Version"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + install.guid));
}

}  // namespace
