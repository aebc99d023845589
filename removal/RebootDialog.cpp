#include "removal/RebootDialog.h"

#include "app/Text.h"
#include "app/UninstallApp.h"
#include "records/InstallInfo.h"
#include "removal/DialogLanguage.h"
#include "resources/resource.h"

CSdUninstallRebootDlg::CSdUninstallRebootDlg() : CDialogBase(IDD_UNINSTALL_REBOOT) {
  BindControl(IDC_LEFT_BANNER, &m_banner);
  BindControl(IDC_HEADING, &m_heading);
  BindControl(IDC_MAIN_TEXT, &m_text);
}

bool CSdUninstallRebootDlg::OnInitDialog() {
  CDialogBase::OnInitDialog();
  ApplyLanguageFont(*this, m_pInfo, m_font);
  m_brWhite.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  SetLabelFonts(GetHwnd(), m_heading, {&m_text});

  SetTitle(m_strTitle);
  std::string pattern = HasLanguage(m_pInfo) ? m_pInfo->m_language.GetString("SdUnInstallReboot", "2029")
                                             : GetItemText(IDC_MAIN_TEXT);
  SetItemText(IDC_MAIN_TEXT, FormatPattern(pattern, {m_strAppName}));
  m_text.m_nFormat = DT_WORDBREAK;

  const std::string& leftBar = TheApp().m_strLeftBarPath;
  if (!leftBar.empty()) {
    ShowItem(IDC_LEFT_BANNER, true);
    m_banner.m_picture.LoadFromFile(leftBar);
  }
  SendMessageA(GetItem(IDC_REBOOT_YES), BM_SETCHECK, BST_CHECKED, 0);

  if (HasLanguage(m_pInfo)) {
    SetItemFromLanguage(*this, IDC_HEADING, m_pInfo, "SdUninstallReboot", "1004");
    SetItemFromLanguage(*this, IDC_REBOOT_YES, m_pInfo, "SdUninstallReboot", "2067");
    SetItemFromLanguage(*this, IDC_REBOOT_NO, m_pInfo, "SdUninstallReboot", "2068");
    SetItemFromLanguage(*this, IDC_BACK, m_pInfo, "WizardButtons", "Back");
    SetItemFromLanguage(*this, IDOK, m_pInfo, "WizardButtons", "Finish");
  }
  return true;
}

bool CSdUninstallRebootDlg::OnPaint() {
  PaintWhitePage(GetHwnd(), IDC_LEFT_BANNER);
  return true;
}

HBRUSH CSdUninstallRebootDlg::OnCtlColor(HDC dc, HWND control, UINT message) {
  HBRUSH brush = DefaultCtlColor(dc, control, message);
  int id = GetDlgCtrlID(control);
  if (id != IDC_REBOOT_YES && id != IDC_REBOOT_NO) return brush;
  SetBkColor(dc, RGB(255, 255, 255));
  return m_brWhite.Get();
}

void CSdUninstallRebootDlg::OnOK() {
  UpdateData(true);
  if (m_pInfo && SendMessageA(GetItem(IDC_REBOOT_YES), BM_GETCHECK, 0, 0) != 0) m_pInfo->m_bReboot = 1;
  m_nState = kDialogStateFinish;
  EndDialog(IDOK);
}
