// The application object: one per process, alive from before start-up until
// the process ends. Start-up decides the run mode by the program's own file
// name and does all the work; there is no main window.
#pragma once

#include <string>
#include <vector>

#include "records/InstallInfo.h"

class CUninstallApp {
 public:
  CUninstallApp();
  virtual ~CUninstallApp();
  CUninstallApp(const CUninstallApp&) = delete;
  CUninstallApp& operator=(const CUninstallApp&) = delete;

  // The start-up operation. args are the command-line arguments without the
  // program name. Always returns false: the process ends afterwards.
  bool InitInstance(const std::vector<std::string>& args);

  // The uninstall sequence, run after the user confirmed.
  int RunUninstall();

  std::string m_strModuleDir;
  int m_bRunOnTempDir = 0;
  CInstallInfo m_info;
  std::string m_strTopBarPath;
  std::string m_strLeftBarPath;

 private:
  void RunUninstallMode();
};

// The one application object of the process.
CUninstallApp& TheApp();

// The first argument that does not begin with '-' or '/', or empty.
std::string TakeArgument(const std::vector<std::string>& args);
