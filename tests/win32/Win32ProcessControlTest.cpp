// Finding and ending processes of one file name started from two folders,
// with each enumeration method the system offers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>

#include "app/Text.h"
#include "system/ProcessEnumerator.h"
#include "system/Win32ProcessControl.h"
#include "tests/win32/Peers.h"
#include "tests/win32/TempFolder.h"

namespace {

std::vector<uint32_t> Sorted(std::vector<uint32_t> ids) {
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::vector<uint32_t> FindSorted(const std::string& path) {
  CProcessEnumerator enumerator;
  std::vector<uint32_t> ids;
  enumerator.FindProcessesByPath(path, ids);
  return Sorted(ids);
}

// Puts a process facility limited to some methods into the seam for a while.
class CMethodScope {
 public:
  explicit CMethodScope(unsigned methods) : m_control(methods), m_pSaved(Sys().processes) {
    Sys().processes = &m_control;
  }
  ~CMethodScope() { Sys().processes = m_pSaved; }

 private:
  CWin32ProcessControl m_control;
  IProcessControl* m_pSaved;
};

class Win32Processes : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strAppA = dir.Path() + "\\A\\app.exe";
    m_strAppB = dir.Path() + "\\Other Place\\app.exe";
    dir.MakeFolder("A");
    dir.MakeFolder("Other Place");
    for (const std::string& path : {m_strAppA, m_strAppB}) {
      ASSERT_TRUE(CopyPeer("exe_peer.exe", path));
      dir.WriteFile(path.substr(dir.Path().size() + 1) + ".cfg", "hang");
    }
    a1 = std::make_unique<CPeerProcess>(m_strAppA);
    a2 = std::make_unique<CPeerProcess>(m_strAppA);
    b = std::make_unique<CPeerProcess>(m_strAppB);
    ASSERT_TRUE(a1->Started() && a2->Started() && b->Started());
    m_arrIdsA = Sorted({a1->Id(), a2->Id()});
    // The module lists fill in while the programs start.
    for (int i = 0; i < 100 && (FindSorted(m_strAppA).size() < 2 || FindSorted(m_strAppB).empty()); ++i) Sleep(100);
  }

  CTempFolder dir{"procs"};
  std::string m_strAppA, m_strAppB;
  std::unique_ptr<CPeerProcess> a1, a2, b;
  std::vector<uint32_t> m_arrIdsA;
};

TEST_F(Win32Processes, OnlyProcessesFromTheRemovedPathAreFoundWithEachMethod) {
  for (unsigned methods : {unsigned(kProcessMethodsAll), unsigned(kProcessMethodSnapshot),
                           unsigned(kProcessMethodModuleList)}) {
    SCOPED_TRACE("methods " + std::to_string(methods));
    CMethodScope scope(methods);
    EXPECT_EQ(FindSorted(m_strAppA), m_arrIdsA);
    EXPECT_EQ(FindSorted(ToUpperText(m_strAppA)), m_arrIdsA);
    EXPECT_EQ(FindSorted(m_strAppB), std::vector<uint32_t>{b->Id()});
    EXPECT_TRUE(FindSorted(dir.Path() + "\\app.exe").empty());
  }
}

TEST_F(Win32Processes, MethodsReportBareNamesOrFullPaths) {
  CWin32ProcessEnumeration snapshot(kProcessMethodSnapshot);
  CWin32ProcessEnumeration moduleList(kProcessMethodModuleList);
  ASSERT_EQ(snapshot.Method(), unsigned(kProcessMethodSnapshot));
  ASSERT_EQ(moduleList.Method(), unsigned(kProcessMethodModuleList));
  EXPECT_EQ(CWin32ProcessEnumeration().Method() & 3u, unsigned(kProcessMethodSnapshot));  // snapshots win
  EXPECT_EQ(CWin32ProcessEnumeration(kProcessMethodTasks).Method(), unsigned(kProcessMethodNone));

  struct Expect {
    IProcessEnumeration* methods;
    std::string name;
  } expects[] = {{&snapshot, "app.exe"}, {&moduleList, m_strAppB}};
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.name);
    std::string reported;
    ProcessInfo info;
    for (bool more = e.methods->FirstProcess(info); more; more = e.methods->NextProcess(info)) {
      if (info.m_dwProcessId == b->Id()) reported = info.m_strName;
      EXPECT_EQ(info.m_wTask, 0);
    }
    EXPECT_TRUE(EqualsNoCase(reported, e.name)) << reported;
    std::string path;
    ASSERT_TRUE(e.methods->FirstModule(b->Id(), path));
    EXPECT_TRUE(EqualsNoCase(path, m_strAppB)) << path;
    int modules = 1;
    while (e.methods->NextModule(b->Id(), path)) ++modules;
    EXPECT_GT(modules, 1);  // the system libraries follow the program
  }
}

TEST_F(Win32Processes, EndingTheFoundProcessesLeavesTheOthersRunning) {
  CProcessEnumerator enumerator;
  std::vector<uint32_t> ids;
  enumerator.FindProcessesByPath(m_strAppA, ids);
  ASSERT_EQ(Sorted(ids), m_arrIdsA);
  for (uint32_t id : ids) EXPECT_EQ(enumerator.TerminateProcessById(id, 0), 0);
  for (CPeerProcess* p : {a1.get(), a2.get()}) {
    DWORD code = 99;
    EXPECT_TRUE(p->WaitForEnd(5000, code));
    EXPECT_EQ(code, 0u);
  }
  EXPECT_TRUE(b->Running());
  EXPECT_TRUE(FindSorted(m_strAppA).empty());
  EXPECT_EQ(FindSorted(m_strAppB), std::vector<uint32_t>{b->Id()});
  EXPECT_EQ(enumerator.TerminateProcessById(0xFFFFFFF0u, 0), -1);
}

}  // namespace
