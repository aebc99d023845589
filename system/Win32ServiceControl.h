#pragma once

#include "system/ServiceApi.h"

class CWin32ServiceControl : public IServiceControl {
 public:
  ScHandle OpenManager(const char* machine, const char* database, uint32_t access) override;
  ScHandle OpenServiceByName(ScHandle manager, const std::string& name, uint32_t access) override;
  bool CloseScHandle(ScHandle handle) override;
  bool Control(ScHandle service, uint32_t control) override;
  bool QueryStatus(ScHandle service, uint32_t& currentState) override;
  long EnumStatus(ScHandle manager, uint32_t serviceType, uint32_t serviceState, uint32_t bufferSize,
                  std::vector<CServiceStatusEntry>& entries, uint32_t& bytesNeeded, uint32_t& resume) override;
  bool QueryConfig(ScHandle service, uint32_t bufferSize, CServiceConfig& config) override;
  bool MarkForDeletion(ScHandle service) override;
};
