// The removal worker of the progress dialog: takes the work lists from the
// install record and undoes the installation in a fixed order, keeping the
// dialog informed through a small view interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CInstallInfo;

// What the worker shows: the status line, the progress bar and the
// "Remove:" label.
class IRemovalView {
 public:
  virtual ~IRemovalView() = default;
  virtual void SetStatus(const std::string& text) = 0;
  // The bar runs from 0 to high (a 16-bit number).
  virtual void SetProgressRange(uint16_t high) = 0;
  virtual void SetProgressPos(int pos) = 0;
  virtual void ShowRemoveLabel(bool show) = 0;
};

// The removal steps that reach other programs: services, running
// processes and self-registration. Results are not looked at.
class IRemovalSteps {
 public:
  virtual ~IRemovalSteps() = default;
  // Stops (when running) and deletes the Windows service whose program is the file.
  virtual void StopAndDeleteService(const std::string& path) = 0;
  // Ends every process that runs the file.
  virtual void EndProcesses(const std::string& path) = 0;
  // Unregisters a COM server by the method its file type calls for.
  virtual void UnregisterComServer(const std::string& path) = 0;
  // Runs a service program with " -unregserver".
  virtual void UnregisterServiceExe(const std::string& path) = 0;
};

class CRemovalWorker {
 public:
  CRemovalWorker(CInstallInfo& info, IRemovalView& view, IRemovalSteps& steps);
  virtual ~CRemovalWorker() = default;
  CRemovalWorker(const CRemovalWorker&) = delete;
  CRemovalWorker& operator=(const CRemovalWorker&) = delete;

  // Runs every removal step once, in order; the dialog ends with OK after it.
  void Run();

  int m_nPos = 0;
  std::vector<std::string> m_arrFiles;
  std::vector<uint32_t> m_arrRegType;
  std::vector<std::string> m_arrSelfReg;
  std::vector<std::string> m_arrDirs;
  std::vector<std::string> m_arrRegItems;
  std::vector<std::string> m_arrShellObjs;

 private:
  void SetStatus(const std::string& text);
  void SetStatusText(int number, const std::string& argument);
  // Lets one waiting message through and moves the bar on by n.
  void StepProgress(int n);

  void FillLists();
  void SetRange();
  void StopServices();
  void EndPrograms();
  void UnregisterFiles();
  void RemoveFiles();
  void RemoveFolders();
  void RemoveRegistryItems();
  void RemoveShellObjects();

  CInstallInfo* m_pInfo;
  IRemovalView* m_pView;
  IRemovalSteps* m_pSteps;
};

// A program file by its extension "exe" in any letter case.
bool IsProgramFile(const std::string& path);
// A self-registration code that marks a service program (bit value 2).
bool IsServiceCode(uint32_t code);
