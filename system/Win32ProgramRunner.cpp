#include "system/Win32ProgramRunner.h"

#include <objbase.h>

#include <string>
#include <vector>

namespace {

HANDLE H(uintptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

CWin32ProgramRunner::~CWin32ProgramRunner() {
  if (m_hVersion) FreeLibrary(m_hVersion);
}

bool CWin32ProgramRunner::StartProgram(const std::string& commandLine, CStartedProgram& program) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  program.process = reinterpret_cast<uintptr_t>(started.hProcess);
  program.thread = reinterpret_cast<uintptr_t>(started.hThread);
  program.processId = started.dwProcessId;
  return true;
}

bool CWin32ProgramRunner::WaitForProgram(const CStartedProgram& program, uint32_t timeoutMs) {
  return WaitForSingleObject(H(program.process), timeoutMs) == WAIT_OBJECT_0;
}

bool CWin32ProgramRunner::GetProgramExitCode(const CStartedProgram& program, uint32_t& exitCode) {
  DWORD code = 0;
  if (!GetExitCodeProcess(H(program.process), &code)) return false;
  exitCode = code;
  return true;
}

bool CWin32ProgramRunner::EndProgram(const CStartedProgram& program, uint32_t exitCode) {
  return TerminateProcess(H(program.process), exitCode) != 0;
}

void CWin32ProgramRunner::CloseProgram(CStartedProgram& program) {
  if (program.thread) CloseHandle(H(program.thread));
  if (program.process) CloseHandle(H(program.process));
  program = CStartedProgram();
}

LibraryHandle CWin32ProgramRunner::LoadLibraryByPath(const std::string& path) {
  // The libraries the server needs are looked for in its own folder first;
  // a missing one or an absent drive fails the call without a system box.
  DWORD previous = 0;
  BOOL quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
  HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (quiet) SetThreadErrorMode(previous, nullptr);
  return reinterpret_cast<LibraryHandle>(library);
}

bool CWin32ProgramRunner::CallHresultExport(LibraryHandle library, const std::string& name, int32_t& hresult) {
  typedef HRESULT(STDAPICALLTYPE * ExportFn)();
  auto entry = reinterpret_cast<ExportFn>(
      reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name.c_str())));
  if (!entry) return false;
  hresult = entry();
  return true;
}

void CWin32ProgramRunner::FreeLibraryHandle(LibraryHandle library) { FreeLibrary(reinterpret_cast<HMODULE>(library)); }

bool CWin32ProgramRunner::BeginCom() { return SUCCEEDED(CoInitialize(nullptr)); }

void CWin32ProgramRunner::EndCom() { CoUninitialize(); }

bool CWin32ProgramRunner::LoadVersionLibrary() {
  if (!m_bVersionTried) {
    m_bVersionTried = true;
    char folder[MAX_PATH];
    UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n != 0 && n < MAX_PATH) m_hVersion = LoadLibraryA((std::string(folder, n) + "\\version.dll").c_str());
    if (m_hVersion) {
      m_pGetSize = reinterpret_cast<GetVersionInfoSizeFn>(
          reinterpret_cast<void*>(GetProcAddress(m_hVersion, "GetFileVersionInfoSizeA")));
      m_pGetInfo = reinterpret_cast<GetVersionInfoFn>(
          reinterpret_cast<void*>(GetProcAddress(m_hVersion, "GetFileVersionInfoA")));
      m_pQueryValue = reinterpret_cast<VerQueryValueFn>(
          reinterpret_cast<void*>(GetProcAddress(m_hVersion, "VerQueryValueA")));
    }
  }
  return m_pGetSize && m_pGetInfo && m_pQueryValue;
}

bool CWin32ProgramRunner::ReadVersionFileType(const std::string& path, uint32_t& fileType) {
  if (!LoadVersionLibrary()) return false;
  DWORD ignored = 0;
  DWORD size = m_pGetSize(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!m_pGetInfo(path.c_str(), 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!m_pQueryValue(data.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD) {
    return false;
  }
  fileType = fixed->dwFileType;
  return true;
}
