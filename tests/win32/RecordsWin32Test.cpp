// The registry layer, the record's unchanged checks and the install
// information against the real registry and file system under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "records/InstallInfo.h"
#include "records/InstallRecord.h"
#include "system/RegistryKey.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/UnixLink.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A registry key of its own below HKEY_CURRENT_USER\Software for one test,
// deleted with everything in it at the end.
class CTempRegistryKey {
 public:
  explicit CTempRegistryKey(const std::string& tag)
      : m_strPath("Software\\UninstTest_" + tag + "_" + std::to_string(GetCurrentProcessId())) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, m_strPath.c_str(), &key);
    RegCloseKey(key);
  }
  ~CTempRegistryKey() { RegDeleteTreeA(HKEY_CURRENT_USER, m_strPath.c_str()); }
  CTempRegistryKey(const CTempRegistryKey&) = delete;
  CTempRegistryKey& operator=(const CTempRegistryKey&) = delete;

  const std::string& Path() const { return m_strPath; }
  std::string Sub(const std::string& relative) const { return m_strPath + "\\" + relative; }

 private:
  std::string m_strPath;
};

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, path.c_str(), &key), ERROR_SUCCESS) << path;
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, path.c_str(), &key), ERROR_SUCCESS) << path;
  RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
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

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(Win32RegistryLayer, KeyItemsTakeTheirWholeTreeAndLeaveThePath) {
  CTempRegistryKey base("tree");
  SetString(HKEY_CURRENT_USER, base.Sub("Co\\App"), "Version", "1.0");
  SetString(HKEY_CURRENT_USER, base.Sub("Co\\App\\A\\A1\\A11"), "x", "1");
  SetString(HKEY_CURRENT_USER, base.Sub("Co\\App\\B"), "y", "2");
  SetString(HKEY_CURRENT_USER, base.Sub("Co\\Other"), "z", "3");
  EXPECT_TRUE(RemoveRegistryItem("Key,HKEY_CURRENT_USER," + base.Sub("Co") + ",App"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base.Sub("Co\\App")));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base.Sub("Co\\Other")));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base.Sub("Co")));
  // Path stays even when it is left empty.
  EXPECT_TRUE(RemoveRegistryItem("key,HKEY_CURRENT_USER," + base.Sub("Co") + ",Other"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base.Sub("Co\\Other")));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base.Sub("Co")));
}

TEST(Win32RegistryLayer, ValueItemsTakeOneValue) {
  CTempRegistryKey base("value");
  SetString(HKEY_CURRENT_USER, base.Sub("App"), "Version", "1.0");
  SetString(HKEY_CURRENT_USER, base.Sub("App"), "Other", "x");
  EXPECT_TRUE(RemoveRegistryItem("Value,HKEY_CURRENT_USER," + base.Sub("App") + ",Version"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, base.Sub("App"), "Version"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base.Sub("App"), "Other"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base.Sub("App")));
}

TEST(Win32RegistryLayer, RootNamesAreCaseSensitive) {
  CTempRegistryKey base("roots");
  SetString(HKEY_CURRENT_USER, base.Sub("App"), "Version", "1.0");
  SetString(HKEY_CURRENT_USER, base.Sub("App\\Sub"), "Version", "1.0");
  for (const char* root : {"hkey_current_user", "Hkey_Current_User", "HKEY_USERS", " HKEY_CURRENT_USER"}) {
    EXPECT_FALSE(RemoveRegistryItem(std::string("Value,") + root + "," + base.Sub("App") + ",Version")) << root;
    EXPECT_FALSE(RemoveRegistryItem(std::string("Key,") + root + "," + base.Path() + ",App")) << root;
  }
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, base.Sub("App"), "Version"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base.Sub("App\\Sub")));
}

TEST(Win32RegistryLayer, QueriesFollowTheValueTypes) {
  CTempRegistryKey base("query");
  SetString(HKEY_CURRENT_USER, base.Path(), "Text", "1.0");
  SetString(HKEY_CURRENT_USER, base.Path(), "Long", "12345");
  SetDword(HKEY_CURRENT_USER, base.Path(), "Number", 42);
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, base.Path(), kKeyRead | kKeyWrite));
  std::string text = "x";
  EXPECT_TRUE(key.QueryString("Text", text));
  EXPECT_EQ(text, "1.0");
  EXPECT_FALSE(key.QueryString("Number", text));
  EXPECT_EQ(text, "");
  uint32_t number = 7;
  EXPECT_TRUE(key.QueryDword("Number", number));
  EXPECT_EQ(number, 42u);
  EXPECT_TRUE(key.QueryDword("Text", number));  // "1.0" and its zero are four bytes
  EXPECT_EQ(number, 0x00302E31u);
  number = 7;
  EXPECT_FALSE(key.QueryDword("Long", number));
  EXPECT_EQ(number, 7u);
  EXPECT_TRUE(key.SetString("Written", "v"));
  EXPECT_TRUE(key.QueryString("Written", text));
  EXPECT_EQ(text, "v");
}

