// Entry point of UnInstall.exe.
#include <windows.h>

#include <string>
#include <vector>

#include "app/InterimDialogs.h"
#include "app/UninstallApp.h"
#include "system/Platform.h"

namespace {

// The temporary copy runs from the user's temporary folder: no library lying
// there (or in the current folder) may be loaded into the program.
void RestrictLibrarySearch() {
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictLibrarySearch();
  InstallWin32Platform();
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  CInterimDialogs dialogs;
  CUninstallApp app;
  app.m_pDialogs = &dialogs;
  app.InitInstance(args);
  return 0;
}
