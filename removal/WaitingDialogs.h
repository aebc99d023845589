// The two waiting windows a script shows while it works: the small one and
// the one with a banner. Both are modeless; their creator owns them.
#pragma once

#include <string>

#include "removal/BannerBitmap.h"
#include "removal/DialogBase.h"

class CInstallInfo;

class CWaitingDlg : public CDialogBase {
 public:
  CWaitingDlg();

  CInstallInfo* m_pInfo = nullptr;
  CGdiFont m_font;
  std::string m_strPrompt;

 protected:
  bool OnInitDialog() override;
};

class CBannerWaitingDlg : public CDialogBase {
 public:
  CBannerWaitingDlg();

  std::string m_strPrompt;
  CBannerStatic m_banner;  // 2004
  CInstallInfo* m_pInfo = nullptr;
  CGdiFont m_font;

 protected:
  bool OnInitDialog() override;
};
