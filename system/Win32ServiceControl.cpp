#include "system/Win32ServiceControl.h"

#include <windows.h>

namespace {

SC_HANDLE Sc(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }

}  // namespace

ScHandle CWin32ServiceControl::OpenManager(const char* machine, const char* database, uint32_t access) {
  return reinterpret_cast<ScHandle>(OpenSCManagerA(machine, database, access));
}

ScHandle CWin32ServiceControl::OpenServiceByName(ScHandle manager, const std::string& name, uint32_t access) {
  return reinterpret_cast<ScHandle>(OpenServiceA(Sc(manager), name.c_str(), access));
}

bool CWin32ServiceControl::CloseScHandle(ScHandle handle) { return CloseServiceHandle(Sc(handle)) != 0; }

bool CWin32ServiceControl::Control(ScHandle service, uint32_t control) {
  SERVICE_STATUS status = {};
  return ControlService(Sc(service), control, &status) != 0;
}

bool CWin32ServiceControl::QueryStatus(ScHandle service, uint32_t& currentState) {
  SERVICE_STATUS status = {};
  if (!QueryServiceStatus(Sc(service), &status)) return false;
  currentState = status.dwCurrentState;
  return true;
}

long CWin32ServiceControl::EnumStatus(ScHandle manager, uint32_t serviceType, uint32_t serviceState,
                                      uint32_t bufferSize, std::vector<CServiceStatusEntry>& entries,
                                      uint32_t& bytesNeeded, uint32_t& resume) {
  // ENUM_SERVICE_STATUSA records come first, their texts after them.
  std::vector<ENUM_SERVICE_STATUSA> buffer(bufferSize / sizeof(ENUM_SERVICE_STATUSA) + 1);
  DWORD needed = 0, returned = 0, resumeHandle = resume;
  BOOL ok = EnumServicesStatusA(Sc(manager), serviceType, serviceState, buffer.data(), bufferSize, &needed,
                                &returned, &resumeHandle);
  long result = ok ? ERROR_SUCCESS : static_cast<long>(GetLastError());
  bytesNeeded = needed;
  resume = resumeHandle;
  if (!ok && result != ERROR_MORE_DATA) return result;
  for (DWORD i = 0; i < returned; ++i) {
    const ENUM_SERVICE_STATUSA& e = buffer[i];
    CServiceStatusEntry entry;
    entry.name = e.lpServiceName ? e.lpServiceName : "";
    entry.displayName = e.lpDisplayName ? e.lpDisplayName : "";
    entry.serviceType = e.ServiceStatus.dwServiceType;
    entry.currentState = e.ServiceStatus.dwCurrentState;
    entries.push_back(entry);
  }
  return result;
}

bool CWin32ServiceControl::QueryConfig(ScHandle service, uint32_t bufferSize, CServiceConfig& config) {
  std::vector<QUERY_SERVICE_CONFIGA> buffer(bufferSize / sizeof(QUERY_SERVICE_CONFIGA) + 1);
  DWORD needed = 0;
  if (!QueryServiceConfigA(Sc(service), buffer.data(), bufferSize, &needed)) return false;
  const QUERY_SERVICE_CONFIGA& c = buffer[0];
  config.binaryPath = c.lpBinaryPathName ? c.lpBinaryPathName : "";
  config.startType = c.dwStartType;
  config.errorControl = c.dwErrorControl;
  return true;
}

bool CWin32ServiceControl::MarkForDeletion(ScHandle service) { return DeleteService(Sc(service)) != 0; }
