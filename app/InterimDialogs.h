// Until the real progress dialog and finish page are there: the removal
// worker runs without a window, the services, processes and
// self-registration steps do nothing, and no finish page is shown.
#pragma once

#include "app/UninstallDialogs.h"

class CInterimDialogs : public IUninstallDialogs {
 public:
  bool RunProgressDialog(CInstallInfo& info) override;
  int RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo& info, bool error) override;
};
