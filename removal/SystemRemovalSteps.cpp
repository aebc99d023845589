#include "removal/SystemRemovalSteps.h"

#include <memory>
#include <vector>

#include "system/ProcessEnumerator.h"
#include "system/SelfRegistration.h"
#include "system/ServiceControl.h"

void CSystemRemovalSteps::StopAndDeleteService(const std::string& path) {
  std::unique_ptr<CServiceInfo> service = FindServiceByPath(path);
  if (!service) return;
  if (service->IsRunning()) {
    CServiceHandle handle;
    if (handle.Open(service->m_strName, kServiceAllAccess)) {
      handle.Stop();
      handle.WaitForStopped(true);
    }
    handle.Close();
  }
  DeleteServiceByName(service->m_strName);
}

void CSystemRemovalSteps::EndProcesses(const std::string& path) {
  CProcessEnumerator enumerator;
  std::vector<uint32_t> ids;
  enumerator.FindProcessesByPath(path, ids);
  for (uint32_t id : ids) enumerator.TerminateProcessById(id, 0);
}

void CSystemRemovalSteps::UnregisterComServer(const std::string& path) { ::UnregisterComServer(path); }

void CSystemRemovalSteps::UnregisterServiceExe(const std::string& path) { ::UnregisterServiceExe(path); }
