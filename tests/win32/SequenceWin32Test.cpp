// The default uninstall on the real system, and the folder handed to the
// temporary copy as the system's command-line rules read it back.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "app/Win32UninstallDialogs.h"
#include "removal/WizardPage.h"
#include "tests/win32/TempFolder.h"

namespace {

std::string FirstArgument(const std::string& parameters) {
  std::wstring line = L"strQSTemp.exe " + std::wstring(parameters.begin(), parameters.end());
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(line.c_str(), &count);
  std::string first;
  if (args && count >= 2) {
    for (const wchar_t* c = args[1]; *c; ++c) first += static_cast<char>(*c);
  }
  LocalFree(args);
  return first;
}

TEST(Win32Sequence, QuotedFolderArrivesWhole) {
  for (const char* folder : {"C:\\Program Files\\Demo\\UnInstall", "C:\\Program Files\\Demo\\UnInstall\\"}) {
    EXPECT_EQ(FirstArgument(QuoteFolderArgument(folder)), "C:\\Program Files\\Demo\\UnInstall") << folder;
  }
  // Quoted as it stands, a trailing backslash escapes the closing quote.
  EXPECT_EQ(FirstArgument("\"C:\\Program Files\\Demo\\UnInstall\\\""), "C:\\Program Files\\Demo\\UnInstall\"");
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, path.c_str(), &key), ERROR_SUCCESS) << path;
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

// The real progress dialog; the finish page is noted instead of shown.
class CNotedFinishPage : public CWin32UninstallDialogs {
 public:
  int RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo&, bool error) override {
    m_arrPages.push_back(title + "|" + appName + (error ? "|error" : "|success"));
    return kDialogStateFinish;
  }
  std::vector<std::string> m_arrPages;
};

// Every section of a record, removed by the real progress dialog. The
// record names no uninstall folder: the copy that would delete it is this
// test program itself.
TEST(Win32Sequence, DefaultUninstallRemovesEveryRecordedSection) {
  CTempFolder dir("default");
  const std::string app = dir.Path() + "\\App";
  const std::string id = std::to_string(GetCurrentProcessId());
  const std::string reg = "Software\\UninstTest_seq_" + id;
  const std::string guid = "{UninstTestSeq-" + id + "}";
  const std::string arp = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + guid;
  dir.WriteFile("App\\run.exe", "MZ");
  dir.WriteFile("App\\lib.dll", "MZ");
  dir.WriteFile("App\\keep.txt", "user data");
  std::string readOnly = dir.WriteFile("App\\sub\\ro.txt", "r");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  dir.MakeFolder("App\\empty\\deeper");
  dir.WriteFile("Menu\\Demo\\Demo.lnk", "L");
  SetString(HKEY_CURRENT_USER, reg + "\\Co\\App\\Sub", "x", "1");
  SetString(HKEY_CURRENT_USER, reg + "\\Co\\Settings", "Version", "1.0");
  SetString(HKEY_CURRENT_USER, reg + "\\Co\\Settings", "User", "u");
  SetString(HKEY_LOCAL_MACHINE, arp, "DisplayName", "Demo");
  dir.WriteFile("UnInstall\\Setup.qsf",
                "[CopyFile]\r\nItem1=" + app + "\\run.exe\r\nItem1_RegType=2\r\n"
                "Item2=" + app + "\\lib.dll\r\nItem2_RegType=1\r\n"
                "Item3=" + app + "\\keep.txt\r\nItem3_Uninstall=1\r\n"
                "Item4=" + readOnly + "\r\nCount=4\r\n"
                "[CreateDir]\r\nItem1=" + app + "\r\nItem2=" + app + "\\sub\r\nCount=2\r\n"
                "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER," + reg + "\\Co,App\r\n"
                "Item2=Value,HKEY_CURRENT_USER," + reg + "\\Co\\Settings,Version\r\n"
                "Item2_DataType=0\r\nItem2_Data=1.0\r\nItem2_Uninstall=3\r\nCount=2\r\n"
                "[ShellObj]\r\nItem1=Group," + dir.Path() + "\\Menu\\Demo\r\n"
                "Item2=Shortcut," + dir.Path() + "\\Menu\\Demo\\Demo.lnk\r\nCount=2\r\n"
                "[Comm]\r\nAppName=Demo\r\nGUID=" + guid + "\r\nDescPath=" + app + "\r\n");

  CNotedFinishPage dialogs;
  CUninstallApp program;
  program.m_pDialogs = &dialogs;
  program.m_strModuleDir = dir.Path() + "\\UnInstall";
  EXPECT_EQ(program.RunUninstall(), 1);
  EXPECT_EQ(dialogs.m_arrPages, std::vector<std::string>{"Uninstall Demo|Demo|success"});

  EXPECT_FALSE(Exists(app + "\\run.exe"));
  EXPECT_FALSE(Exists(app + "\\lib.dll"));
  EXPECT_FALSE(Exists(readOnly));
  EXPECT_FALSE(Exists(app + "\\sub"));
  EXPECT_FALSE(Exists(app + "\\empty"));
  EXPECT_TRUE(Exists(app + "\\keep.txt"));
  EXPECT_FALSE(Exists(dir.Path() + "\\Menu\\Demo"));
  EXPECT_TRUE(Exists(dir.Path() + "\\Menu"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, reg + "\\Co\\App"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, reg + "\\Co\\Settings"));
  HKEY settings = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (reg + "\\Co\\Settings").c_str(), 0, KEY_READ, &settings),
            ERROR_SUCCESS);
  EXPECT_NE(RegQueryValueExA(settings, "Version", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(settings, "User", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(settings);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, arp));
  RegDeleteTreeA(HKEY_CURRENT_USER, reg.c_str());
}

}  // namespace
