// Installation-wide information and clean-up: direct "[Comm]" reads, the
// Add/Remove Programs entry, the "DescPath" tree and the scrambled scripts.
#include <gtest/gtest.h>

#include "records/InstallInfo.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char kRecordPath[] = "C:\\App\\Setup.qsf";
const char kUninstallKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Scramble(const std::string& plain) {
  std::string out = plain;
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ 0xB7);
  return out;
}

class InstallInfoTest : public ::testing::Test {
 protected:
  void UseRecord(const std::string& text) {
    fake.files.AddFile(kRecordPath, text);
    info.m_strRecordPath = kRecordPath;
    info.LoadRecord();
  }
  CFakePlatform fake;
  CInstallInfo info;
};

TEST_F(InstallInfoTest, RecordIsLoadedOnce) {
  UseRecord("[Comm]\r\nAppName=First\r\n");
  fake.files.AddFile(kRecordPath, "[Comm]\r\nAppName=Second\r\n");
  info.LoadRecord();
  EXPECT_EQ(info.m_bLoaded, 1);
  EXPECT_EQ(info.GetAppName(), "First");
}

TEST_F(InstallInfoTest, DirectReadsFollowThePrivateProfileRules) {
  std::string longFolder = "C:\\" + std::string(1100, 'f');
  UseRecord("[comm]\r\ndescpath=C:\\Program Files\\Demo\\\r\nUNINSTALLFOLDER=" + longFolder +
            "\r\nAppName=Lower\r\nGUID={G}\r\nsfentype=2\r\n");
  EXPECT_EQ(info.ReadDescPath(), "C:\\Program Files\\Demo\\");
  EXPECT_EQ(info.ReadUninstallFolder(), longFolder.substr(0, 1023));
  // The record reader itself knows only "Comm" in exactly that case.
  EXPECT_EQ(info.GetAppName(), "");
  EXPECT_EQ(info.m_record.GUID(), "");
  EXPECT_EQ(info.m_record.sfentype(), 0);
}

TEST_F(InstallInfoTest, MissingCommKeysReadEmpty) {
  UseRecord("[CopyFile]\r\nItem1=C:\\a\r\n");
  EXPECT_EQ(info.ReadDescPath(), "");
  EXPECT_EQ(info.ReadUninstallFolder(), "");
}

TEST_F(InstallInfoTest, UninstallEntryOfTheGuidGoes) {
  struct Case {
    const char* guid;  // null: no GUID line
    bool uninstallKey;
    bool result;
    bool ownEntryGone;
  } cases[] = {
      {"{G}", true, true, true},
      {nullptr, true, true, false},
      {"", true, true, false},
      {"{G}", false, false, false},
      {"{Other}\\{G}", true, true, false},
  };
  for (const Case& c : cases) {
    CFakePlatform local;
    if (c.uninstallKey) {
      local.registry.SetString(std::string(kUninstallKey) + "\\{G}", "DisplayName", "Demo");
      local.registry.SetString(std::string(kUninstallKey) + "\\{Other}\\{G}", "DisplayName", "Other");
      local.registry.SetString(std::string(kUninstallKey) + "\\{Third}", "DisplayName", "Third");
    }
    std::string record = "[Comm]\r\n";
    if (c.guid) record += std::string("GUID=") + c.guid + "\r\n";
    local.files.AddFile(kRecordPath, record);
    CInstallInfo i;
    i.m_strRecordPath = kRecordPath;
    i.LoadRecord();
    EXPECT_EQ(i.RemoveUninstallEntry(), c.result) << (c.guid ? c.guid : "(none)");
    if (!c.uninstallKey) continue;
    EXPECT_EQ(!local.registry.HasKey(std::string(kUninstallKey) + "\\{G}"), c.ownEntryGone);
    EXPECT_TRUE(local.registry.HasKey(std::string(kUninstallKey) + "\\{Other}\\{G}"));
    EXPECT_TRUE(local.registry.HasKey(std::string(kUninstallKey) + "\\{Third}"));
    EXPECT_EQ(local.registry.OpenHandleCount(), 0u);
  }
}

TEST_F(InstallInfoTest, UninstallEntryWithSubkeysIsNotDeletedAsATree) {
  fake.registry.MakeKey(std::string(kUninstallKey) + "\\{G}\\Sub");
  UseRecord("[Comm]\r\nGUID={G}\r\n");
  EXPECT_TRUE(info.RemoveUninstallEntry());
  EXPECT_TRUE(fake.registry.HasKey(std::string(kUninstallKey) + "\\{G}\\Sub"));
}

