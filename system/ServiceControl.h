// Windows services: one open service, the information about an installed
// service, the enumeration of services and the search for the service that
// runs a given program file, deletion by name. Everything runs on the
// calling thread; the wait for a stop can let window messages through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/ServiceApi.h"

class CServiceInfo {
 public:
  CServiceInfo() = default;
  CServiceInfo(const CServiceInfo&) = default;
  CServiceInfo& operator=(const CServiceInfo&) = default;
  virtual ~CServiceInfo() = default;

  // "UNKNOWN", "STOPPED", ... "PAUSED" for the states 0 to 7; "UNKNOWN"
  // for any other value.
  std::string StateName() const;
  // Running or about to pause.
  bool IsRunning() const;

  std::string m_strName;
  std::string m_strDisplayName;
  std::string m_strBinaryPath;  // empty when the configuration could not be read
  uint32_t m_dwServiceType = 0;
  uint32_t m_dwStartType = 0;
  uint32_t m_dwErrorControl = 0;
  uint32_t m_dwCurrentState = 0;
};

class CServiceHandle {
 public:
  CServiceHandle() = default;
  CServiceHandle(const CServiceHandle&) = delete;
  CServiceHandle& operator=(const CServiceHandle&) = delete;
  virtual ~CServiceHandle();

  // Opens the service of the local machine's active database.
  bool Open(const std::string& name, uint32_t access);
  // True when the stop request was accepted.
  bool Stop();
  // The current state; 0 when the query fails.
  uint32_t QueryState();
  // Checks up to 20 times, 500 ms apart, whether the service has stopped;
  // with pump set, window messages are dispatched while waiting.
  bool WaitForStopped(bool pump);
  void Close();

 private:
  ScHandle m_hService = 0;
};

bool ServiceExists(const std::string& name);
// Sends the service a stop request and deletes it; true when it is not
// installed. Tells the user when the manager or the service cannot be opened.
bool DeleteServiceByName(const std::string& name);
// The installed services of the given type and state masks, in the order
// the manager reports them.
std::vector<CServiceInfo> EnumServices(uint32_t serviceType, uint32_t serviceState);
// The first Win32 service whose program is the file at path; null when none.
std::unique_ptr<CServiceInfo> FindServiceByPath(const std::string& path);
// True when a service's configured program path names the file at path:
// the same text, or the path in double quotes, alone or followed by a blank
// and arguments; letter case is ignored.
bool ServicePathNamesFile(const std::string& binaryPath, const std::string& path);
// Dispatches waiting window messages until ms milliseconds have passed.
void PumpMessagesFor(uint32_t ms);
