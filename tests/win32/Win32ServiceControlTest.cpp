// Our own test services, registered in this prefix's service manager, found
// by their program paths, stopped and deleted by the service layer.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Text.h"
#include "system/ProcessEnumerator.h"
#include "system/ServiceControl.h"
#include "tests/win32/Peers.h"
#include "tests/win32/TempFolder.h"

namespace {

// A service registered for one test and removed afterwards with whatever
// process still runs it.
class CTestService {
 public:
  CTestService(const std::string& name, const std::string& binaryPath) : m_strName(name) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return;
    SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    m_bCreated = service != nullptr;
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
  }
  ~CTestService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return;
    if (SC_HANDLE service = OpenServiceA(manager, m_strName.c_str(), SERVICE_ALL_ACCESS)) {
      SERVICE_STATUS status;
      ControlService(service, SERVICE_CONTROL_STOP, &status);
      DeleteService(service);
      CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    if (m_dwProcessId) {
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, m_dwProcessId)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    }
  }
  CTestService(const CTestService&) = delete;
  CTestService& operator=(const CTestService&) = delete;

  bool Created() const { return m_bCreated; }
  uint32_t ProcessId() const { return m_dwProcessId; }

  // Starts the service and waits up to 15 s until it reports running.
  bool StartAndWait() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, m_strName.c_str(), SERVICE_ALL_ACCESS) : nullptr;
    bool running = false;
    if (service && StartServiceA(service, 0, nullptr)) {
      for (int i = 0; i < 150 && !running; ++i) {
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof(status),
                                 &needed)) {
          m_dwProcessId = status.dwProcessId;
          running = status.dwCurrentState == SERVICE_RUNNING;
        }
        if (!running) Sleep(100);
      }
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return running;
  }

 private:
  std::string m_strName;
  bool m_bCreated = false;
  DWORD m_dwProcessId = 0;
};

bool WaitUntilGone(const std::string& name) {
  for (int i = 0; i < 50; ++i) {
    if (!ServiceExists(name)) return true;
    Sleep(100);
  }
  return false;
}

TEST(Win32Services, RunningServiceUnderAFolderWithBlanksIsFoundStoppedAndDeleted) {
  CRecordingUserInterface ui;
  CTempFolder dir("svc");
  dir.MakeFolder("Program Files\\Peer App");
  std::string program = dir.Path() + "\\Program Files\\Peer App\\svc_peer.exe";
  ASSERT_TRUE(CopyPeer("svc_peer.exe", program));
  const std::string name = "UninstTestPeerService";
  std::string configured = "\"" + program + "\" -service";
  CTestService service(name, configured);
  ASSERT_TRUE(service.Created());
  ASSERT_TRUE(service.StartAndWait());
  std::string before = CurrentFolder();

  std::unique_ptr<CServiceInfo> found = FindServiceByPath(ToUpperText(program));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->m_strName, name);
  EXPECT_EQ(found->m_strDisplayName, name);
  EXPECT_EQ(found->m_strBinaryPath, configured);
  EXPECT_EQ(found->m_dwStartType, uint32_t(SERVICE_DEMAND_START));
  EXPECT_EQ(found->m_dwErrorControl, uint32_t(SERVICE_ERROR_NORMAL));
  EXPECT_EQ(found->m_dwServiceType & kServiceWin32OwnProcess, uint32_t(kServiceWin32OwnProcess));
  EXPECT_EQ(found->StateName(), "RUNNING");
  EXPECT_TRUE(found->IsRunning());
  EXPECT_TRUE(ServiceExists(name));

  CServiceHandle handle;
  ASSERT_TRUE(handle.Open(found->m_strName, kServiceAllAccess));
  EXPECT_EQ(handle.QueryState(), uint32_t(kServiceRunning));
  EXPECT_TRUE(handle.Stop());
  EXPECT_TRUE(handle.WaitForStopped(true));
  handle.Close();

  EXPECT_TRUE(DeleteServiceByName(name));
  EXPECT_TRUE(WaitUntilGone(name));
  EXPECT_EQ(FindServiceByPath(program), nullptr);
  EXPECT_TRUE(ui.m_arrShown.empty());
  EXPECT_EQ(CurrentFolder(), before);
}

TEST(Win32Services, ServiceThatIgnoresStopCostsTheWholeWait) {
  CRecordingUserInterface ui;
  CTempFolder dir("svcstop");
  std::string program = dir.Path() + "\\svc_peer_ignore_stop.exe";
  ASSERT_TRUE(CopyPeer("svc_peer_ignore_stop.exe", program));
  const std::string name = "UninstTestStubbornService";
  CTestService service(name, program);
  ASSERT_TRUE(service.Created());
  ASSERT_TRUE(service.StartAndWait());

  std::unique_ptr<CServiceInfo> found = FindServiceByPath(program);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->m_strName, name);
  CServiceHandle handle;
  ASSERT_TRUE(handle.Open(name, kServiceAllAccess));
  EXPECT_TRUE(handle.Stop());
  DWORD start = GetTickCount();
  EXPECT_FALSE(handle.WaitForStopped(false));
  EXPECT_GE(GetTickCount() - start, 9500u);  // twenty checks, 500 ms apart
  EXPECT_EQ(handle.QueryState(), uint32_t(kServiceRunning));
  handle.Close();

  // The process layer finds the service's program, as before its file is deleted.
  CProcessEnumerator enumerator;
  std::vector<uint32_t> ids;
  enumerator.FindProcessesByPath(program, ids);
  EXPECT_EQ(ids, std::vector<uint32_t>{service.ProcessId()});
  // Marked for deletion; it goes once its process has ended.
  EXPECT_TRUE(DeleteServiceByName(name));
  for (uint32_t id : ids) enumerator.TerminateProcessById(id, 0);
  EXPECT_TRUE(WaitUntilGone(name));
  EXPECT_TRUE(ui.m_arrShown.empty());
}

TEST(Win32Services, DeletingAServiceThatIsNotInstalledSucceedsSilently) {
  CRecordingUserInterface ui;
  EXPECT_FALSE(ServiceExists("UninstNoSuchService"));
  EXPECT_TRUE(DeleteServiceByName("UninstNoSuchService"));
  EXPECT_TRUE(ui.m_arrShown.empty());
  EXPECT_EQ(FindServiceByPath("C:\\no\\such\\program.exe"), nullptr);
}

TEST(Win32Services, EnumerationListsTheSystemsServicesWithTheirPrograms) {
  std::vector<CServiceInfo> all = EnumServices(kServiceWin32, kServiceStateAll);
  ASSERT_FALSE(all.empty());
  size_t withPath = 0;
  for (const CServiceInfo& info : all) {
    EXPECT_FALSE(info.m_strName.empty());
    EXPECT_NE(info.m_dwServiceType & kServiceWin32, 0u) << info.m_strName;
    if (!info.m_strBinaryPath.empty()) ++withPath;
  }
  EXPECT_GT(withPath, 0u);
  std::vector<CServiceInfo> running = EnumServices(kServiceWin32, kServiceActive);
  for (const CServiceInfo& info : running) EXPECT_NE(info.m_dwCurrentState, uint32_t(kServiceStopped));
  EXPECT_LT(running.size(), all.size());
}

}  // namespace
