#include "system/Win32ProcessControl.h"

#include <cstring>
#include <string>

#include "app/Text.h"

namespace {

constexpr size_t kBufferStep = 256;  // entries of the id and module buffers
constexpr size_t kMaxName = 255;
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
const char kSecurityRestriction[] = "N/A (security restriction)";
const char kNameError[] = "N/A (error)";

// Sizes of the ANSI entry records of the 32-bit system.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "PROCESSENTRY32 of the 32-bit system");
static_assert(sizeof(void*) != 4 || sizeof(MODULEENTRY32) == 548, "MODULEENTRY32 of the 32-bit system");

// Only from the system folder: never a copy lying beside the program.
HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH];
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(folder, n) + "\\" + name).c_str());
}

template <typename Fn>
Fn Entry(HMODULE library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

std::string CutName(const char* text) {
  size_t n = strnlen(text, kMaxName);
  return std::string(text, n);
}

// The virtual machine that runs 16-bit programs.
bool IsVdmProcessName(const std::string& name) {
  static const char kVdm[] = "NTVDM.EXE";
  size_t n = sizeof(kVdm) - 1;
  return name.size() >= n && EqualsNoCase(name.substr(name.size() - n), kVdm);
}

}  // namespace

CWin32ProcessEnumeration::CWin32ProcessEnumeration(unsigned allowed) {
  std::memset(&m_processEntry, 0, sizeof(m_processEntry));
  std::memset(&m_moduleEntry, 0, sizeof(m_moduleEntry));
  m_processEntry.dwSize = sizeof(PROCESSENTRY32);
  m_moduleEntry.dwSize = sizeof(MODULEENTRY32);

  m_hPsapi = LoadSystemLibrary("psapi.dll");
  m_pEnumProcesses = Entry<EnumProcessesFn>(m_hPsapi, "EnumProcesses");
  m_pEnumProcessModules = Entry<EnumProcessModulesFn>(m_hPsapi, "EnumProcessModules");
  m_pGetModuleFileNameEx = Entry<GetModuleFileNameExFn>(m_hPsapi, "GetModuleFileNameExA");
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  m_pCreateSnapshot = Entry<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  m_pProcessFirst = Entry<ProcessWalkFn>(kernel, "Process32First");
  m_pProcessNext = Entry<ProcessWalkFn>(kernel, "Process32Next");
  m_pModuleFirst = Entry<ModuleWalkFn>(kernel, "Module32First");
  m_pModuleNext = Entry<ModuleWalkFn>(kernel, "Module32Next");
  m_hVdmDbg = LoadSystemLibrary("vdmdbg.dll");
  m_pEnumTasks = Entry<EnumTasksFn>(m_hVdmDbg, "VDMEnumTaskWOWEx");

  bool moduleList = (allowed & kProcessMethodModuleList) && m_pEnumProcesses && m_pEnumProcessModules &&
                    m_pGetModuleFileNameEx;
  bool snapshot = (allowed & kProcessMethodSnapshot) && m_pCreateSnapshot && m_pProcessFirst && m_pProcessNext &&
                  m_pModuleFirst && m_pModuleNext;
  if (moduleList) m_nMethod = kProcessMethodModuleList;
  if (snapshot) m_nMethod = kProcessMethodSnapshot;
  if (m_nMethod != kProcessMethodNone && (allowed & kProcessMethodTasks) && m_pEnumTasks) {
    m_nMethod |= kProcessMethodTasks;
  }
}

CWin32ProcessEnumeration::~CWin32ProcessEnumeration() {
  CloseSnapshots();
  if (m_hVdmDbg) FreeLibrary(m_hVdmDbg);
  if (m_hPsapi) FreeLibrary(m_hPsapi);
}

void CWin32ProcessEnumeration::CloseSnapshots() {
  if (m_hProcessSnap != INVALID_HANDLE_VALUE) CloseHandle(m_hProcessSnap);
  if (m_hModuleSnap != INVALID_HANDLE_VALUE) CloseHandle(m_hModuleSnap);
  m_hProcessSnap = m_hModuleSnap = INVALID_HANDLE_VALUE;
}

bool CWin32ProcessEnumeration::FirstProcess(ProcessInfo& info) {
  m_listPendingTasks.clear();
  info.m_wTask = 0;
  if (m_nMethod & kProcessMethodSnapshot) {
    if (m_hProcessSnap != INVALID_HANDLE_VALUE) CloseHandle(m_hProcessSnap);
    m_hProcessSnap = m_pCreateSnapshot(TH32CS_SNAPPROCESS, 0);
    if (m_hProcessSnap == INVALID_HANDLE_VALUE) return false;
    if (!m_pProcessFirst(m_hProcessSnap, &m_processEntry)) return false;
    info.m_dwProcessId = m_processEntry.th32ProcessID;
    info.m_strName = CutName(m_processEntry.szExeFile);
    return true;
  }
  if (m_nMethod & kProcessMethodModuleList) {
    DWORD needed = 0;
    for (size_t size = kBufferStep;; size += kBufferStep) {
      m_arrProcessIds.assign(size, 0);
      DWORD bytes = static_cast<DWORD>(size * sizeof(DWORD));
      if (!m_pEnumProcesses(m_arrProcessIds.data(), bytes, &needed)) return false;
      if (needed < bytes) break;  // a full buffer may have cut the list
    }
    m_nProcessesLeft = needed / sizeof(DWORD);
    m_nProcessCursor = 0;
    if (m_nProcessesLeft == 0) return false;
    --m_nProcessesLeft;
    DescribeProcessId(m_arrProcessIds[m_nProcessCursor++], info);
    return true;
  }
  return false;
}

