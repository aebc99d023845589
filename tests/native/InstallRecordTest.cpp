// The install record: reading, the removal rules with their unchanged
// checks, and the work lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "records/InstallRecord.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char kRecordPath[] = "C:\\App\\Setup.qsf";

// Local time of the tests that need one: US Pacific, with daylight saving
// time in summer; both C libraries the tests run with read this form of TZ.
// It is set for the rest of the process and never taken back: the Windows C
// runtime under Wine keeps stale daylight-saving rules when TZ is removed
// and set again.
void UsePacificTime() {
#ifdef _WIN32
  _putenv("TZ=PST8PDT");
  _tzset();
#else
  setenv("TZ", "PST8PDT", 1);
  tzset();
#endif
}

// Seconds since 1970 UTC for a UTC date and time.
int64_t Utc(int y, int mo, int d, int h, int mi, int s) { return LocalCalendarSeconds(y, mo, d, h, mi, s); }

class InstallRecordTest : public ::testing::Test {
 protected:
  CInstallRecord& Load(const std::string& text) {
    fake.files.AddFile(kRecordPath, text);
    EXPECT_TRUE(record.Load(kRecordPath));
    return record;
  }
  std::vector<std::string> FilesToRemove() {
    std::vector<std::string> names;
    record.GetFilesToRemove(names);
    return names;
  }
  std::vector<std::string> RegistryItemsToRemove() {
    std::vector<std::string> texts;
    record.GetRegistryItemsToRemove(texts);
    return texts;
  }
  CFakePlatform fake;
  CInstallRecord record;
};

typedef std::vector<std::string> Texts;

TEST(RecordKeys, ItemKeys) {
  struct Case {
    const char* key;
    bool ok;
    int32_t number;
    const char* suffix;
  } cases[] = {
      {"Item12", true, 12, ""},
      {"Item3_RegType", true, 3, "RegType"},
      {"Item3_Reg_Type", true, 3, "Reg_Type"},
      {"Item3_", true, 3, ""},
      {"Item7x", true, 7, ""},
      {"Item 5", true, 5, ""},
      {"Item", false, 0, ""},
      {"Item0", false, 0, ""},
      {"Item-1", false, 0, ""},
      {"ItemX", false, 0, ""},
      {"item1", false, 0, ""},
      {"ITEM1", false, 0, ""},
      {"Count", false, 0, ""},
      {"_Item1", false, 0, ""},
      {"", false, 0, ""},
  };
  for (const Case& c : cases) {
    int32_t number = 0;
    std::string suffix = "unchanged";
    EXPECT_EQ(ParseItemKey(c.key, number, suffix), c.ok) << c.key;
    if (!c.ok) continue;
    EXPECT_EQ(number, c.number) << c.key;
    EXPECT_EQ(suffix, c.suffix) << c.key;
  }
}

TEST(RecordKeys, FieldSplits) {
  struct Case {
    const char* value;
    size_t count;
    bool ok;
    Texts parts;
  } cases[] = {
      {"Key,HKEY_CURRENT_USER,Software\\Co,App", 4, true, {"Key", "HKEY_CURRENT_USER", "Software\\Co", "App"}},
      {"Value,HKEY_CURRENT_USER,Software\\X,", 4, false, {}},
      {"Value,HKEY_CURRENT_USER,Software\\X", 4, false, {}},
      {"a,b,c,d,e,f", 4, true, {"a", "b", "c", "d"}},
      {"a, b,c ,d", 4, true, {"a", " b", "c ", "d"}},
      {"a,,c,d", 4, true, {"a", "", "c", "d"}},
      {"Shortcut,C:\\Menu\\a.lnk", 2, true, {"Shortcut", "C:\\Menu\\a.lnk"}},
      {"Shortcut", 2, false, {}},
      {"", 2, false, {}},
  };
  for (const Case& c : cases) {
    Texts parts;
    EXPECT_EQ(SplitFields(c.value, c.count, parts), c.ok) << c.value;
    if (c.ok) {
      EXPECT_EQ(parts, c.parts) << c.value;
    }
  }
}

