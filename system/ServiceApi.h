// The service control manager as the system offers it: handles for the
// manager and for single services, and the calls the service layer makes.
// The Win32 implementation passes each call to the matching advapi32
// function; native tests use an in-memory manager.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/RegistryApi.h"  // the system's result codes (kErrorMoreData) and kDelete

typedef uintptr_t ScHandle;  // 0 is no handle

// Access rights, service types, states and controls with the system's values.
enum : uint32_t {
  kScManagerEnumerateService = 0x0004,
  kScManagerAllAccess = 0x000F003F,
  kServiceQueryConfig = 0x0001,
  kServiceQueryStatus = 0x0004,
  kServiceStop = 0x0020,
  kServiceAllAccess = 0x000F01FF,
};
enum : uint32_t {
  kServiceKernelDriver = 0x01,
  kServiceFileSystemDriver = 0x02,
  kServiceWin32OwnProcess = 0x10,
  kServiceWin32ShareProcess = 0x20,
  kServiceWin32 = 0x30,
};
enum : uint32_t { kServiceActive = 1, kServiceInactive = 2, kServiceStateAll = 3 };
enum : uint32_t {
  kServiceStopped = 1,
  kServiceStartPending = 2,
  kServiceStopPending = 3,
  kServiceRunning = 4,
  kServiceContinuePending = 5,
  kServicePausePending = 6,
  kServicePaused = 7,
};
enum : uint32_t { kServiceControlStop = 1 };

// The size of one ENUM_SERVICE_STATUSA record of the 32-bit system, without
// the texts it points to.
constexpr uint32_t kEnumServiceEntrySize = 36;

struct CServiceStatusEntry {
  std::string name;
  std::string displayName;
  uint32_t serviceType = 0;
  uint32_t currentState = 0;
};

struct CServiceConfig {
  std::string binaryPath;
  uint32_t startType = 0;
  uint32_t errorControl = 0;
};

class IServiceControl {
 public:
  virtual ~IServiceControl() = default;
  // OpenSCManagerA; machine and database may be null.
  virtual ScHandle OpenManager(const char* machine, const char* database, uint32_t access) = 0;
  // OpenServiceA.
  virtual ScHandle OpenServiceByName(ScHandle manager, const std::string& name, uint32_t access) = 0;
  // CloseServiceHandle, for manager and service handles alike.
  virtual bool CloseScHandle(ScHandle handle) = 0;
  // ControlService; the status it reports is not needed.
  virtual bool Control(ScHandle service, uint32_t control) = 0;
  // QueryServiceStatus: the current state.
  virtual bool QueryStatus(ScHandle service, uint32_t& currentState) = 0;
  // EnumServicesStatusA into a buffer of bufferSize bytes. Returns
  // kErrorSuccess when the entries that were left all fit, kErrorMoreData
  // when only those that fit were returned (bytesNeeded then tells the size
  // the rest needs, resume where to go on), another code on failure.
  virtual long EnumStatus(ScHandle manager, uint32_t serviceType, uint32_t serviceState, uint32_t bufferSize,
                          std::vector<CServiceStatusEntry>& entries, uint32_t& bytesNeeded, uint32_t& resume) = 0;
  // QueryServiceConfigA into a buffer of bufferSize bytes; false when the
  // configuration does not fit or cannot be read.
  virtual bool QueryConfig(ScHandle service, uint32_t bufferSize, CServiceConfig& config) = 0;
  // DeleteService: marks the service for deletion.
  virtual bool MarkForDeletion(ScHandle service) = 0;
};
