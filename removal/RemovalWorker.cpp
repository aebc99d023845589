#include "removal/RemovalWorker.h"

#include "app/Text.h"
#include "app/Utilities.h"
#include "records/InstallInfo.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/RegistryKey.h"
#include "system/UserInterface.h"

namespace {

enum : int {
  kTextInitData = 1004,
  kTextRemoveShellObj = 1005,
  kTextRemoveRegInfo = 1006,
  kTextUnregister = 1007,
  kTextRemove = 1008,
  kTextCleaningApplication = 1017,
  kTextStopService = 1018,
};

enum : uint32_t { kCodeComServer = 1, kCodeServiceExe = 2 };

}  // namespace

bool IsProgramFile(const std::string& path) { return !path.empty() && EqualsNoCase(GetFileExt(path), "exe"); }

bool IsServiceCode(uint32_t code) { return code > 0 && (code & kCodeServiceExe) != 0; }

CRemovalWorker::CRemovalWorker(CInstallInfo& info, IRemovalView& view, IRemovalSteps& steps)
    : m_pInfo(&info), m_pView(&view), m_pSteps(&steps) {}

void CRemovalWorker::SetStatus(const std::string& text) { m_pView->SetStatus(text); }

void CRemovalWorker::SetStatusText(int number, const std::string& argument) {
  SetStatus(FormatPattern(LoadText(number, m_pInfo), {argument}));
}

void CRemovalWorker::StepProgress(int n) {
  Sys().ui->PumpOneMessage();
  m_nPos += n;
  m_pView->SetProgressPos(m_nPos);
}

void CRemovalWorker::Run() {
  SetStatus(LoadText(kTextInitData, m_pInfo));
  Sys().ui->PumpOneMessage();
  FillLists();
  SetRange();
  StopServices();
  EndPrograms();
  StepProgress(1);
  UnregisterFiles();
  RemoveFiles();
  RemoveFolders();
  RemoveRegistryItems();
  RemoveShellObjects();
  m_pInfo->RemoveUninstallEntry();
  StepProgress(1);
  m_pInfo->CleanUpDescPath();
  StepProgress(1);
}

void CRemovalWorker::FillLists() {
  const CInstallRecord& record = m_pInfo->m_record;
  record.GetSelfRegisteredFiles(m_arrSelfReg, m_arrRegType);
  record.GetFilesToRemove(m_arrFiles);
  record.GetFolders(m_arrDirs);
  record.GetRegistryItemsToRemove(m_arrRegItems);
  record.GetShellObjects(m_arrShellObjs);
}

void CRemovalWorker::SetRange() {
  size_t programs = 0, services = 0;
  for (const std::string& file : m_arrFiles)
    if (IsProgramFile(file)) ++programs;
  for (uint32_t code : m_arrRegType)
    if (IsServiceCode(code)) ++services;
  size_t steps = programs + services + m_arrSelfReg.size() + m_arrFiles.size() + m_arrDirs.size() +
                 m_arrRegItems.size() + m_arrShellObjs.size() + 2;
  m_pView->SetProgressRange(static_cast<uint16_t>(steps & 0xFFFF));
}

void CRemovalWorker::StopServices() {
  for (size_t i = 0; i < m_arrSelfReg.size(); ++i) {
    if (!IsServiceCode(m_arrRegType[i])) continue;
    SetStatusText(kTextStopService, m_arrSelfReg[i]);
    m_pSteps->StopAndDeleteService(m_arrSelfReg[i]);
    StepProgress(1);
  }
}

void CRemovalWorker::EndPrograms() {
  m_pView->ShowRemoveLabel(true);
  for (const std::string& file : m_arrFiles) {
    if (!IsProgramFile(file)) continue;
    SetStatusText(kTextCleaningApplication, file);
    m_pSteps->EndProcesses(file);
    StepProgress(1);
  }
  m_pView->ShowRemoveLabel(false);
  SetStatus("");
}

void CRemovalWorker::UnregisterFiles() {
  for (size_t i = 0; i < m_arrSelfReg.size(); ++i) {
    uint32_t code = m_arrRegType[i];
    if (code == 0) continue;
    SetStatusText(kTextUnregister, m_arrSelfReg[i]);
    if (code & kCodeComServer)
      m_pSteps->UnregisterComServer(m_arrSelfReg[i]);
    else if (code & kCodeServiceExe)
      m_pSteps->UnregisterServiceExe(m_arrSelfReg[i]);
    StepProgress(1);
  }
}

void CRemovalWorker::RemoveFiles() {
  if (m_arrFiles.empty()) return;
  IFileSystem& fs = *Sys().files;
  m_pView->ShowRemoveLabel(true);
  for (const std::string& file : m_arrFiles) {
    if (!file.empty()) {
      SetStatusText(kTextRemove, file);
      if (!fs.RemoveFile(file)) {
        fs.SetAttributes(file, kAttrNormal);
        fs.RemoveFile(file);
      }
    }
    StepProgress(1);
  }
  m_pView->ShowRemoveLabel(false);
  SetStatus("");
}

void CRemovalWorker::RemoveFolders() {
  if (m_arrDirs.empty()) return;
  m_pView->ShowRemoveLabel(true);
  // Last to first: subfolders are recorded after their parents.
  for (auto it = m_arrDirs.rbegin(); it != m_arrDirs.rend(); ++it) {
    if (!it->empty()) {
      SetStatusText(kTextRemove, *it);
      if (IsFolderEmpty(*it)) Sys().files->RemoveFolder(*it);
    }
    StepProgress(1);
  }
  m_pView->ShowRemoveLabel(false);
  SetStatus("");
}

void CRemovalWorker::RemoveRegistryItems() {
  for (auto it = m_arrRegItems.rbegin(); it != m_arrRegItems.rend(); ++it) {
    SetStatus(LoadText(kTextRemoveRegInfo, m_pInfo));
    RemoveRegistryItem(*it);
    StepProgress(1);
  }
}

void CRemovalWorker::RemoveShellObjects() {
  for (auto it = m_arrShellObjs.rbegin(); it != m_arrShellObjs.rend(); ++it) {
    SetStatus(LoadText(kTextRemoveShellObj, m_pInfo));
    RemoveShellObj(*it, true);
    StepProgress(1);
  }
}
