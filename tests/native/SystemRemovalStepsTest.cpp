// The removal steps that reach other programs, against the in-memory
// service manager, process list and program runner.
#include <gtest/gtest.h>

#include "removal/SystemRemovalSteps.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char kProgram[] = "C:\\App\\svc.exe";

class SystemStepsTest : public ::testing::Test {
 protected:
  SystemStepsTest() { fake.clock.m_nStepPerRead = 10; }
  CFakePlatform fake;
  CFakeServiceControl& scm = fake.services;
  CSystemRemovalSteps steps;
};

TEST_F(SystemStepsTest, ServicesAreStoppedWhenRunningThenDeleted) {
  struct Case {
    const char* what;
    uint32_t state;
    int queriesToStop;
    uint32_t deniedAccess;  // rights that opening the service may not ask for
    bool waits;             // messages let through while it stops
  } cases[] = {
      {"running, stops after a while", kServiceRunning, 3, 0, true},
      {"running, stops at once", kServiceRunning, 0, 0, false},
      {"stopped", kServiceStopped, 0, 0, false},
      // Cannot be opened for the stop: no wait for a stop never asked for;
      // the deletion still asks it to stop.
      {"running, full access denied", kServiceRunning, 0, 0x0100, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    scm.m_services.clear();
    fake.ui.m_nPumped = 0;
    CFakeServiceControl::Service& s = scm.Add("DemoSvc", std::string("\"") + kProgram + "\" -service", c.state);
    s.queriesToStop = c.queriesToStop;
    s.deniedAccess = c.deniedAccess;
    scm.Add("Other", "C:\\Other\\svc.exe");

    steps.StopAndDeleteService("c:\\app\\SVC.EXE");

    EXPECT_EQ(scm.Find("DemoSvc"), nullptr);
    ASSERT_NE(scm.Find("Other"), nullptr);
    EXPECT_EQ(scm.Find("Other")->state, kServiceRunning);
    EXPECT_EQ(scm.OpenHandleCount(), 0u);
    EXPECT_EQ(fake.ui.m_nPumped > 0, c.waits);
    EXPECT_TRUE(fake.ui.m_shown.empty());
  }
}

TEST_F(SystemStepsTest, AFileThatNoServiceRunsTouchesNoService) {
  scm.Add("Other", "C:\\Other\\svc.exe");
  steps.StopAndDeleteService(kProgram);
  ASSERT_NE(scm.Find("Other"), nullptr);
  EXPECT_EQ(scm.Find("Other")->stopRequests, 0);
  EXPECT_FALSE(scm.Find("Other")->markedForDeletion);
  EXPECT_TRUE(fake.ui.m_shown.empty());
}

TEST_F(SystemStepsTest, ADeletionThatFailsIsToldByTheServiceLayer) {
  scm.Add("DemoSvc", kProgram, kServiceStopped).deniedAccess = kDelete;
  steps.StopAndDeleteService(kProgram);
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Couldn't open service");
  EXPECT_NE(scm.Find("DemoSvc"), nullptr);
}

TEST_F(SystemStepsTest, EveryProcessOfTheFileIsEndedWithExitCodeZero) {
  fake.processes.Add(10, "app.exe", {"C:\\App\\app.exe"});
  fake.processes.Add(11, "app.exe", {"D:\\Other\\app.exe"});
  fake.processes.Add(12, "APP.EXE", {"c:\\app\\App.exe"});
  fake.processes.Add(13, "app.exe", {"C:\\App\\app.exe"}).denyTerminate = true;
  fake.processes.Add(14, "app.exe", {"C:\\App\\app.exe"});
  steps.EndProcesses("C:\\App\\app.exe");
  EXPECT_EQ(fake.processes.EndedIds(), (std::vector<uint32_t>{10, 12, 14}));
  for (uint32_t id : {10u, 12u, 14u}) EXPECT_EQ(fake.processes.Find(id)->exitCode, 0u) << id;
  EXPECT_EQ(fake.processes.m_nLiveEnumerations, 0);
}

TEST_F(SystemStepsTest, UnregistrationTakesTheRouteOfItsKind) {
  fake.files.AddFile("C:\\App\\srv.dll");
  fake.files.AddFile("C:\\App\\svc.exe");
  fake.programs.AddLibrary("C:\\App\\srv.dll", 0);
  fake.programs.AddProgram("C:\\App\\svc.exe", 0);
  steps.UnregisterComServer("C:\\App\\srv.dll");
  steps.UnregisterServiceExe("C:\\App\\svc.exe");
  steps.UnregisterComServer("C:\\App\\svc.exe");
  ASSERT_EQ(fake.programs.m_calls.size(), 1u);
  EXPECT_EQ(fake.programs.m_calls[0].library, "C:\\APP\\SRV.DLL");  // the stand-in keys libraries in upper case
  ASSERT_EQ(fake.programs.m_runs.size(), 2u);
  EXPECT_EQ(fake.programs.m_runs[0].commandLine, "\"C:\\App\\svc.exe\" -unregserver");
  EXPECT_EQ(fake.programs.m_runs[0].timeoutMs, 3000u);
  EXPECT_EQ(fake.programs.m_runs[1].commandLine, "\"C:\\App\\svc.exe\" /UNREGSERVER");
  EXPECT_EQ(fake.programs.m_runs[1].timeoutMs, 2000u);
}

}  // namespace
