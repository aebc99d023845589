#include "removal/FinishDialog.h"

#include "app/Text.h"
#include "app/UninstallApp.h"
#include "app/Utilities.h"
#include "records/InstallInfo.h"
#include "removal/DialogLanguage.h"
#include "resources/resource.h"

CSdUnInstallFinishDlg::CSdUnInstallFinishDlg() : CDialogBase(IDD_UNINSTALL_FINISH) {
  m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_UNINSTALL));
  BindControl(IDC_HEADING, &m_heading);
  BindControl(IDC_RESULT_LINE, &m_resultLine);
  BindControl(IDC_MAIN_TEXT, &m_resultText);
  BindControl(IDC_LEFT_BANNER, &m_banner);
}

bool CSdUnInstallFinishDlg::OnInitDialog() {
  CDialogBase::OnInitDialog();
  ApplyLanguageFont(*this, m_pInfo, m_font);
  SetLabelFonts(GetHwnd(), m_heading, {&m_resultLine, &m_resultText});

  SetTitle(m_strTitle);
  SetItemText(IDC_RESULT_LINE, LoadText(m_bError ? 1009 : 1010, m_pInfo));
  SetItemText(IDC_MAIN_TEXT, FormatPattern(LoadText(m_bError ? 1011 : 1012, m_pInfo), {m_strAppName}));
  SendMessageA(GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  ShowItem(IDC_LEFT_BANNER, true);
  const std::string& leftBar = TheApp().m_strLeftBarPath;
  if (!leftBar.empty())
    m_banner.m_picture.LoadFromFile(leftBar);
  else
    m_banner.m_picture.LoadFromResource(IDB_LEFT_BANNER);

  if (HasLanguage(m_pInfo)) {
    SetItemFromLanguage(*this, IDC_HEADING, m_pInfo, "SdUnInstallFinish", "1004");
    SetItemFromLanguage(*this, IDC_RESULT_LINE, m_pInfo, "SdUnInstallFinish", "1005");
    SetItemFromLanguage(*this, IDC_BACK, m_pInfo, "WizardButtons", "Back");
    SetItemFromLanguage(*this, IDOK, m_pInfo, "WizardButtons", "Finish");
  }
  return true;
}

bool CSdUnInstallFinishDlg::OnPaint() {
  PaintWhitePage(GetHwnd(), IDC_LEFT_BANNER);
  return true;
}

void CSdUnInstallFinishDlg::OnOK() {
  m_nState = kDialogStateFinish;
  CDialogBase::OnOK();
}
