// The removal steps that reach other programs, over the system's service,
// process and self-registration layers.
#pragma once

#include "removal/RemovalWorker.h"

class CSystemRemovalSteps : public IRemovalSteps {
 public:
  // Stops the service when it runs (waiting with messages let through) and
  // deletes it; nothing when no service runs the file.
  void StopAndDeleteService(const std::string& path) override;
  // Ends every process that runs the file with exit code 0, without waiting.
  void EndProcesses(const std::string& path) override;
  void UnregisterComServer(const std::string& path) override;
  void UnregisterServiceExe(const std::string& path) override;
};
