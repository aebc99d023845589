// A directory link for tests under Wine: a Unix symbolic link, which the
// file search reports with FILE_ATTRIBUTE_REPARSE_POINT like a junction.
// Wine starts Unix programs by their path on the Z: drive, so the test
// plants and removes the link with ln and rm; such a process has no handle
// to wait for, so the test waits for the link to show. Removed again on
// destruction.
#pragma once

#include <windows.h>

#include <string>

class CUnixLink {
 public:
  CUnixLink(const std::string& link, const std::string& target) : m_strPath(link), m_strLink(UnixPath(link)) {
    if (Start("Z:\\bin\\ln", "ln -s \"" + UnixPath(target) + "\" \"" + m_strLink + "\""))
      m_bPlanted = WaitUntil(true);
  }
  ~CUnixLink() {
    if (m_bPlanted && Start("Z:\\bin\\rm", "rm -f \"" + m_strLink + "\"")) WaitUntil(false);
  }
  CUnixLink(const CUnixLink&) = delete;
  CUnixLink& operator=(const CUnixLink&) = delete;

  bool Planted() const { return m_bPlanted; }

 private:
  static std::string UnixPath(const std::string& path) {
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    std::wstring wide(path.begin(), path.end());
    char* unixName = toUnix(wide.c_str());
    if (!unixName) return std::string();
    std::string result = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
  }

  static bool Start(const std::string& program, const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    return true;
  }

  bool WaitUntil(bool present) const {
    for (int i = 0; i < 100; ++i) {
      if ((GetFileAttributesA(m_strPath.c_str()) != INVALID_FILE_ATTRIBUTES) == present) return true;
      Sleep(50);
    }
    return false;
  }

  std::string m_strPath;
  std::string m_strLink;
  bool m_bPlanted = false;
};