TEST(RecordKeys, ItemsAreAddedOnlyInRisingOrder) {
  CRecordItemList list;
  EXPECT_EQ(GetOrAddItem(list, 2), nullptr);
  EXPECT_EQ(GetOrAddItem(list, 0), nullptr);
  CRecordItem* first = GetOrAddItem(list, 1);
  ASSERT_NE(first, nullptr);
  first->SetField("FileName", "a");
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(GetOrAddItem(list, 1), &list[0]);
  EXPECT_EQ(GetOrAddItem(list, 3), nullptr);
  EXPECT_NE(GetOrAddItem(list, 2), nullptr);
  EXPECT_EQ(list.size(), 2u);
}

TEST(RecordKeys, FieldsReplaceAndStayExact) {
  CRecordItem item;
  for (int i = 0; i < 40; ++i) item.SetField("F" + std::to_string(i), std::to_string(i));
  item.SetField("F3", "three");
  item.SetField("F30", "thirty");
  std::string value = "x";
  EXPECT_TRUE(item.Lookup("F3", value));
  EXPECT_EQ(value, "three");
  EXPECT_TRUE(item.Lookup("F30", value));
  EXPECT_EQ(value, "thirty");
  EXPECT_TRUE(item.Lookup("F39", value));
  EXPECT_EQ(value, "39");
  EXPECT_FALSE(item.Lookup("f3", value));
  EXPECT_EQ(value, "");
  EXPECT_EQ(item.FieldCount(), 40u);
}

TEST_F(InstallRecordTest, CommonValuesAreExactKeysOfCommOnly) {
  Load(
      "[Comm]\r\nUnInstallFolder=C:\\App\\\r\nAppName = Demo App \r\nGUID={G}\r\nDescPath=C:\\Program Files\\Demo\r\n"
      "Compent=c\r\nFileGroup=g\r\nSetupType=3x\r\nsftype=2\r\nsfentype=-2\r\nappname=lower\r\nSFTYPE=9\r\n"
      "[comm]\r\nGUID=lowersection\r\n[Other]\r\nAppName=other\r\n");
  EXPECT_EQ(record.UnInstallFolder(), "C:\\App\\");
  EXPECT_EQ(record.AppName(), "Demo App");
  EXPECT_EQ(record.GUID(), "{G}");
  EXPECT_EQ(record.DescPath(), "C:\\Program Files\\Demo");
  EXPECT_EQ(record.Compent(), "c");
  EXPECT_EQ(record.FileGroup(), "g");
  EXPECT_EQ(record.SetupType(), 3);
  EXPECT_EQ(record.sftype(), 2);
  EXPECT_EQ(record.sfentype(), -2);
}

