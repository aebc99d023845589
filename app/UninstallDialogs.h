// The dialogs of the default uninstall, as the uninstall sequence sees them.
#pragma once

#include <string>

class CInstallInfo;

class IUninstallDialogs {
 public:
  virtual ~IUninstallDialogs() = default;
  // Shows the progress dialog modally; its worker runs every removal step.
  // True when it ended with OK.
  virtual bool RunProgressDialog(CInstallInfo& info) = 0;
  // Shows the finish page modally; returns the page's dialog state.
  virtual int RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo& info,
                            bool error) = 0;
};
