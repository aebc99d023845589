// The restart page "SdUninstallReboot": a white wizard page that asks
// whether Windows restarts now, and records the answer.
#pragma once

#include <string>

#include "removal/BannerBitmap.h"
#include "removal/DialogBase.h"
#include "removal/TextLabel.h"
#include "removal/WizardPage.h"

class CInstallInfo;

class CSdUninstallRebootDlg : public CDialogBase {
 public:
  CSdUninstallRebootDlg();

  CInstallInfo* m_pInfo = nullptr;
  std::string m_strTitle;
  // The application's name for the "%s" of the text; set by the creator.
  std::string m_strAppName;
  int m_nState = kDialogStateCancel;
  CGdiBrush m_brWhite;
  CGdiFont m_font;
  CBannerStatic m_banner;   // 1003
  CTextLabel m_heading;     // 1004
  CTextLabel m_text;        // 2029

 protected:
  bool OnInitDialog() override;
  bool OnPaint() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
  void OnOK() override;
};