TEST(Win32Record, RegistryUnchangedCheck) {
  CTempRegistryKey base("unchanged");
  SetString(HKEY_CURRENT_USER, base.Sub("App"), "Version", "1.0");
  SetDword(HKEY_CURRENT_USER, base.Sub("App"), "Count", 42);
  auto item = [&](const char* name, const char* dataType, const char* data) {
    CRecordItem i;
    i.SetField("Type", "Value");
    i.SetField("Root", "HKEY_CURRENT_USER");
    i.SetField("Path", base.Sub("App"));
    i.SetField("Name", name);
    i.SetField("DataType", dataType);
    i.SetField("Data", data);
    return i;
  };
  EXPECT_TRUE(IsRegistryItemUnchanged(item("Version", "0", "1.0")));
  EXPECT_FALSE(IsRegistryItemUnchanged(item("Version", "0", "1.1")));
  EXPECT_TRUE(IsRegistryItemUnchanged(item("Count", "1", "42")));
  EXPECT_FALSE(IsRegistryItemUnchanged(item("Count", "1", "41")));
  EXPECT_FALSE(IsRegistryItemUnchanged(item("Count", "0", "42")));
  SetString(HKEY_CURRENT_USER, base.Sub("App"), "Version", "1.1");
  EXPECT_FALSE(IsRegistryItemUnchanged(item("Version", "0", "1.0")));
  EXPECT_TRUE(IsRegistryItemUnchanged(item("Version", "0", "1.1")));
}

// The installer writes "ModifyDate" as the file's local last-write time.
std::string LocalModifyDate(const FILETIME& written, int extraSeconds) {
  ULARGE_INTEGER t;
  t.LowPart = written.dwLowDateTime;
  t.HighPart = written.dwHighDateTime;
  t.QuadPart += static_cast<ULONGLONG>(extraSeconds) * 10000000ULL;
  FILETIME shifted = {t.LowPart, t.HighPart};
  SYSTEMTIME utc, local;
  FileTimeToSystemTime(&shifted, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  char text[64];
  std::snprintf(text, sizeof(text), "%d-%d-%d %d:%d:%d", local.wYear, local.wMonth, local.wDay, local.wHour,
                local.wMinute, local.wSecond);
  return text;
}

TEST(Win32Record, FileUnchangedCheckOnRealFileTimes) {
  CTempFolder dir("modify");
  std::string path = dir.WriteFile("app.dll", "MZ");
  SYSTEMTIME summer = {2004, 5, 5, 7, 20, 2, 9, 0};
  SYSTEMTIME winter = {2004, 1, 6, 10, 21, 2, 9, 0};
  for (const SYSTEMTIME& when : {summer, winter}) {
    FILETIME written;
    SystemTimeToFileTime(&when, &written);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    CRecordItem item;
    item.SetField("FileName", path);
    item.SetField("ModifyDate", LocalModifyDate(written, 0));
    EXPECT_TRUE(IsFileUnchanged(item)) << LocalModifyDate(written, 0);
    item.SetField("ModifyDate", LocalModifyDate(written, 1));
    EXPECT_FALSE(IsFileUnchanged(item));
    item.SetField("ModifyDate", LocalModifyDate(written, -3600));
    EXPECT_FALSE(IsFileUnchanged(item));
  }
}

TEST(Win32Record, FileThatCannotBeOpenedIsKept) {
  CTempFolder dir("locked");
  std::string path = dir.WriteFile("app.dll", "MZ");
  CRecordItem item;
  item.SetField("FileName", path);
  item.SetField("Uninstall", "3");
  FILETIME written;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  GetFileTime(file, nullptr, nullptr, &written);
  item.SetField("ModifyDate", LocalModifyDate(written, 0));
  EXPECT_FALSE(CInstallRecord::ShouldRemoveFile(item));  // held without read sharing
  CloseHandle(file);
  EXPECT_TRUE(CInstallRecord::ShouldRemoveFile(item));
  item.SetField("FileName", dir.Path() + "\\missing.dll");
  EXPECT_FALSE(CInstallRecord::ShouldRemoveFile(item));
}

TEST(Win32InstallInfo, UninstallEntryOfTheGuidGoes) {
  std::string guid = "{UninstTest-" + std::to_string(GetCurrentProcessId()) + "}";
  std::string entry = std::string(kUninstallKey) + "\\" + guid;
  SetString(HKEY_LOCAL_MACHINE, entry, "DisplayName", "Demo");
  SetString(HKEY_LOCAL_MACHINE, entry + "-other", "DisplayName", "Other");
  CTempFolder dir("arp");
  CInstallInfo info;
  info.m_strRecordPath = dir.WriteFile("Setup.qsf", "[Comm]\r\nGUID=" + guid + "\r\n");
  info.LoadRecord();
  EXPECT_TRUE(info.RemoveUninstallEntry());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, entry + "-other"));
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, (entry + "-other").c_str());
}