TEST_F(InstallInfoTest, EmptyFolderTreesGoFilesAndLinksStay) {
  CFakeFileSystem& fs = fake.files;
  fs.AddFile("C:\\Program Files\\App\\bin\\left.dll");
  fs.AddFolder("C:\\Program Files\\App\\doc\\en\\img");
  fs.AddFolder("C:\\Program Files\\App\\doc\\de");
  fs.AddFile("C:\\Program Files\\App\\data\\.hidden", "", kAttrHidden | kAttrSystem);
  fs.AddFolder("C:\\Elsewhere\\Empty");
  fs.AddFolderLink("C:\\Program Files\\App\\link", "C:\\Elsewhere");
  EXPECT_FALSE(CInstallInfo::RemoveEmptyFolderTree("C:\\Program Files\\App\\"));
  EXPECT_EQ(fs.ListTree("C:\\Program Files\\App"),
            std::vector<std::string>({"C:\\Program Files\\App\\bin", "C:\\Program Files\\App\\bin\\left.dll",
                                      "C:\\Program Files\\App\\data", "C:\\Program Files\\App\\data\\.hidden",
                                      "C:\\Program Files\\App\\link"}));
  EXPECT_TRUE(fs.IsFolder("C:\\Elsewhere\\Empty"));

  EXPECT_TRUE(CInstallInfo::RemoveEmptyFolderTree(""));
  EXPECT_FALSE(CInstallInfo::RemoveEmptyFolderTree("C:\\Missing"));
  // A link named as the tree itself is not entered either.
  EXPECT_FALSE(CInstallInfo::RemoveEmptyFolderTree("C:\\Program Files\\App\\link"));
  EXPECT_TRUE(fs.IsFolder("C:\\Elsewhere\\Empty"));
  fs.AddFolder("C:\\Gone\\A\\B");
  EXPECT_TRUE(CInstallInfo::RemoveEmptyFolderTree("C:\\Gone"));
  EXPECT_FALSE(fs.Exists("C:\\Gone"));
}

TEST_F(InstallInfoTest, DescPathCleanUp) {
  struct Case {
    const char* descPath;
    bool cleaned;
  } cases[] = {
      {"C:\\Program Files\\Demo\\", true},
      {"C:\\Program Files\\Demo", true},
      {"", false},
      {"C:\\", false},
      {"C:\\Program Files", false},
      {"C:\\Users", false},
      {"Program Files\\Demo", false},
      {"C:\\Program Files\\Demo\\..\\..", false},
      {"C:\\Program Files\\*", false},
  };
  for (const Case& c : cases) {
    CFakePlatform local;
    local.files.AddFolder("C:\\Program Files\\Demo\\Empty");
    local.files.AddFolder("C:\\Program Files\\Other\\Empty");
    local.files.AddFolder("C:\\Users\\Empty");
    local.files.AddFile(kRecordPath, std::string("[Comm]\r\nDescPath=") + c.descPath + "\r\n");
    CInstallInfo i;
    i.m_strRecordPath = kRecordPath;
    i.CleanUpDescPath();
    EXPECT_EQ(!local.files.Exists("C:\\Program Files\\Demo"), c.cleaned) << c.descPath;
    EXPECT_TRUE(local.files.Exists("C:\\Program Files\\Other\\Empty")) << c.descPath;
    EXPECT_TRUE(local.files.Exists("C:\\Users\\Empty")) << c.descPath;
  }
}

TEST_F(InstallInfoTest, ScrambledFiles) {
  std::string plain = "Function OnUninstall()\r\n\tUninstall.UnInstall\r\nEnd";
  fake.files.AddFile("C:\\App\\ms.dll", Scramble(plain));
  fake.files.AddFile("C:\\App\\vs.dll", Scramble(std::string("a\0b\xB7", 4)) + "\xB7");
  std::string text = "kept:";
  EXPECT_TRUE(CInstallInfo::ReadScrambledFile("C:\\App\\ms.dll", text));
  EXPECT_EQ(text, "kept:" + plain);
  text.clear();
  EXPECT_TRUE(CInstallInfo::ReadScrambledFile("C:\\App\\vs.dll", text));
  EXPECT_EQ(text, std::string("ab\xB7", 3));
  EXPECT_FALSE(CInstallInfo::ReadScrambledFile("C:\\App\\missing.dll", text));
}

TEST_F(InstallInfoTest, ScriptFilesAreReadOnlyWithSfentype2) {
  fake.files.AddFile("C:\\App\\ms.dll", Scramble("main"));
  fake.files.AddFile("C:\\App\\vs.dll", Scramble("second"));
  struct Case {
    const char* comm;
    const char* main;
    const char* second;
  } cases[] = {
      {"UnInstallFolder=C:\\App\r\nsfentype=2", "main", "second"},
      {"UnInstallFolder=C:\\App\\\r\nsfentype=2", "main", "second"},
      {"UnInstallFolder=C:\\App\r\nsfentype=0", "", ""},
      {"UnInstallFolder=C:\\App\r\nsfentype=1\r\nsftype=2", "", ""},
      {"UnInstallFolder=C:\\Other\r\nsfentype=2", "", ""},
  };
  for (const Case& c : cases) {
    CInstallInfo i;
    fake.files.AddFile(kRecordPath, std::string("[Comm]\r\n") + c.comm + "\r\n");
    i.m_strRecordPath = kRecordPath;
    i.LoadRecord();
    EXPECT_EQ(i.ReadMainScriptFile(), c.main) << c.comm;
    EXPECT_EQ(i.ReadSecondScriptFile(), c.second) << c.comm;
  }
}

}  // namespace
