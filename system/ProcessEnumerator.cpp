#include "system/ProcessEnumerator.h"

#include "app/Text.h"
#include "app/Utilities.h"
#include "system/Platform.h"

CProcessEnumerator::CProcessEnumerator() : m_pEnumeration(Sys().processes->StartEnumeration()) {}

CProcessEnumerator::~CProcessEnumerator() = default;

bool CProcessEnumerator::FirstProcess(ProcessInfo& info) { return m_pEnumeration->FirstProcess(info); }

bool CProcessEnumerator::NextProcess(ProcessInfo& info) { return m_pEnumeration->NextProcess(info); }

bool CProcessEnumerator::FirstModule(uint32_t processId, std::string& path) {
  return m_pEnumeration->FirstModule(processId, path);
}

bool CProcessEnumerator::NextModule(uint32_t processId, std::string& path) {
  return m_pEnumeration->NextModule(processId, path);
}

bool CProcessEnumerator::ProcessHasModule(uint32_t processId, const std::string& path) {
  // A walk of its own, so that this enumerator's process walk goes on undisturbed.
  CProcessEnumerator walker;
  std::string module;
  for (bool more = walker.FirstModule(processId, module); more; more = walker.NextModule(processId, module)) {
    if (EqualsNoCase(module, path)) return true;
  }
  return false;
}

void CProcessEnumerator::FindProcessesByPath(const std::string& path, std::vector<uint32_t>& ids) {
  std::string fileName = FileNameOfPath(path);
  if (fileName.empty()) return;
  ProcessInfo info;
  for (bool more = FirstProcess(info); more; more = NextProcess(info)) {
    // Some facilities report bare file names, others full paths: the file
    // names are compared, and the module walk decides which path runs.
    if (!EqualsNoCase(FileNameOfPath(info.m_strName), fileName)) continue;
    if (ProcessHasModule(info.m_dwProcessId, path)) ids.push_back(info.m_dwProcessId);
  }
}

int CProcessEnumerator::TerminateProcessById(uint32_t processId, uint32_t exitCode) {
  return Sys().processes->EndProcess(processId, exitCode) ? 0 : -1;
}

std::string FileNameOfPath(const std::string& path) { return GetNamePart(path); }