TEST(Win32InstallInfo, UninstallEntryWithSubkeysStays) {
  std::string guid = "{UninstTestSub-" + std::to_string(GetCurrentProcessId()) + "}";
  std::string entry = std::string(kUninstallKey) + "\\" + guid;
  SetString(HKEY_LOCAL_MACHINE, entry + "\\Sub", "x", "1");
  CTempFolder dir("arpsub");
  CInstallInfo info;
  info.m_strRecordPath = dir.WriteFile("Setup.qsf", "[Comm]\r\nGUID=" + guid + "\r\n");
  info.LoadRecord();
  EXPECT_TRUE(info.RemoveUninstallEntry());
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, entry + "\\Sub"));
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, entry.c_str());
}

TEST(Win32InstallInfo, DescPathTreeLosesExactlyItsEmptyFolders) {
  CTempFolder dir("descpath");
  std::string app = dir.Path() + "\\App";
  dir.WriteFile("App\\bin\\left.dll", "MZ");
  dir.MakeFolder("App\\doc\\en\\img");
  dir.MakeFolder("App\\doc\\de");
  std::string hidden = dir.WriteFile("App\\data\\state.bin", "1");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  dir.MakeFolder("Outside\\EmptyInside");
  CUnixLink link(app + "\\link", dir.Path() + "\\Outside");
  ASSERT_TRUE(link.Planted());
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((app + "\\link").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  ASSERT_TRUE(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);

  CInstallInfo info;
  info.m_strRecordPath = dir.WriteFile("Setup.qsf", "[Comm]\r\nDescPath=" + app + "\\\r\n");
  info.CleanUpDescPath();
  EXPECT_FALSE(Exists(app + "\\doc"));
  EXPECT_TRUE(Exists(app + "\\bin\\left.dll"));
  EXPECT_TRUE(Exists(app + "\\data\\state.bin"));
  EXPECT_TRUE(Exists(app + "\\link"));
  EXPECT_TRUE(Exists(dir.Path() + "\\Outside\\EmptyInside"));
  EXPECT_TRUE(Exists(app));

  // Once only empty folders are left, the tree goes as a whole.
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(hidden.c_str());
  DeleteFileA((app + "\\bin\\left.dll").c_str());
  EXPECT_FALSE(CInstallInfo::RemoveEmptyFolderTree(app));  // the link still counts
  EXPECT_TRUE(Exists(app + "\\link"));
  EXPECT_FALSE(Exists(app + "\\bin"));
  EXPECT_FALSE(Exists(app + "\\data"));
}

TEST(Win32InstallInfo, ScrambledScriptOfTheUninstallFolder) {
  CTempFolder dir("script");
  std::string plain = "Function OnUninstall()\r\nEnd";
  std::string scrambled = plain;
  for (char& c : scrambled) c = static_cast<char>(static_cast<unsigned char>(c) ^ 0xB7);
  dir.WriteFile("ms.dll", scrambled + "\xB7");
  CInstallInfo info;
  info.m_strRecordPath =
      dir.WriteFile("Setup.qsf", "[Comm]\r\nUnInstallFolder=" + dir.Path() + "\\\r\nsfentype=2\r\n");
  info.LoadRecord();
  EXPECT_EQ(info.ReadMainScriptFile(), plain);
  EXPECT_EQ(info.ReadSecondScriptFile(), "");
  EXPECT_EQ(info.ReadUninstallFolder(), dir.Path() + "\\");
}

}  // namespace
