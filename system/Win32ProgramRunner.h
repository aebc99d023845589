#pragma once

#include <windows.h>

#include "system/ProgramApi.h"

class CWin32ProgramRunner : public IProgramRunner {
 public:
  CWin32ProgramRunner() = default;
  ~CWin32ProgramRunner() override;
  CWin32ProgramRunner(const CWin32ProgramRunner&) = delete;
  CWin32ProgramRunner& operator=(const CWin32ProgramRunner&) = delete;

  bool StartProgram(const std::string& commandLine, CStartedProgram& program) override;
  bool WaitForProgram(const CStartedProgram& program, uint32_t timeoutMs) override;
  bool GetProgramExitCode(const CStartedProgram& program, uint32_t& exitCode) override;
  bool EndProgram(const CStartedProgram& program, uint32_t exitCode) override;
  void CloseProgram(CStartedProgram& program) override;
  LibraryHandle LoadLibraryByPath(const std::string& path) override;
  bool CallHresultExport(LibraryHandle library, const std::string& name, int32_t& hresult) override;
  void FreeLibraryHandle(LibraryHandle library) override;
  bool BeginCom() override;
  void EndCom() override;
  bool ReadVersionFileType(const std::string& path, uint32_t& fileType) override;

 private:
  typedef DWORD(WINAPI* GetVersionInfoSizeFn)(LPCSTR, LPDWORD);
  typedef BOOL(WINAPI* GetVersionInfoFn)(LPCSTR, DWORD, DWORD, LPVOID);
  typedef BOOL(WINAPI* VerQueryValueFn)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  // The version library, loaded from the system folder on first use.
  bool LoadVersionLibrary();

  HMODULE m_hVersion = nullptr;
  bool m_bVersionTried = false;
  GetVersionInfoSizeFn m_pGetSize = nullptr;
  GetVersionInfoFn m_pGetInfo = nullptr;
  VerQueryValueFn m_pQueryValue = nullptr;
};
