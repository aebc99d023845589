// Running other programs and libraries for their self-registration: start a
// command line and wait for it, load a library and call one of its exports,
// COM for the duration of such a call, the file type in version information.
#pragma once

#include <cstdint>
#include <string>

// File types of version information with the system's values.
enum : uint32_t { kVftUnknown = 0, kVftApp = 1, kVftDll = 2, kVftDrv = 3 };

struct CStartedProgram {
  uintptr_t process = 0;
  uintptr_t thread = 0;
  uint32_t processId = 0;
};

typedef uintptr_t LibraryHandle;  // 0 is no library

class IProgramRunner {
 public:
  virtual ~IProgramRunner() = default;
  // CreateProcessA without application name, inheriting no handles, with
  // the caller's environment and current folder.
  virtual bool StartProgram(const std::string& commandLine, CStartedProgram& program) = 0;
  // WaitForSingleObject: true when the program ended within the time.
  virtual bool WaitForProgram(const CStartedProgram& program, uint32_t timeoutMs) = 0;
  virtual bool GetProgramExitCode(const CStartedProgram& program, uint32_t& exitCode) = 0;
  // TerminateProcess.
  virtual bool EndProgram(const CStartedProgram& program, uint32_t exitCode) = 0;
  // Closes the process and thread handles.
  virtual void CloseProgram(CStartedProgram& program) = 0;

  // Loads a library by its path, its own folder searched first for the
  // libraries it needs; 0 on failure.
  virtual LibraryHandle LoadLibraryByPath(const std::string& path) = 0;
  // Calls an export that takes no arguments and returns an HRESULT; false
  // when the library has no such export.
  virtual bool CallHresultExport(LibraryHandle library, const std::string& name, int32_t& hresult) = 0;
  virtual void FreeLibraryHandle(LibraryHandle library) = 0;

  // CoInitialize for the thread; true when it succeeded (also when COM was
  // already initialised), and only then must EndCom follow.
  virtual bool BeginCom() = 0;
  virtual void EndCom() = 0;

  // The file type of the fixed file information in the file's version
  // information (GetFileVersionInfoA, VerQueryValueA "\"); false when the
  // file has none or it cannot be read.
  virtual bool ReadVersionFileType(const std::string& path, uint32_t& fileType) = 0;
};
