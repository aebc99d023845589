// Entry point of UnInstall.exe.
#include <windows.h>

#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "app/Win32UninstallDialogs.h"
#include "system/LibrarySearch.h"
#include "system/Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The temporary copy runs from the user's temporary folder: nothing lying
  // there may be loaded into the program.
  RestrictLibrarySearch();
  InstallWin32Platform();
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  CWin32UninstallDialogs dialogs;
  CUninstallApp app;
  app.m_pDialogs = &dialogs;
  app.InitInstance(args);
  return 0;
}
