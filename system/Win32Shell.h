#pragma once

#include "system/Shell.h"

class CWin32Shell : public IShell {
 public:
  void ChangeNotify(int32_t events, unsigned flags, const std::string& path) override;
  bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& folder, int show) override;
  bool RestartWindows() override;
  std::vector<std::string> WellKnownFolders() override;
  std::string NewGuidString() override;
  void InitializeCom() override;
};
