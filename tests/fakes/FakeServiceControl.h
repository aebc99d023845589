// An in-memory service control manager with the system's rules: handles
// carry their access rights, the enumeration fills a buffer of a given size
// and reports what the rest needs, configurations have a size, a stop
// request takes a number of status queries to complete, and a deleted
// service goes once it has stopped and its last handle is closed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "system/ServiceApi.h"

class CFakeServiceControl : public IServiceControl {
 public:
  struct Service {
    std::string name;
    std::string displayName;
    std::string binaryPath;
    uint32_t serviceType = kServiceWin32OwnProcess;
    uint32_t startType = 3;     // demand start
    uint32_t errorControl = 1;  // normal
    uint32_t state = kServiceRunning;
    uint32_t deniedAccess = 0;  // opening with any of these rights fails
    bool ignoresStop = false;   // accepts stop requests and goes on running
    int queriesToStop = 0;      // status queries answered "stop pending" after a stop request
    int pendingQueries = 0;
    bool markedForDeletion = false;
    int stopRequests = 0;
  };

  // A service, running unless told otherwise; the display name is the name.
  Service& Add(const std::string& name, const std::string& binaryPath, uint32_t state = kServiceRunning);
  Service* Find(const std::string& name);
  size_t OpenHandleCount() const { return m_handles.size(); }

  // Manager opens succeed this many times, then fail; -1 for always.
  int m_nManagerOpensLeft = -1;
  bool m_bEnumFails = false;
  std::vector<Service> m_services;  // in enumeration order
  std::vector<uint32_t> m_arrEnumBufferSizes;

  ScHandle OpenManager(const char* machine, const char* database, uint32_t access) override;
  ScHandle OpenServiceByName(ScHandle manager, const std::string& name, uint32_t access) override;
  bool CloseScHandle(ScHandle handle) override;
  bool Control(ScHandle service, uint32_t control) override;
  bool QueryStatus(ScHandle service, uint32_t& currentState) override;
  long EnumStatus(ScHandle manager, uint32_t serviceType, uint32_t serviceState, uint32_t bufferSize,
                  std::vector<CServiceStatusEntry>& entries, uint32_t& bytesNeeded, uint32_t& resume) override;
  bool QueryConfig(ScHandle service, uint32_t bufferSize, CServiceConfig& config) override;
  bool MarkForDeletion(ScHandle service) override;

  // Bytes an enumeration entry and a configuration take, as the system counts them.
  static uint32_t EntrySize(const Service& s);
  static uint32_t ConfigSize(const Service& s);

 private:
  struct Handle {
    bool isManager = false;
    std::string service;
    uint32_t access = 0;
  };
  // The service behind a handle that carries the right; null otherwise.
  Service* Resolve(ScHandle handle, uint32_t right);
  void RemoveDeleted();

  std::map<ScHandle, Handle> m_handles;
  ScHandle m_nextHandle = 0x100;
};
