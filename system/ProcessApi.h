// Running processes as the program needs them: enumerate the processes with
// their names and ids, walk the module paths of one process, end a process
// by its id. The Win32 implementation picks among the system's facilities
// (tool-help snapshots, the process-status library, 16-bit tasks); native
// tests use an in-memory process list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct ProcessInfo {
  // As the enumeration reports it: a bare file name or a full path, or
  // "N/A (security restriction)" / "N/A (error)"; at most 255 characters.
  std::string m_strName;
  uint32_t m_dwProcessId = 0;  // for a 16-bit task the id of its virtual-machine process
  uint16_t m_wTask = 0;        // 16-bit task handle; 0 for ordinary processes
};

// One enumeration: its own snapshots, buffers and cursors.
class IProcessEnumeration {
 public:
  virtual ~IProcessEnumeration() = default;
  virtual bool FirstProcess(ProcessInfo& info) = 0;
  virtual bool NextProcess(ProcessInfo& info) = 0;
  virtual bool FirstModule(uint32_t processId, std::string& path) = 0;
  virtual bool NextModule(uint32_t processId, std::string& path) = 0;
};

class IProcessControl {
 public:
  virtual ~IProcessControl() = default;
  // A new enumeration; never null (without any facility it finds nothing).
  virtual std::unique_ptr<IProcessEnumeration> StartEnumeration() = 0;
  // Opens the process with the right to terminate it and ends it.
  virtual bool EndProcess(uint32_t processId, uint32_t exitCode) = 0;
};
