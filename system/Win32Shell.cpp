#include "system/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <objbase.h>

void CWin32Shell::ChangeNotify(int32_t events, unsigned flags, const std::string& path) {
  SHChangeNotify(events, flags, path.c_str(), nullptr);
}

bool CWin32Shell::Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                          const std::string& folder, int show) {
  HINSTANCE result = ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters.c_str(), folder.c_str(), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool CWin32Shell::RestartWindows() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges = {};
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  SetLastError(ERROR_SUCCESS);
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  DWORD error = GetLastError();
  CloseHandle(token);
  if (error != ERROR_SUCCESS) return false;
  return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != 0;
}

std::vector<std::string> CWin32Shell::WellKnownFolders() {
  static const int kFolders[] = {
      CSIDL_WINDOWS,          CSIDL_SYSTEM,          CSIDL_SYSTEMX86,          CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE,
      CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL,        CSIDL_MYMUSIC,            CSIDL_MYPICTURES,
      CSIDL_MYVIDEO,          CSIDL_APPDATA,         CSIDL_LOCAL_APPDATA,      CSIDL_COMMON_APPDATA,
      CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS, CSIDL_PROGRAMS,   CSIDL_COMMON_PROGRAMS,
      CSIDL_STARTMENU,        CSIDL_COMMON_STARTMENU, CSIDL_STARTUP,           CSIDL_COMMON_STARTUP,
      CSIDL_FAVORITES,        CSIDL_FONTS,           CSIDL_TEMPLATES,          CSIDL_COMMON_TEMPLATES,
      CSIDL_INTERNET_CACHE,   CSIDL_COOKIES,         CSIDL_HISTORY,            CSIDL_SENDTO,
      CSIDL_RECENT,           CSIDL_NETHOOD,         CSIDL_PRINTHOOD,          CSIDL_ADMINTOOLS,
      CSIDL_COMMON_ADMINTOOLS, CSIDL_COMMON_MUSIC,   CSIDL_COMMON_PICTURES,    CSIDL_COMMON_VIDEO,
  };
  std::vector<std::string> folders;
  char path[MAX_PATH];
  for (int id : kFolders) {
    if (SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0]) folders.push_back(path);
  }
  // The parent of all profiles, and the temporary folder.
  if (SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0]) {
    std::string profile = path;
    size_t slash = profile.find_last_of('\\');
    if (slash != std::string::npos && slash > 2) folders.push_back(profile.substr(0, slash));
  }
  DWORD n = GetTempPathA(MAX_PATH, path);
  if (n > 0 && n < MAX_PATH) folders.push_back(std::string(path, n));
  DWORD e = GetEnvironmentVariableA("PUBLIC", path, MAX_PATH);
  if (e > 0 && e < MAX_PATH) folders.push_back(path);
  for (auto& f : folders)
    while (f.size() > 3 && f.back() == '\\') f.pop_back();
  return folders;
}

void CWin32Shell::InitializeCom() { CoInitialize(nullptr); }

std::string CWin32Shell::NewGuidString() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return std::string();
  WCHAR wide[260];
  int n = StringFromGUID2(guid, wide, 260);
  if (n <= 0) return std::string();
  char text[260];
  int m = WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
  return m > 0 ? std::string(text) : std::string();
}
