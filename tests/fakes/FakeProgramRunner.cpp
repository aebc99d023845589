#include "tests/fakes/FakeProgramRunner.h"

#include "app/Text.h"
#include "app/Utilities.h"
#include "system/FileSystem.h"
#include "system/Platform.h"

std::string CFakeProgramRunner::Key(const std::string& path) { return ToUpperText(path); }

void CFakeProgramRunner::AddProgram(const std::string& path, uint32_t exitCode, bool hangs) {
  m_programs[Key(path)] = Program{exitCode, hangs};
}

void CFakeProgramRunner::AddLibrary(const std::string& path, int32_t hresult, bool hasExport) {
  m_libraries[Key(path)] = Library{hasExport, hresult};
}

std::string CFakeProgramRunner::ResolveProgram(const std::string& commandLine) const {
  auto known = [this](std::string candidate) -> std::string {
    if (!candidate.empty() && candidate.back() == '.') {
      candidate.pop_back();
    } else if (GetNamePart(candidate).find('.') == std::string::npos) {
      candidate += ".exe";
    }
    return m_programs.count(Key(candidate)) ? candidate : std::string();
  };
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    if (close == std::string::npos) return std::string();
    return known(commandLine.substr(1, close - 1));
  }
  for (size_t blank = commandLine.find(' '); blank != std::string::npos; blank = commandLine.find(' ', blank + 1)) {
    std::string found = known(commandLine.substr(0, blank));
    if (!found.empty()) return found;
  }
  return known(commandLine);
}

bool CFakeProgramRunner::StartProgram(const std::string& commandLine, CStartedProgram& program) {
  std::string path = ResolveProgram(commandLine);
  if (path.empty()) return false;
  Run run;
  run.commandLine = commandLine;
  run.program = path;
  run.currentFolder = Sys().files->GetCurrentFolder();
  m_runs.push_back(run);
  program.process = m_runs.size();
  program.thread = m_runs.size();
  program.processId = static_cast<uint32_t>(1000 + m_runs.size());
  ++m_nOpenPrograms;
  return true;
}

bool CFakeProgramRunner::WaitForProgram(const CStartedProgram& program, uint32_t timeoutMs) {
  Run& run = m_runs.at(program.process - 1);
  run.timeoutMs = timeoutMs;
  return !m_programs.at(Key(run.program)).hangs;
}

bool CFakeProgramRunner::GetProgramExitCode(const CStartedProgram& program, uint32_t& exitCode) {
  const Run& run = m_runs.at(program.process - 1);
  const Program& p = m_programs.at(Key(run.program));
  exitCode = run.ended ? run.endCode : (p.hangs ? 259u : p.exitCode);  // 259: still active
  return true;
}

bool CFakeProgramRunner::EndProgram(const CStartedProgram& program, uint32_t exitCode) {
  Run& run = m_runs.at(program.process - 1);
  run.ended = true;
  run.endCode = exitCode;
  return true;
}

void CFakeProgramRunner::CloseProgram(CStartedProgram& program) {
  if (program.process) --m_nOpenPrograms;
  program = CStartedProgram();
}

LibraryHandle CFakeProgramRunner::LoadLibraryByPath(const std::string& path) {
  m_arrLoadAttempts.push_back(path);
  std::string file = path;
  if (!file.empty() && file.back() == '.') {
    file.pop_back();
  } else if (GetNamePart(file).find('.') == std::string::npos) {
    file += ".dll";
  }
  if (!m_libraries.count(Key(file))) return 0;
  m_loadedKeys.push_back(Key(file));
  ++m_nLoadedLibraries;
  return m_loadedKeys.size();
}

bool CFakeProgramRunner::CallHresultExport(LibraryHandle library, const std::string& name, int32_t& hresult) {
  const std::string& key = m_loadedKeys.at(library - 1);
  const Library& lib = m_libraries.at(key);
  if (name != "DllUnregisterServer" || !lib.hasExport) return false;
  m_calls.push_back(Call{key, Sys().files->GetCurrentFolder(), m_nComDepth > 0});
  hresult = lib.hresult;
  return true;
}

void CFakeProgramRunner::FreeLibraryHandle(LibraryHandle library) {
  if (library) --m_nLoadedLibraries;
}

bool CFakeProgramRunner::BeginCom() {
  if (m_bComFails) return false;
  ++m_nComDepth;
  return true;
}

void CFakeProgramRunner::EndCom() {
  if (m_nComDepth == 0) m_bComUnbalanced = true;
  else --m_nComDepth;
}

bool CFakeProgramRunner::ReadVersionFileType(const std::string& path, uint32_t& fileType) {
  auto it = m_versionTypes.find(Key(path));
  if (it == m_versionTypes.end()) return false;
  fileType = it->second;
  return true;
}
