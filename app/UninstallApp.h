// The application object: one per process, alive from before start-up until
// the process ends. Start-up decides the run mode by the program's own file
// name and does all the work; there is no main window.
#pragma once

#include <string>
#include <vector>

#include "records/InstallInfo.h"

class IUninstallDialogs;

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
  // The progress dialog with every removal step, then the finish page; 1 when
  // the progress dialog ended with OK.
  int DefaultUninstall();
  // Starts a copy of the program as "strQSTemp.exe" in the temporary folder,
  // which deletes the folder.
  void LaunchFolderCleanup(const std::string& folder);

  std::string m_strModuleDir;
  int m_bRunOnTempDir = 0;
  CInstallInfo m_info;
  std::string m_strTopBarPath;
  std::string m_strLeftBarPath;
  // The dialogs the sequence shows; borrowed, set by the program's entry
  // point (or a test) before start-up.
  IUninstallDialogs* m_pDialogs = nullptr;

 private:
  void RunUninstallMode();
};

// The one application object of the process.
CUninstallApp& TheApp();

// The command line that hands a folder to the temporary copy: in double
// quotes, without trailing backslashes (a backslash before the closing quote
// would escape it).
std::string QuoteFolderArgument(const std::string& folder);

// The first argument that does not begin with '-' or '/', or empty.
std::string TakeArgument(const std::vector<std::string>& args);
