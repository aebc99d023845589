// The dialogs of the default uninstall on Windows: the progress dialog with
// the removal steps over the real system, then the finish page.
#pragma once

#include "app/UninstallDialogs.h"

class CWin32UninstallDialogs : public IUninstallDialogs {
 public:
  bool RunProgressDialog(CInstallInfo& info) override;
  int RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo& info, bool error) override;
};
