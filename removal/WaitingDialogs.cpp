#include "removal/WaitingDialogs.h"

#include "app/UninstallApp.h"
#include "app/Utilities.h"
#include "records/InstallInfo.h"
#include "removal/DialogLanguage.h"
#include "resources/resource.h"

CWaitingDlg::CWaitingDlg() : CDialogBase(IDD_WAITING) {}

bool CWaitingDlg::OnInitDialog() {
  CDialogBase::OnInitDialog();
  ApplyLanguageFont(*this, m_pInfo, m_font);
  if (!m_strPrompt.empty())
    SetItemText(IDC_MAIN_TEXT, m_strPrompt);
  else if (HasLanguage(m_pInfo))
    SetItemText(IDC_MAIN_TEXT, LoadText(1019, m_pInfo));
  CenterWindow();
  return true;
}

CBannerWaitingDlg::CBannerWaitingDlg() : CDialogBase(IDD_BANNER_WAITING) { BindControl(IDC_TOP_BANNER, &m_banner); }

bool CBannerWaitingDlg::OnInitDialog() {
  CDialogBase::OnInitDialog();
  ApplyLanguageFont(*this, m_pInfo, m_font);
  const std::string& topBar = TheApp().m_strTopBarPath;
  if (!topBar.empty()) m_banner.m_picture.LoadFromFile(topBar);
  SetItemText(IDC_MAIN_TEXT, m_strPrompt.empty() ? LoadText(1019, m_pInfo) : m_strPrompt);
  SetItemFromLanguage(*this, IDCANCEL, m_pInfo, "WizardButtons", "Cancel");
  return true;
}
