// An in-memory process list: each process with the name the enumeration
// reports, its module paths, and whether it can be read or ended.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/ProcessApi.h"

class CFakeProcessControl : public IProcessControl {
 public:
  struct Process {
    uint32_t id = 0;
    std::string name;                  // as reported: a file name, a full path or a placeholder
    std::vector<std::string> modules;  // the main module first
    bool denyRead = false;             // the module walk cannot open it
    bool denyTerminate = false;
    bool ended = false;
    uint32_t exitCode = 0;
  };

  Process& Add(uint32_t id, const std::string& name, const std::vector<std::string>& modules);
  const Process* Find(uint32_t id) const;
  std::vector<uint32_t> EndedIds() const;

  std::vector<Process> m_processes;  // in enumeration order
  int m_nEnumerations = 0;           // enumerations started
  int m_nLiveEnumerations = 0;       // not yet destroyed

  std::unique_ptr<IProcessEnumeration> StartEnumeration() override;
  bool EndProcess(uint32_t processId, uint32_t exitCode) override;
};
