// The finish page "SdUnInstallFinish": a white wizard page with the banner
// on the left, a bold heading, the result line and the result text.
#pragma once

#include <string>

#include "removal/BannerBitmap.h"
#include "removal/DialogBase.h"
#include "removal/TextLabel.h"
#include "removal/WizardPage.h"

class CInstallInfo;

class CSdUnInstallFinishDlg : public CDialogBase {
 public:
  CSdUnInstallFinishDlg();

  // "Finish" after Finish, "Cancel" until then (Escape and the close box
  // leave it so), like the restart page.
  int m_nState = kDialogStateCancel;
  std::string m_strTitle;
  std::string m_strAppName;
  int m_bError = 0;
  HICON m_hIcon = nullptr;
  CInstallInfo* m_pInfo = nullptr;
  CGdiFont m_font;
  CTextLabel m_heading;      // 1004
  CTextLabel m_resultLine;   // 1005
  CTextLabel m_resultText;   // 2029
  CBannerStatic m_banner;    // 1003

 protected:
  bool OnInitDialog() override;
  bool OnPaint() override;
  void OnOK() override;
};
