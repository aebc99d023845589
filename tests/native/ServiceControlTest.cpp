// The service layer against the in-memory service control manager.
#include <gtest/gtest.h>

#include "system/ServiceControl.h"
#include "tests/fakes/FakeSystem.h"

namespace {

TEST(ServiceInfo, StateNamesAndRunning) {
  struct Case {
    uint32_t state;
    const char* name;
    bool running;
  } cases[] = {
      {0, "UNKNOWN", false},          {1, "STOPPED", false}, {2, "START_PENDING", false},
      {3, "STOP_PENDING", false},     {4, "RUNNING", true},  {5, "CONTINUE_PENDING", false},
      {6, "PAUSE_PENDING", true},     {7, "PAUSED", false},  {8, "UNKNOWN", false},
      {0xFFFFFFFFu, "UNKNOWN", false},
  };
  for (const Case& c : cases) {
    CServiceInfo info;
    info.m_dwCurrentState = c.state;
    EXPECT_EQ(info.StateName(), c.name) << c.state;
    EXPECT_EQ(info.IsRunning(), c.running) << c.state;
  }
}

TEST(ServicePath, QuotedAndUnquotedConfiguredPaths) {
  const std::string file = "C:\\Program Files\\App\\svc.exe";
  struct Case {
    const char* configured;
    bool matches;
  } cases[] = {
      {"C:\\Program Files\\App\\svc.exe", true},
      {"c:\\program files\\app\\SVC.EXE", true},
      {"\"C:\\Program Files\\App\\svc.exe\"", true},
      {"\"c:\\PROGRAM FILES\\App\\svc.exe\"", true},
      {"\"C:\\Program Files\\App\\svc.exe\" -service", true},
      {"\"C:\\Program Files\\App\\svc.exe\"\t/run", true},
      {"C:\\Program Files\\App\\svc.exe -service", false},  // unquoted: the whole text counts
      {"\"C:\\Program Files\\App\\svc.exe\"x", false},
      {"\"C:\\Program Files\\App\\svc.exe2\"", false},
      {"\"C:\\Program Files\\App\\svc.ex\"", false},
      {"\"C:\\Program Files\\App\\svc.exe", false},
      {"\"C:\\Program Files\\Other\\svc.exe\"", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ServicePathNamesFile(c.configured, file), c.matches) << c.configured;
  EXPECT_FALSE(ServicePathNamesFile("", ""));
  EXPECT_FALSE(ServicePathNamesFile("\"\"", ""));
}

class ServiceTest : public ::testing::Test {
 protected:
  CFakePlatform fake;
  CFakeServiceControl& scm = fake.services;
};

TEST_F(ServiceTest, EnumerationTakesTwoCallsAndReadsEachConfiguration) {
  scm.Add("Alpha", "C:\\A\\alpha.exe").errorControl = 0;
  scm.Add("Beta", "\"C:\\B dir\\beta.exe\" -k", kServiceStopped).startType = 2;
  scm.Add("Driver", "C:\\Windows\\drv.sys").serviceType = kServiceKernelDriver;
  std::vector<CServiceInfo> all = EnumServices(kServiceWin32, kServiceStateAll);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].m_strName, "Alpha");
  EXPECT_EQ(all[0].m_strDisplayName, "Alpha");
  EXPECT_EQ(all[0].m_strBinaryPath, "C:\\A\\alpha.exe");
  EXPECT_EQ(all[0].m_dwCurrentState, kServiceRunning);
  EXPECT_EQ(all[0].m_dwServiceType, kServiceWin32OwnProcess);
  EXPECT_EQ(all[0].m_dwStartType, 3u);
  EXPECT_EQ(all[0].m_dwErrorControl, 0u);
  EXPECT_EQ(all[1].m_strBinaryPath, "\"C:\\B dir\\beta.exe\" -k");
  EXPECT_EQ(all[1].m_dwStartType, 2u);
  // One bare entry first, then what that call said was needed plus one entry.
  uint32_t needed = CFakeServiceControl::EntrySize(scm.m_services[0]) + CFakeServiceControl::EntrySize(scm.m_services[1]);
  EXPECT_EQ(scm.m_arrEnumBufferSizes, (std::vector<uint32_t>{36, needed + 36}));
  EXPECT_EQ(scm.OpenHandleCount(), 0u);

  std::vector<CServiceInfo> stopped = EnumServices(kServiceWin32, kServiceInactive);
  ASSERT_EQ(stopped.size(), 1u);
  EXPECT_EQ(stopped[0].m_strName, "Beta");
}

