// The install-information object of one uninstall: the restart request, the
// install record and its path, the language file and the uninstall state,
// and the clean-up steps that belong to the installation as a whole.
#pragma once

#include <string>

#include "records/InstallRecord.h"
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

  // Reads m_strRecordPath into m_record, once per run.
  void LoadRecord();
  void SetCancelled() { m_nState = kStateCancelled; }

  // "[Comm]" keys read straight from the record file with the system's
  // private-profile rules (names in any letter case, at most 1023 bytes).
  std::string ReadDescPath() const;
  std::string ReadUninstallFolder() const;
  const std::string& GetAppName() const { return m_record.AppName(); }

  // Deletes the application's Add/Remove Programs key (the record's GUID);
  // true when the parent key could be opened.
  bool RemoveUninstallEntry();
  // Removes the empty folders of the "DescPath" tree.
  void CleanUpDescPath();
  // Removes every folder of the tree that holds no file, the folder itself
  // last; true when it is gone or the path is empty. Links count as content.
  static bool RemoveEmptyFolderTree(const std::string& path);

  // The descrambled "ms.dll" and "vs.dll" of the uninstall folder; empty
  // unless the record's "sfentype" is 2 and the file can be read.
  std::string ReadMainScriptFile() const;
  std::string ReadSecondScriptFile() const;
  // Appends the file's bytes, each combined with 0xB7 by exclusive or, to the
  // text; bytes that give 0 are dropped. False when it cannot be opened.
  static bool ReadScrambledFile(const std::string& path, std::string& text);

  int m_bReboot = 0;
  std::string m_strRecordPath;
  int m_bLoaded = 0;
  CInstallRecord m_record;
  CProfileDocument m_language;
  int m_nState = kStateContinue;
  std::string m_strCheckPath;

 private:
  std::string ReadCommKey(const std::string& key) const;
  std::string ReadScriptFile(const std::string& name) const;
};
