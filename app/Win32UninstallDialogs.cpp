#include "app/Win32UninstallDialogs.h"

#include "removal/FinishDialog.h"
#include "removal/ProgressDialog.h"
#include "removal/SystemRemovalSteps.h"

bool CWin32UninstallDialogs::RunProgressDialog(CInstallInfo& info) {
  CSystemRemovalSteps steps;
  CSdUnCopyFileDlg dialog(steps);
  dialog.m_pInfo = &info;
  return dialog.DoModal() == IDOK;
}

int CWin32UninstallDialogs::RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo& info,
                                          bool error) {
  CSdUnInstallFinishDlg page;
  page.m_strTitle = title;
  page.m_strAppName = appName;
  page.m_pInfo = &info;
  page.m_bError = error ? 1 : 0;
  page.DoModal();
  return page.m_nState;
}