TEST_F(ServiceTest, EnumerationIsEmptyWithoutServicesOrManager) {
  EXPECT_TRUE(EnumServices(kServiceWin32, kServiceStateAll).empty());
  EXPECT_EQ(scm.m_arrEnumBufferSizes.size(), 1u);  // nothing needed: no second call

  scm.Add("Alpha", "C:\\A\\alpha.exe");
  scm.m_bEnumFails = true;
  EXPECT_TRUE(EnumServices(kServiceWin32, kServiceStateAll).empty());
  scm.m_bEnumFails = false;
  scm.m_nManagerOpensLeft = 0;
  EXPECT_TRUE(EnumServices(kServiceWin32, kServiceStateAll).empty());
  EXPECT_EQ(scm.OpenHandleCount(), 0u);
}

TEST_F(ServiceTest, UnreadableOrLargeConfigurationLeavesThePathEmpty) {
  scm.Add("Denied", "C:\\A\\denied.exe").deniedAccess = kServiceQueryConfig;
  // Just over the 1024-byte configuration buffer.
  std::string longPath = "C:\\" + std::string(965, 'x');
  scm.Add("Long", longPath);
  ASSERT_GT(CFakeServiceControl::ConfigSize(scm.m_services[1]), 1024u);
  scm.Add("Fits", longPath.substr(0, longPath.size() - 1));
  ASSERT_EQ(CFakeServiceControl::ConfigSize(scm.m_services[2]), 1024u);

  std::vector<CServiceInfo> all = EnumServices(kServiceWin32, kServiceStateAll);
  ASSERT_EQ(all.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_EQ(all[i].m_strBinaryPath, "") << all[i].m_strName;
    EXPECT_EQ(all[i].m_dwStartType, 0u);
    EXPECT_EQ(all[i].m_dwErrorControl, 0u);
    EXPECT_EQ(all[i].m_dwCurrentState, kServiceRunning);
  }
  EXPECT_EQ(all[2].m_strBinaryPath, longPath.substr(0, longPath.size() - 1));
  EXPECT_EQ(FindServiceByPath(longPath), nullptr);
  EXPECT_EQ(FindServiceByPath(""), nullptr);
}

TEST_F(ServiceTest, FindByPathReturnsACopyOfTheFirstMatch) {
  scm.Add("Other", "C:\\Other\\svc.exe");
  scm.Add("Args", "C:\\App\\svc.exe -service");
  scm.Add("Quoted", "\"C:\\App\\SVC.exe\" -service");
  scm.Add("Plain", "C:\\App\\svc.exe");
  std::unique_ptr<CServiceInfo> found = FindServiceByPath("c:\\app\\svc.exe");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->m_strName, "Quoted");
  EXPECT_TRUE(found->IsRunning());
  EXPECT_EQ(FindServiceByPath("C:\\App\\none.exe"), nullptr);
  EXPECT_EQ(scm.OpenHandleCount(), 0u);
}

TEST_F(ServiceTest, DeleteOfAMissingServiceSucceedsSilently) {
  EXPECT_TRUE(DeleteServiceByName("NotThere"));
  EXPECT_TRUE(fake.ui.m_shown.empty());
}

TEST_F(ServiceTest, DeleteStopsAndRemovesTheService) {
  scm.Add("Svc", "C:\\App\\svc.exe");
  EXPECT_TRUE(ServiceExists("svc"));
  EXPECT_TRUE(DeleteServiceByName("Svc"));
  EXPECT_TRUE(fake.ui.m_shown.empty());
  EXPECT_EQ(scm.Find("Svc"), nullptr);
  EXPECT_FALSE(ServiceExists("Svc"));
  EXPECT_EQ(scm.OpenHandleCount(), 0u);
}

TEST_F(ServiceTest, DeleteOfARunningServiceThatIgnoresStopMarksItOnly) {
  CFakeServiceControl::Service& s = scm.Add("Stubborn", "C:\\App\\svc.exe");
  s.ignoresStop = true;
  EXPECT_TRUE(DeleteServiceByName("Stubborn"));
  ASSERT_NE(scm.Find("Stubborn"), nullptr);
  EXPECT_EQ(scm.Find("Stubborn")->stopRequests, 1);
  EXPECT_TRUE(scm.Find("Stubborn")->markedForDeletion);
}

