// Finding and ending the processes that run an executable, against the
// in-memory process list.
#include <gtest/gtest.h>

#include <algorithm>

#include "system/ProcessEnumerator.h"
#include "tests/fakes/FakeSystem.h"

namespace {

TEST(FileNameOfPath, Table) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {
      {"C:\\App\\app.exe", "app.exe"}, {"app.exe", "app.exe"}, {"\\app.exe", "\\app.exe"},
      {"C:\\App\\", ""},               {"", ""},               {"\\\\server\\share\\x.exe", "x.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameOfPath(c.path), c.name) << c.path;
}

class ProcessTest : public ::testing::Test {
 protected:
  std::vector<uint32_t> Find(const std::string& path) {
    CProcessEnumerator enumerator;
    std::vector<uint32_t> ids;
    enumerator.FindProcessesByPath(path, ids);
    return ids;
  }

  CFakePlatform fake;
  CFakeProcessControl& procs = fake.processes;
};

TEST_F(ProcessTest, OnlyProcessesRunningTheRemovedPathAreFound) {
  procs.Add(4, "System", {});
  procs.Add(10, "app.exe", {"C:\\App\\app.exe", "C:\\Windows\\system32\\kernel32.dll"});
  procs.Add(11, "app.exe", {"D:\\Other\\app.exe"});
  procs.Add(12, "APP.EXE", {"c:\\app\\App.exe"});
  procs.Add(13, "other.exe", {"C:\\App\\other.exe"});
  EXPECT_EQ(Find("C:\\App\\app.exe"), (std::vector<uint32_t>{10, 12}));
  EXPECT_EQ(Find("D:\\Other\\APP.exe"), (std::vector<uint32_t>{11}));
  EXPECT_TRUE(Find("C:\\App\\missing.exe").empty());
  EXPECT_TRUE(Find("").empty());
  EXPECT_EQ(procs.m_nLiveEnumerations, 0);
}

TEST_F(ProcessTest, ReportedNamesAreComparedByTheirFileNames) {
  // Some facilities report the full path of the first module instead of a bare name.
  procs.Add(20, "C:\\App\\app.exe", {"C:\\App\\app.exe"});
  procs.Add(21, "D:\\Other\\app.exe", {"D:\\Other\\app.exe"});
  procs.Add(22, "N/A (security restriction)", {"C:\\App\\app.exe"});
  procs.Add(23, "N/A (error)", {"C:\\App\\app.exe"});
  EXPECT_EQ(Find("C:\\App\\app.exe"), (std::vector<uint32_t>{20}));
}

TEST_F(ProcessTest, AModuleOtherThanTheFirstCountsAndUnreadableProcessesAreSkipped) {
  procs.Add(30, "app.exe", {"C:\\Launcher\\host.exe", "C:\\App\\app.exe"});
  procs.Add(31, "app.exe", {"C:\\App\\app.exe"}).denyRead = true;
  procs.Add(32, "host.exe", {"C:\\Launcher\\host.exe", "C:\\App\\app.exe"});
  EXPECT_EQ(Find("C:\\App\\app.exe"), (std::vector<uint32_t>{30}));
  CProcessEnumerator enumerator;
  EXPECT_TRUE(enumerator.ProcessHasModule(32, "c:\\APP\\app.exe"));
  EXPECT_FALSE(enumerator.ProcessHasModule(32, "C:\\App\\app"));
  EXPECT_FALSE(enumerator.ProcessHasModule(31, "C:\\App\\app.exe"));
  EXPECT_FALSE(enumerator.ProcessHasModule(99, "C:\\App\\app.exe"));
}

TEST_F(ProcessTest, FoundIdsAreAppended) {
  procs.Add(40, "app.exe", {"C:\\App\\app.exe"});
  CProcessEnumerator enumerator;
  std::vector<uint32_t> ids = {7};
  enumerator.FindProcessesByPath("C:\\App\\app.exe", ids);
  EXPECT_EQ(ids, (std::vector<uint32_t>{7, 40}));
}

TEST_F(ProcessTest, TerminateReportsZeroOrMinusOne) {
  procs.Add(50, "app.exe", {"C:\\App\\app.exe"});
  procs.Add(51, "app.exe", {"C:\\App\\app.exe"}).denyTerminate = true;
  CProcessEnumerator enumerator;
  EXPECT_EQ(enumerator.TerminateProcessById(50, 0), 0);
  EXPECT_EQ(enumerator.TerminateProcessById(51, 0), -1);
  EXPECT_EQ(enumerator.TerminateProcessById(52, 0), -1);
  EXPECT_EQ(procs.EndedIds(), (std::vector<uint32_t>{50}));
  EXPECT_EQ(procs.Find(50)->exitCode, 0u);
}

TEST_F(ProcessTest, EnumerationWalksProcessesAndModulesInOrder) {
  procs.Add(60, "a.exe", {"C:\\A\\a.exe", "C:\\A\\a.dll"});
  procs.Add(61, "b.exe", {"C:\\B\\b.exe"});
  CProcessEnumerator enumerator;
  std::vector<std::string> names;
  ProcessInfo info;
  for (bool more = enumerator.FirstProcess(info); more; more = enumerator.NextProcess(info)) {
    names.push_back(info.m_strName + "#" + std::to_string(info.m_dwProcessId));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.exe#60", "b.exe#61"}));
  std::vector<std::string> modules;
  std::string path;
  for (bool more = enumerator.FirstModule(60, path); more; more = enumerator.NextModule(60, path)) {
    modules.push_back(path);
  }
  EXPECT_EQ(modules, (std::vector<std::string>{"C:\\A\\a.exe", "C:\\A\\a.dll"}));
}

}  // namespace
