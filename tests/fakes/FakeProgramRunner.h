// In-memory programs, libraries and version information. A command line is
// resolved to a program as the system does it: a quoted first token, or
// unquoted each text before a blank in turn before the whole line, with
// ".exe" added to a file name without extension. A library path gets ".dll"
// that way. A trailing dot is dropped instead of adding an extension.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "system/ProgramApi.h"

class CFakeProgramRunner : public IProgramRunner {
 public:
  struct Program {
    uint32_t exitCode = 0;
    bool hangs = false;  // still running when the wait ends
  };
  struct Library {
    bool hasExport = true;  // "DllUnregisterServer"
    int32_t hresult = 0;
  };
  struct Run {
    std::string commandLine;
    std::string program;        // the program the line resolved to
    std::string currentFolder;  // at the start
    uint32_t timeoutMs = 0;
    bool ended = false;  // terminated after the wait
    uint32_t endCode = 0;
  };
  struct Call {
    std::string library;
    std::string currentFolder;
    bool comReady = false;
  };

  void AddProgram(const std::string& path, uint32_t exitCode, bool hangs = false);
  void AddLibrary(const std::string& path, int32_t hresult, bool hasExport = true);
  void SetVersionFileType(const std::string& path, uint32_t fileType) { m_versionTypes[Key(path)] = fileType; }

  std::vector<Run> m_runs;
  std::vector<std::string> m_arrLoadAttempts;  // paths given to the loader
  std::vector<Call> m_calls;                   // export calls made
  int m_nOpenPrograms = 0;
  int m_nLoadedLibraries = 0;
  int m_nComDepth = 0;
  bool m_bComFails = false;
  bool m_bComUnbalanced = false;  // EndCom without a matching BeginCom

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
  static std::string Key(const std::string& path);
  // The program a command line starts; empty when none is known.
  std::string ResolveProgram(const std::string& commandLine) const;

  std::map<std::string, Program> m_programs;  // by upper-case path
  std::map<std::string, Library> m_libraries;
  std::map<std::string, uint32_t> m_versionTypes;
  std::vector<std::string> m_loadedKeys;  // index + 1 is the handle
};