TEST_F(ServiceTest, DeleteTellsWhenTheServiceOrManagerCannotBeOpened) {
  scm.Add("Locked", "C:\\App\\svc.exe").deniedAccess = kDelete;
  EXPECT_FALSE(DeleteServiceByName("Locked"));
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Couldn't open service");
  EXPECT_EQ(fake.ui.m_shown[0].caption, "Locked");
  EXPECT_EQ(fake.ui.m_shown[0].type, kMbOk);
  EXPECT_NE(scm.Find("Locked"), nullptr);
  EXPECT_EQ(scm.Find("Locked")->stopRequests, 0);

  scm.Add("Svc", "C:\\App\\svc.exe");
  scm.m_nManagerOpensLeft = 1;  // enough for the existence test only
  EXPECT_FALSE(DeleteServiceByName("Svc"));
  ASSERT_EQ(fake.ui.m_shown.size(), 2u);
  EXPECT_EQ(fake.ui.m_shown[1].text, "Couldn't open service manager");
  EXPECT_EQ(fake.ui.m_shown[1].caption, "Svc");
  EXPECT_NE(scm.Find("Svc"), nullptr);
  EXPECT_EQ(scm.OpenHandleCount(), 0u);
}

TEST_F(ServiceTest, HandleOpensStopsAndClosesWithTheManagerClosedAtOnce) {
  scm.Add("Svc", "C:\\App\\svc.exe").queriesToStop = 3;
  {
    CServiceHandle handle;
    EXPECT_FALSE(handle.Open("Missing", kServiceAllAccess));
    EXPECT_EQ(scm.OpenHandleCount(), 0u);
    ASSERT_TRUE(handle.Open("Svc", kServiceAllAccess));
    EXPECT_EQ(scm.OpenHandleCount(), 1u);
    EXPECT_EQ(handle.QueryState(), kServiceRunning);
    EXPECT_TRUE(handle.Stop());
    EXPECT_TRUE(handle.WaitForStopped(false));
    // Two queries said "stop pending", the third "stopped": two waits.
    EXPECT_EQ(fake.clock.m_nSlept, 1000u);
    EXPECT_FALSE(handle.Stop());
  }
  EXPECT_EQ(scm.OpenHandleCount(), 0u);
}

TEST_F(ServiceTest, WaitGivesUpAfterTwentyChecks) {
  scm.Add("Stubborn", "C:\\App\\svc.exe").ignoresStop = true;
  CServiceHandle handle;
  ASSERT_TRUE(handle.Open("Stubborn", kServiceAllAccess));
  EXPECT_TRUE(handle.Stop());
  EXPECT_FALSE(handle.WaitForStopped(false));
  EXPECT_EQ(fake.clock.m_nSlept, 10000u);
  EXPECT_EQ(fake.ui.m_nPumped, 0);
}

TEST_F(ServiceTest, WaitWithPumpingDispatchesMessagesInsteadOfSleeping) {
  scm.Add("Stubborn", "C:\\App\\svc.exe").ignoresStop = true;
  fake.clock.m_nStepPerRead = 50;
  CServiceHandle handle;
  ASSERT_TRUE(handle.Open("Stubborn", kServiceAllAccess));
  uint32_t start = fake.clock.m_nNow;
  EXPECT_FALSE(handle.WaitForStopped(true));
  EXPECT_EQ(fake.clock.m_nSlept, 0u);
  EXPECT_GE(fake.clock.m_nNow - start, 10000u);
  EXPECT_LT(fake.clock.m_nNow - start, 10000u + 20 * 100);
  EXPECT_GT(fake.ui.m_nPumped, 20 * 5);
}

TEST_F(ServiceTest, QueryStateIsZeroWithoutAHandleOrRight) {
  scm.Add("Svc", "C:\\App\\svc.exe");
  CServiceHandle handle;
  EXPECT_EQ(handle.QueryState(), 0u);
  EXPECT_FALSE(handle.Stop());
  ASSERT_TRUE(handle.Open("Svc", kServiceQueryConfig));
  EXPECT_EQ(handle.QueryState(), 0u);
  EXPECT_FALSE(handle.WaitForStopped(false));
}

TEST(PumpMessagesFor, RunsUntilTheTimeHasPassedAcrossTheTickWrap) {
  CFakePlatform fake;
  fake.clock.m_nNow = 0xFFFFFF00u;
  fake.clock.m_nStepPerRead = 10;
  PumpMessagesFor(500);
  EXPECT_EQ(fake.ui.m_nPumped, 49);  // readings 10 to 490 ms after the start
  fake.ui.m_nPumped = 0;
  PumpMessagesFor(0);
  EXPECT_EQ(fake.ui.m_nPumped, 0);
}

}  // namespace