TEST_F(InstallRecordTest, ItemsOfEverySection) {
  Load(
      "[CopyFile]\r\nItem1=C:\\App\\a.exe\r\nItem1_RegType=1\r\nItem1_Foo=bar\r\nItem2=C:\\App\\b.dll\r\nCount=2\r\n"
      "[CreateDir]\r\nItem1=C:\\App\r\nItem2_Foo=bar\r\nItem3=C:\\App\\Sub\r\n"
      "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER,Software\\Co,App\r\nItem2=Value,HKEY_CURRENT_USER,Software\\Co,\r\n"
      "Item2_Data=1\r\n"
      "[ShellObj]\r\nItem1=Shortcut,C:\\Menu\\a.lnk,extra\r\nItem2=Group\r\nItem3_X=1\r\n"
      "[copyfile]\r\nItem3=C:\\lower.txt\r\n");
  ASSERT_EQ(record.Files().size(), 2u);
  std::string value;
  EXPECT_TRUE(record.Files()[0].Lookup("Foo", value));
  EXPECT_EQ(value, "bar");
  ASSERT_EQ(record.Folders().size(), 3u);
  EXPECT_EQ(record.Folders()[1].FieldCount(), 0u);  // created by its ignored line
  ASSERT_EQ(record.RegistryItems().size(), 2u);
  EXPECT_FALSE(record.RegistryItems()[1].Has("Type"));
  EXPECT_TRUE(record.RegistryItems()[1].Has("Data"));
  ASSERT_EQ(record.ShellObjects().size(), 3u);
  EXPECT_EQ(record.ShellObjects()[1].FieldCount(), 0u);

  std::vector<std::string> names;
  std::vector<uint32_t> codes;
  record.GetSelfRegisteredFiles(names, codes);
  EXPECT_EQ(names, Texts({"C:\\App\\a.exe"}));
  EXPECT_EQ(codes, std::vector<uint32_t>({1u}));
  EXPECT_EQ(FilesToRemove(), Texts({"C:\\App\\a.exe", "C:\\App\\b.dll"}));
  names.clear();
  record.GetFolders(names);
  EXPECT_EQ(names, Texts({"C:\\App", "C:\\App\\Sub"}));
  EXPECT_EQ(RegistryItemsToRemove(), Texts({"Key,HKEY_CURRENT_USER,Software\\Co,App"}));
  names.clear();
  record.GetShellObjects(names);
  EXPECT_EQ(names, Texts({"Shortcut,C:\\Menu\\a.lnk"}));
}

TEST_F(InstallRecordTest, OutOfOrderItemsAreDropped) {
  Load("[CopyFile]\r\nItem2=C:\\two-early\r\nItem1=C:\\one\r\nItem3_RegType=2\r\nItem2=C:\\two\r\nItem1=C:\\uno\r\n");
  EXPECT_EQ(FilesToRemove(), Texts({"C:\\uno", "C:\\two"}));
}

TEST_F(InstallRecordTest, ListsKeepItemsWithMissingFields) {
  Load(
      "[CopyFile]\r\nItem1_RegType=2\r\nItem2_Uninstall=2\r\nItem3_RegType=abc\r\nItem3=C:\\x.dll\r\n"
      "[CreateDir]\r\nItem1=\r\nItem2=C:\\D\r\n");
  std::vector<std::string> names;
  std::vector<uint32_t> codes;
  record.GetSelfRegisteredFiles(names, codes);
  EXPECT_EQ(names, Texts({""}));
  EXPECT_EQ(codes, std::vector<uint32_t>({2u}));
  EXPECT_EQ(FilesToRemove(), Texts({"", "", "C:\\x.dll"}));
  names.clear();
  record.GetFolders(names);
  EXPECT_EQ(names, Texts({"C:\\D"}));
}

