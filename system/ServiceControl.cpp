#include "system/ServiceControl.h"

#include "app/Text.h"
#include "system/Clock.h"
#include "system/Platform.h"
#include "system/UserInterface.h"

namespace {

// Room for QUERY_SERVICE_CONFIGA and its texts; a service whose
// configuration is larger is listed without program path.
constexpr uint32_t kConfigBufferSize = 1024;
constexpr int kStopChecks = 20;
constexpr uint32_t kStopCheckIntervalMs = 500;

const char* const kStateNames[] = {"UNKNOWN",          "STOPPED",       "START_PENDING", "STOP_PENDING", "RUNNING",
                                   "CONTINUE_PENDING", "PAUSE_PENDING", "PAUSED"};

IServiceControl& Scm() { return *Sys().services; }

}  // namespace

std::string CServiceInfo::StateName() const {
  if (m_dwCurrentState >= sizeof(kStateNames) / sizeof(kStateNames[0])) return kStateNames[0];
  return kStateNames[m_dwCurrentState];
}

bool CServiceInfo::IsRunning() const {
  std::string state = StateName();
  return state == "RUNNING" || state == "PAUSE_PENDING";
}

CServiceHandle::~CServiceHandle() { Close(); }

bool CServiceHandle::Open(const std::string& name, uint32_t access) {
  Close();
  ScHandle manager = Scm().OpenManager("", "ServicesActive", kScManagerAllAccess);
  if (!manager) return false;
  m_hService = Scm().OpenServiceByName(manager, name, access);
  Scm().CloseScHandle(manager);
  return m_hService != 0;
}

bool CServiceHandle::Stop() { return m_hService && Scm().Control(m_hService, kServiceControlStop); }

uint32_t CServiceHandle::QueryState() {
  uint32_t state = 0;
  if (!m_hService || !Scm().QueryStatus(m_hService, state)) return 0;
  return state;
}

bool CServiceHandle::WaitForStopped(bool pump) {
  for (int i = 0; i < kStopChecks; ++i) {
    if (QueryState() == kServiceStopped) return true;
    if (pump) {
      PumpMessagesFor(kStopCheckIntervalMs);
    } else {
      Sys().clock->Sleep(kStopCheckIntervalMs);
    }
  }
  return false;
}

void CServiceHandle::Close() {
  if (m_hService) Scm().CloseScHandle(m_hService);
  m_hService = 0;
}

bool ServiceExists(const std::string& name) {
  ScHandle manager = Scm().OpenManager(nullptr, nullptr, kScManagerAllAccess);
  if (!manager) return false;
  ScHandle service = Scm().OpenServiceByName(manager, name, kServiceQueryConfig);
  if (service) Scm().CloseScHandle(service);
  Scm().CloseScHandle(manager);
  return service != 0;
}

bool DeleteServiceByName(const std::string& name) {
  if (!ServiceExists(name)) return true;
  ScHandle manager = Scm().OpenManager(nullptr, nullptr, kScManagerAllAccess);
  if (!manager) {
    Sys().ui->ShowMessageBox("Couldn't open service manager", name, kMbOk);
    return false;
  }
  ScHandle service = Scm().OpenServiceByName(manager, name, kDelete | kServiceStop);
  if (!service) {
    Scm().CloseScHandle(manager);
    Sys().ui->ShowMessageBox("Couldn't open service", name, kMbOk);
    return false;
  }
  // Windows removes the service once it has stopped and its last handle is closed.
  Scm().Control(service, kServiceControlStop);
  bool deleted = Scm().MarkForDeletion(service);
  Scm().CloseScHandle(service);
  Scm().CloseScHandle(manager);
  return deleted;
}

std::vector<CServiceInfo> EnumServices(uint32_t serviceType, uint32_t serviceState) {
  std::vector<CServiceInfo> services;
  ScHandle manager = Scm().OpenManager(nullptr, nullptr, kScManagerEnumerateService);
  if (!manager) return services;

  // The first call, with room for one bare entry, tells the size needed.
  std::vector<CServiceStatusEntry> entries;
  uint32_t needed = 0, resume = 0;
  long result = Scm().EnumStatus(manager, serviceType, serviceState, kEnumServiceEntrySize, entries, needed, resume);
  if (result == kErrorMoreData) {
    entries.clear();
    resume = 0;
    Scm().EnumStatus(manager, serviceType, serviceState, needed + kEnumServiceEntrySize, entries, needed, resume);
    for (const CServiceStatusEntry& entry : entries) {
      CServiceInfo info;
      info.m_strName = entry.name;
      info.m_strDisplayName = entry.displayName;
      info.m_dwServiceType = entry.serviceType;
      info.m_dwCurrentState = entry.currentState;
      ScHandle service = Scm().OpenServiceByName(manager, entry.name, kServiceQueryConfig);
      if (service) {
        CServiceConfig config;
        if (Scm().QueryConfig(service, kConfigBufferSize, config)) {
          info.m_strBinaryPath = config.binaryPath;
          info.m_dwStartType = config.startType;
          info.m_dwErrorControl = config.errorControl;
        }
        Scm().CloseScHandle(service);
      }
      services.push_back(info);
    }
  }
  Scm().CloseScHandle(manager);
  return services;
}

bool ServicePathNamesFile(const std::string& binaryPath, const std::string& path) {
  if (path.empty()) return false;
  if (EqualsNoCase(binaryPath, path)) return true;
  // A program path with blanks is registered in quotes, often with arguments.
  size_t closing = path.size() + 1;
  if (binaryPath.size() <= closing || binaryPath[0] != '"' || binaryPath[closing] != '"') return false;
  if (!EqualsNoCase(binaryPath.substr(1, path.size()), path)) return false;
  return binaryPath.size() == closing + 1 || binaryPath[closing + 1] == ' ' || binaryPath[closing + 1] == '\t';
}

std::unique_ptr<CServiceInfo> FindServiceByPath(const std::string& path) {
  for (const CServiceInfo& info : EnumServices(kServiceWin32, kServiceStateAll)) {
    if (ServicePathNamesFile(info.m_strBinaryPath, path)) return std::make_unique<CServiceInfo>(info);
  }
  return nullptr;
}

void PumpMessagesFor(uint32_t ms) {
  uint32_t start = Sys().clock->TickCount();
  // Unsigned difference: correct across the tick count's wrap.
  while (Sys().clock->TickCount() - start < ms) Sys().ui->PumpOneMessage();
}
