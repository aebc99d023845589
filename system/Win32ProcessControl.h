// Process enumeration over the facilities the system has, each loaded at
// run time and used only when its library and entry points are present:
// tool-help snapshots (kernel32), the process-status library (psapi) and
// the 16-bit task enumeration of the DOS/Windows-on-Windows machine (vdmdbg).
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <deque>
#include <vector>

#include "system/ProcessApi.h"

// Sets of enumeration methods.
enum : unsigned {
  kProcessMethodNone = 0,
  kProcessMethodModuleList = 1,
  kProcessMethodSnapshot = 2,
  kProcessMethodTasks = 4,
  kProcessMethodsAll = 7,
};

class CWin32ProcessEnumeration : public IProcessEnumeration {
 public:
  // allowed limits the methods that may be chosen (tests pick one).
  explicit CWin32ProcessEnumeration(unsigned allowed = kProcessMethodsAll);
  ~CWin32ProcessEnumeration() override;
  CWin32ProcessEnumeration(const CWin32ProcessEnumeration&) = delete;
  CWin32ProcessEnumeration& operator=(const CWin32ProcessEnumeration&) = delete;

  // The methods in use: module-list 1 or snapshot 2, plus 4 for 16-bit tasks.
  unsigned Method() const { return m_nMethod; }

  bool FirstProcess(ProcessInfo& info) override;
  bool NextProcess(ProcessInfo& info) override;
  bool FirstModule(uint32_t processId, std::string& path) override;
  bool NextModule(uint32_t processId, std::string& path) override;

 private:
  typedef BOOL(WINAPI* EnumProcessesFn)(DWORD*, DWORD, DWORD*);
  typedef BOOL(WINAPI* EnumProcessModulesFn)(HANDLE, HMODULE*, DWORD, DWORD*);
  typedef DWORD(WINAPI* GetModuleFileNameExFn)(HANDLE, HMODULE, LPSTR, DWORD);
  typedef HANDLE(WINAPI* CreateSnapshotFn)(DWORD, DWORD);
  typedef BOOL(WINAPI* ProcessWalkFn)(HANDLE, PROCESSENTRY32*);
  typedef BOOL(WINAPI* ModuleWalkFn)(HANDLE, MODULEENTRY32*);
  typedef BOOL(WINAPI* TaskEnumProc)(DWORD, WORD, WORD, PSZ, PSZ, LPARAM);
  typedef INT(WINAPI* EnumTasksFn)(DWORD, TaskEnumProc, LPARAM);

  static BOOL WINAPI OnTask(DWORD threadId, WORD module16, WORD task16, PSZ moduleName, PSZ fileName, LPARAM self);
  void DescribeProcessId(DWORD processId, ProcessInfo& info);
  bool ReadModuleHandles(DWORD processId);
  bool ModulePathAtCursor(DWORD processId, std::string& path);
  void CloseSnapshots();

  HMODULE m_hPsapi = nullptr;
  HMODULE m_hVdmDbg = nullptr;
  EnumProcessesFn m_pEnumProcesses = nullptr;
  EnumProcessModulesFn m_pEnumProcessModules = nullptr;
  GetModuleFileNameExFn m_pGetModuleFileNameEx = nullptr;
  CreateSnapshotFn m_pCreateSnapshot = nullptr;
  ProcessWalkFn m_pProcessFirst = nullptr;
  ProcessWalkFn m_pProcessNext = nullptr;
  ModuleWalkFn m_pModuleFirst = nullptr;
  ModuleWalkFn m_pModuleNext = nullptr;
  EnumTasksFn m_pEnumTasks = nullptr;
  unsigned m_nMethod = kProcessMethodNone;

  HANDLE m_hProcessSnap = INVALID_HANDLE_VALUE;
  HANDLE m_hModuleSnap = INVALID_HANDLE_VALUE;
  PROCESSENTRY32 m_processEntry;
  MODULEENTRY32 m_moduleEntry;

  std::vector<DWORD> m_arrProcessIds;
  size_t m_nProcessCursor = 0;
  size_t m_nProcessesLeft = 0;
  std::vector<HMODULE> m_arrModules;
  size_t m_nModuleCursor = 0;
  size_t m_nModulesLeft = 0;

  // 16-bit tasks found in a virtual-machine process, returned before the
  // enumeration goes on. Each enumeration keeps its own, so that one walk
  // cannot drop the tasks another has not returned yet.
  std::deque<ProcessInfo> m_listPendingTasks;
};

class CWin32ProcessControl : public IProcessControl {
 public:
  explicit CWin32ProcessControl(unsigned allowed = kProcessMethodsAll) : m_nAllowed(allowed) {}
  std::unique_ptr<IProcessEnumeration> StartEnumeration() override;
  bool EndProcess(uint32_t processId, uint32_t exitCode) override;

 private:
  unsigned m_nAllowed;
};