bool CWin32ProcessEnumeration::NextProcess(ProcessInfo& info) {
  info.m_wTask = 0;
  if (!m_listPendingTasks.empty()) {
    info = m_listPendingTasks.front();
    m_listPendingTasks.pop_front();
    return true;
  }
  if (m_nMethod & kProcessMethodSnapshot) {
    if (m_hProcessSnap == INVALID_HANDLE_VALUE || !m_pProcessNext(m_hProcessSnap, &m_processEntry)) return false;
    info.m_dwProcessId = m_processEntry.th32ProcessID;
    info.m_strName = CutName(m_processEntry.szExeFile);
  } else if (m_nMethod & kProcessMethodModuleList) {
    if (m_nProcessesLeft == 0) return false;
    --m_nProcessesLeft;
    DescribeProcessId(m_arrProcessIds[m_nProcessCursor++], info);
  } else {
    return false;
  }
  if ((m_nMethod & kProcessMethodTasks) && IsVdmProcessName(info.m_strName)) {
    m_pEnumTasks(info.m_dwProcessId, &CWin32ProcessEnumeration::OnTask, reinterpret_cast<LPARAM>(this));
  }
  return true;
}

BOOL WINAPI CWin32ProcessEnumeration::OnTask(DWORD threadId, WORD module16, WORD task16, PSZ moduleName,
                                              PSZ fileName, LPARAM self) {
  // The tasks are collected for the virtual-machine process whose id the
  // enumeration is on.
  auto* me = reinterpret_cast<CWin32ProcessEnumeration*>(self);
  ProcessInfo task;
  task.m_strName = CutName(fileName ? fileName : "");
  task.m_wTask = task16;
  task.m_dwProcessId = (me->m_nMethod & kProcessMethodSnapshot) ? me->m_processEntry.th32ProcessID
                                                                 : me->m_arrProcessIds[me->m_nProcessCursor - 1];
  me->m_listPendingTasks.push_back(task);
  return FALSE;  // go on with the next task
}

void CWin32ProcessEnumeration::DescribeProcessId(DWORD processId, ProcessInfo& info) {
  info.m_dwProcessId = processId;
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) {
    info.m_strName = kSecurityRestriction;
    return;
  }
  HMODULE first = nullptr;
  DWORD needed = 0;
  char name[kMaxName + 1] = {0};
  if (m_pEnumProcessModules(process, &first, sizeof(first), &needed) &&
      m_pGetModuleFileNameEx(process, first, name, sizeof(name)) != 0) {
    info.m_strName = CutName(name);
  } else {
    info.m_strName = kNameError;
  }
  CloseHandle(process);
}

bool CWin32ProcessEnumeration::ReadModuleHandles(DWORD processId) {
  m_nModulesLeft = m_nModuleCursor = 0;
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) return false;
  DWORD needed = 0;
  bool ok = false;
  for (size_t size = kBufferStep;; size += kBufferStep) {
    m_arrModules.assign(size, nullptr);
    DWORD bytes = static_cast<DWORD>(size * sizeof(HMODULE));
    ok = m_pEnumProcessModules(process, m_arrModules.data(), bytes, &needed) != 0;
    if (!ok || needed <= bytes) break;
  }
  CloseHandle(process);
  if (!ok) return false;
  m_nModulesLeft = needed / sizeof(HMODULE);
  return true;
}

bool CWin32ProcessEnumeration::ModulePathAtCursor(DWORD processId, std::string& path) {
  if (m_nModulesLeft == 0) return false;
  --m_nModulesLeft;
  HMODULE module = m_arrModules[m_nModuleCursor++];
  HANDLE process = OpenProcess(kQueryAndRead, FALSE, processId);
  if (!process) return false;
  char name[MAX_PATH] = {0};
  DWORD n = m_pGetModuleFileNameEx(process, module, name, sizeof(name));
  CloseHandle(process);
  path = n ? std::string(name, n) : std::string(kNameError);
  return true;
}

bool CWin32ProcessEnumeration::FirstModule(uint32_t processId, std::string& path) {
  if (m_nMethod & kProcessMethodSnapshot) {
    if (m_hModuleSnap != INVALID_HANDLE_VALUE) CloseHandle(m_hModuleSnap);
    m_hModuleSnap = m_pCreateSnapshot(TH32CS_SNAPMODULE, processId);
    if (m_hModuleSnap == INVALID_HANDLE_VALUE || !m_pModuleFirst(m_hModuleSnap, &m_moduleEntry)) return false;
    path = m_moduleEntry.szExePath;
    return true;
  }
  if (m_nMethod & kProcessMethodModuleList) {
    return ReadModuleHandles(processId) && ModulePathAtCursor(processId, path);
  }
  return false;
}

bool CWin32ProcessEnumeration::NextModule(uint32_t processId, std::string& path) {
  if (m_nMethod & kProcessMethodSnapshot) {
    if (m_hModuleSnap == INVALID_HANDLE_VALUE || !m_pModuleNext(m_hModuleSnap, &m_moduleEntry)) return false;
    path = m_moduleEntry.szExePath;
    return true;
  }
  if (m_nMethod & kProcessMethodModuleList) return ModulePathAtCursor(processId, path);
  return false;
}

std::unique_ptr<IProcessEnumeration> CWin32ProcessControl::StartEnumeration() {
  return std::make_unique<CWin32ProcessEnumeration>(m_nAllowed);
}

bool CWin32ProcessControl::EndProcess(uint32_t processId, uint32_t exitCode) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) return false;
  bool ended = TerminateProcess(process, exitCode) != 0;
  CloseHandle(process);
  return ended;
}
