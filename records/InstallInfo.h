// The install-information object of one uninstall: the restart request, the
// install record and its path, the language file and the uninstall state.
#pragma once

#include <string>

#include "records/ProfileDocument.h"

enum : int {
  kStateContinue = 4,   // further script events are raised, the folder is cleaned up
  kStateCancelled = 5,  // a script cancelled: no further events, no clean-up
};

class CInstallInfo {
 public:
  CInstallInfo() = default;
  virtual ~CInstallInfo() = default;
  CInstallInfo(const CInstallInfo&) = delete;
  CInstallInfo& operator=(const CInstallInfo&) = delete;

  void SetCancelled() { m_nState = kStateCancelled; }

  int m_bReboot = 0;
  std::string m_strRecordPath;
  int m_bLoaded = 0;
  CProfileDocument m_language;
  int m_nState = kStateContinue;
  std::string m_strCheckPath;
};
