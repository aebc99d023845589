// Running processes: enumeration with names and ids, the module walk of one
// process, the search for the processes that run a given executable, and
// ending a process by its id.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/ProcessApi.h"

class CProcessEnumerator {
 public:
  CProcessEnumerator();
  CProcessEnumerator(const CProcessEnumerator&) = delete;
  CProcessEnumerator& operator=(const CProcessEnumerator&) = delete;
  virtual ~CProcessEnumerator();

  bool FirstProcess(ProcessInfo& info);
  // The next process (or pending 16-bit task); false at the end.
  bool NextProcess(ProcessInfo& info);
  bool FirstModule(uint32_t processId, std::string& path);
  bool NextModule(uint32_t processId, std::string& path);

  // True when a module of the process is loaded from path (letter case ignored).
  bool ProcessHasModule(uint32_t processId, const std::string& path);
  // Appends the id of every process that runs the executable at path.
  void FindProcessesByPath(const std::string& path, std::vector<uint32_t>& ids);
  // 0 when the process was ended, -1 when it cannot be opened or ended.
  int TerminateProcessById(uint32_t processId, uint32_t exitCode);

 private:
  std::unique_ptr<IProcessEnumeration> m_pEnumeration;
};

// The text after the last backslash; the whole path when it has none or
// only one at its start.
std::string FileNameOfPath(const std::string& path);
