#include "removal/ProgressDialog.h"

#include "app/UninstallApp.h"
#include "records/InstallInfo.h"
#include "removal/DialogLanguage.h"
#include "resources/resource.h"
#include "system/Platform.h"
#include "system/UserInterface.h"

namespace {

// Shows what is pending when no further change comes for a while, for
// instance while a service stops.
constexpr UINT_PTR kUpdateTimer = 1;

}  // namespace

void CSdUnCopyFileDlg::CShowingSteps::StopAndDeleteService(const std::string& path) {
  m_dialog.m_updates.Flush();
  m_steps.StopAndDeleteService(path);
}

void CSdUnCopyFileDlg::CShowingSteps::EndProcesses(const std::string& path) {
  m_dialog.m_updates.Flush();
  m_steps.EndProcesses(path);
}

void CSdUnCopyFileDlg::CShowingSteps::UnregisterComServer(const std::string& path) {
  m_dialog.m_updates.Flush();
  m_steps.UnregisterComServer(path);
}

void CSdUnCopyFileDlg::CShowingSteps::UnregisterServiceExe(const std::string& path) {
  m_dialog.m_updates.Flush();
  m_steps.UnregisterServiceExe(path);
}

CSdUnCopyFileDlg::CSdUnCopyFileDlg(IRemovalSteps& steps)
    : CDialogBase(IDD_UNCOPYFILE), m_showingSteps(*this, steps) {
  BindText(IDC_MAIN_TEXT, &m_strLabel);
  BindText(IDC_STATUS, &m_strStatus);
  BindControl(IDC_TOP_BANNER, &m_banner);
}

bool CSdUnCopyFileDlg::OnInitDialog() {
  CDialogBase::OnInitDialog();
  m_progress.Attach(GetHwnd(), IDC_PROGRESS);
  m_updates.Attach(GetHwnd());
  ApplyLanguageFont(*this, m_pInfo, m_font);
  Sys().ui->PumpOneMessage();
  PostMessageA(GetHwnd(), WM_START_REMOVE, 0, 0);
  const std::string& topBar = TheApp().m_strTopBarPath;
  if (!topBar.empty()) m_banner.m_picture.LoadFromFile(topBar);
  if (HasLanguage(m_pInfo)) {
    SetItemFromLanguage(*this, IDC_MAIN_TEXT, m_pInfo, "SdUnCopyFile", "2029");
    SetItemFromLanguage(*this, IDC_REMOVE_LABEL, m_pInfo, "SdUnCopyFile", "1001");
    SetItemFromLanguage(*this, IDCANCEL, m_pInfo, "WizardButtons", "Cancel");
  }
  UpdateData(true);
  return true;
}

bool CSdUnCopyFileDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  if (message == WM_START_REMOVE) {
    result = OnStartRemove();
    return true;
  }
  if (message == WM_TIMER && wParam == kUpdateTimer) {
    m_updates.PushIfDue();
    result = 0;
    return true;
  }
  return false;
}

int CSdUnCopyFileDlg::OnStartRemove() {
  // Once per dialog, whoever else may post the message.
  if (m_pWorker) return 1;
  if (!m_pInfo) {
    EndDialog(IDCANCEL);
    return 1;
  }
  // The modal loop shows a new dialog only once its queue runs empty, which
  // the worker keeps it from doing: the window is shown before the run.
  ShowWindow(GetHwnd(), SW_SHOWNORMAL);
  UpdateWindow(GetHwnd());
  m_pWorker = std::make_unique<CRemovalWorker>(*m_pInfo, *this, m_showingSteps);
  SetTimer(GetHwnd(), kUpdateTimer, kDefaultUpdateIntervalMs, nullptr);
  m_pWorker->Run();
  KillTimer(GetHwnd(), kUpdateTimer);
  m_updates.Flush();
  OnOK();
  return 1;
}

void CSdUnCopyFileDlg::SetStatus(const std::string& text) {
  // Only the status line changes; the heading keeps its text.
  m_strStatus = text;
  m_updates.SetText(IDC_STATUS, text);
}

void CSdUnCopyFileDlg::SetProgressRange(uint16_t high) { m_progress.SetRange(high); }

void CSdUnCopyFileDlg::SetProgressPos(int pos) {
  m_nPos = pos;
  m_updates.SetProgressPos(IDC_PROGRESS, pos);
}

void CSdUnCopyFileDlg::ShowRemoveLabel(bool show) { ShowItem(IDC_REMOVE_LABEL, show); }