// Line rules of the reader: whatever the bytes, the lists hold exactly what
// the rules give.
TEST_F(InstallRecordTest, MalformedInput) {
  struct Case {
    const char* name;
    std::string text;
    Texts files;
  } cases[] = {
      {"LF-only line ends make one line", "[CopyFile]\nItem1=C:\\a\nItem2=C:\\b\n", {}},
      {"LF-only after a CR header", "[CopyFile]\r\nItem1=C:\\a\nItem2=C:\\b\n", {"C:\\a\nItem2=C:\\b"}},
      {"lines without =", "[CopyFile]\r\nItem1\r\njunk\r\nItem2=C:\\b\r\n", {"", "C:\\b"}},
      {"NUL bytes vanish", std::string("[Copy\0File]\r\nIt\0em1=C:\\a\0b\r\n", 28), {"C:\\ab"}},
      {"header at the end", "[CopyFile]\r\nItem1=C:\\a\r\n[CopyFile]", {"C:\\a"}},
      {"no final CR", "[CopyFile]\r\nItem1=C:\\a", {"C:\\a"}},
      {"blank and tab", "[CopyFile]\r\n  Item1\t= C:\\a  \r\nItem1 = C:\\b\r\n", {"C:\\b"}},
      {"binary", std::string("\xff\xfe[\x01\x02]\r\n\x80=\x81\r\n[CopyFile]\r\nItem1=\xe4\r\n"), {"\xe4"}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    CFakePlatform local;
    local.files.AddFile(kRecordPath, c.text);
    CInstallRecord r;
    EXPECT_TRUE(r.Load(kRecordPath)) << c.name;
    std::vector<std::string> files;
    r.GetFilesToRemove(files);
    EXPECT_EQ(files, c.files) << c.name;
  }
}

TEST_F(InstallRecordTest, VeryLongLines) {
  std::string path(1 << 20, 'p');
  Load("[CopyFile]\r\nItem1=" + path + "\r\n" + std::string(1 << 20, 'k') + "\r\nItem2=C:\\b\r\n");
  EXPECT_EQ(FilesToRemove(), Texts({path, "C:\\b"}));
}

// The reader takes the file in chunks of 64 KiB: line ends and NUL bytes on
// either side of a chunk border read as anywhere else.
TEST_F(InstallRecordTest, ChunkBordersKeepTheLineRules) {
  const size_t kChunk = 64 * 1024;
  for (size_t offset : {kChunk - 2, kChunk - 1, kChunk, kChunk + 1}) {
    std::string head = "[CopyFile]\r\nItem1=";
    std::string text = head + std::string(offset - head.size(), 'a');
    text += std::string("\r\nItem2=b\0c\r\nItem3=d", 20);
    CFakePlatform local;
    local.files.AddFile(kRecordPath, text);
    CInstallRecord r;
    r.Load(kRecordPath);
    std::vector<std::string> files;
    r.GetFilesToRemove(files);
    EXPECT_EQ(files, Texts({std::string(offset - head.size(), 'a'), "bc", "d"})) << offset;
  }
}

TEST_F(InstallRecordTest, UnreadableFileLeavesListsEmptyAndCommValues) {
  Load("[Comm]\r\nAppName=Demo\r\n[CopyFile]\r\nItem1=C:\\a\r\n");
  fake.files.Lock(kRecordPath);
  EXPECT_FALSE(record.Load(kRecordPath));
  EXPECT_TRUE(record.Files().empty());
  EXPECT_EQ(record.AppName(), "Demo");
  EXPECT_FALSE(record.Load("C:\\Missing.qsf"));
}

// The removal rule for every row of its table; "unchanged" rows are tried
// with an unchanged and a changed file.
TEST_F(InstallRecordTest, RemovalRules) {
  UsePacificTime();
  const int64_t written = Utc(2004, 5, 7, 20, 2, 9);  // 13:02:09 local, daylight saving time
  struct Case {
    const char* fields;  // lines after "Item1=C:\App\f.txt"
    bool removedWhenUnchanged;
    bool removedWhenChanged;
  } cases[] = {
      {"", true, true},
      {"Item1_Uninstall=0", true, true},
      {"Item1_Uninstall=0\r\nItem1_UpdateType=3", false, false},
      {"Item1_Uninstall=0\r\nItem1_UpdateType=1", true, true},
      {"Item1_Uninstall=1", false, false},
      {"Item1_Uninstall=2\r\nItem1_UpdateType=3", true, true},
      {"Item1_Uninstall=3", true, false},
      {"Item1_Uninstall=3\r\nItem1_UpdateType=3", true, false},
      {"Item1_Uninstall=4", true, true},
      {"Item1_Uninstall=4\r\nItem1_UpdateType=1", true, true},
      {"Item1_Uninstall=4\r\nItem1_UpdateType=2", false, false},
      {"Item1_Uninstall=5", true, false},
      {"Item1_Uninstall=5\r\nItem1_UpdateType=1", true, false},
      {"Item1_Uninstall=5\r\nItem1_UpdateType=0", false, false},
      {"Item1_Uninstall=6", false, false},
      {"Item1_Uninstall=-1", false, false},
      {"Item1_Uninstall=abc", true, true},
      {"Item1_Uninstall=", true, true},
  };
  for (const Case& c : cases) {
    for (bool changed : {false, true}) {
      CFakePlatform local;
      local.files.AddFile("C:\\App\\f.txt", "x", kAttrArchive, changed ? written + 1 : written);
      local.files.AddFile(kRecordPath, std::string("[CopyFile]\r\nItem1=C:\\App\\f.txt\r\n") + c.fields +
                                           "\r\nItem1_ModifyDate=2004-5-7 13:02:09\r\n");
      CInstallRecord r;
      r.Load(kRecordPath);
      std::vector<std::string> files;
      r.GetFilesToRemove(files);
      EXPECT_EQ(!files.empty(), changed ? c.removedWhenChanged : c.removedWhenUnchanged)
          << c.fields << (changed ? " (changed)" : " (unchanged)");
    }
  }
}

TEST_F(InstallRecordTest, FileUnchangedCheck) {
  UsePacificTime();
  fake.files.AddFile("C:\\App\\summer.txt", "", kAttrArchive, Utc(2004, 5, 7, 20, 2, 9));
  fake.files.AddFile("C:\\App\\winter.txt", "", kAttrArchive, Utc(2004, 1, 10, 21, 2, 9));
  fake.files.AddFile("C:\\App\\locked.txt", "", kAttrArchive, Utc(2004, 5, 7, 20, 2, 9));
  fake.files.Lock("C:\\App\\locked.txt");
  fake.files.AddFile("C:\\App\\y2k.txt", "", kAttrArchive, Utc(2000, 1, 1, 8, 0, 0));
  struct Case {
    const char* file;  // empty: no "FileName"
    const char* date;  // null: no "ModifyDate"
    bool unchanged;
  } cases[] = {
      {"C:\\App\\summer.txt", "2004-5-7 13:02:09", true},
      {"C:\\App\\summer.txt", "04-5-7 13:02:09", true},
      {"C:\\App\\summer.txt", "2004-05-07  13:2:9", true},
      {"C:\\App\\summer.txt", "2004-5-7 13:02:10", false},
      {"C:\\App\\summer.txt", "2004-5-7 12:02:09", false},
      {"C:\\App\\summer.txt", "2004-5-6 37:02:09", true},
      {"C:\\App\\winter.txt", "2004-1-10 13:02:09", true},
      {"C:\\App\\winter.txt", "2004-1-10 14:02:09", false},
      {"C:\\App\\y2k.txt", "", true},
      {"C:\\App\\y2k.txt", "garbage", true},
      {"C:\\App\\y2k.txt", "2000-13-0 0:0:0", true},
      {"C:\\App\\summer.txt", nullptr, true},
      {"C:\\App\\missing.txt", nullptr, true},
      {"C:\\App\\missing.txt", "2004-5-7 13:02:09", false},
      {"C:\\App\\locked.txt", "2004-5-7 13:02:09", false},
      {"", "2004-5-7 13:02:09", false},
  };
  for (const Case& c : cases) {
    CRecordItem item;
    if (*c.file) item.SetField("FileName", c.file);
    if (c.date) item.SetField("ModifyDate", c.date);
    EXPECT_EQ(IsFileUnchanged(item), c.unchanged) << c.file << " " << (c.date ? c.date : "(no date)");
  }
}

TEST(RecordDates, CalendarArithmetic) {
  EXPECT_EQ(LocalCalendarSeconds(1970, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(LocalCalendarSeconds(2004, 5, 7, 13, 2, 9), INT64_C(1083934929));
  EXPECT_EQ(LocalCalendarSeconds(2000, 2, 29, 0, 0, 0), INT64_C(951782400));
  EXPECT_EQ(LocalCalendarSeconds(1969, 12, 31, 23, 59, 59), -1);
  EXPECT_EQ(LocalCalendarSeconds(2003, 2, 31, 0, 0, 0), LocalCalendarSeconds(2003, 3, 3, 0, 0, 0));
  EXPECT_EQ(ParseRecordDate("99-1-1 0:0:0"), LocalCalendarSeconds(2099, 1, 1, 0, 0, 0));
  EXPECT_EQ(ParseRecordDate("2004-5"), LocalCalendarSeconds(2004, 5, 1, 0, 0, 0));
  EXPECT_EQ(ParseRecordDate("2004-5-7 -1:0:0"), LocalCalendarSeconds(2004, 5, 6, 23, 0, 0));
  EXPECT_EQ(ParseRecordDate("2004-5-7 13:02:09 trailing"), LocalCalendarSeconds(2004, 5, 7, 13, 2, 9));
  EXPECT_EQ(ParseRecordDate("2004 - 5-7"), LocalCalendarSeconds(2004, 1, 1, 0, 0, 0));
  // Numbers beyond 32 bits neither overflow nor wrap.
  EXPECT_GT(ParseRecordDate("99999999999999999999-1-1"), LocalCalendarSeconds(9999, 1, 1, 0, 0, 0));
}

TEST_F(InstallRecordTest, RegistryUnchangedCheck) {
  const char co[] = "HKEY_LOCAL_MACHINE\\Software\\Co\\App";
  fake.registry.SetString(co, "Version", "1.0");
  fake.registry.SetString(co, "Mixed", "Ab");
  fake.registry.SetString(co, "Expand", "1.0", kRegExpandSz);
  fake.registry.SetDword(co, "Count", 42);
  struct Case {
    const char* line;  // the item line's value
    const char* dataType;
    const char* data;
    bool unchanged;
  } cases[] = {
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version", "0", "1.0", true},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Mixed", "0", "Ab", true},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Mixed", "0", "ab", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version", "0", "1.1", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Missing", "0", "", true},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Expand", "0", "1.0", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Count", "1", "42", true},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Count", "1", "43", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Missing", "1", "0", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version", "2", "1.0", false},
      {"Value,hkey_local_machine,Software\\Co\\App,Version", "0", "1.0", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\Gone,Version", "0", "", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version", nullptr, "1.0", false},
      {"Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version", "0", nullptr, false},
  };
  for (const Case& c : cases) {
    std::string text = std::string("[RegItem]\r\nItem1=") + c.line + "\r\nItem1_Uninstall=3\r\n";
    if (c.dataType) text += std::string("Item1_DataType=") + c.dataType + "\r\n";
    if (c.data) text += std::string("Item1_Data=") + c.data + "\r\n";
    fake.files.AddFile(kRecordPath, text);
    record.Load(kRecordPath);
    EXPECT_EQ(RegistryItemsToRemove().size(), c.unchanged ? 1u : 0u) << c.line << " " << (c.data ? c.data : "");
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
  }
}

TEST_F(InstallRecordTest, RegistryItemsOfUnknownRootsAreListed) {
  Load(
      "[RegItem]\r\nItem1=Key,HKEY_USERS,Software\\Co,App\r\nItem2=Value,HKEY_CURRENT_USER,Software\\Co,V\r\n"
      "Item2_Uninstall=1\r\nItem3=Key,HKEY_CURRENT_USER,Software\\Co,App\r\nItem3_Uninstall=3\r\n"
      "Item4=key,HKEY_CURRENT_USER,Software\\Co,K\r\nItem4_Uninstall=4\r\n");
  EXPECT_EQ(RegistryItemsToRemove(),
            Texts({"Key,HKEY_USERS,Software\\Co,App", "key,HKEY_CURRENT_USER,Software\\Co,K"}));
}

}  // namespace
