// The progress dialog "SdUnCopyFile": once it has opened it runs the removal
// worker with itself as the worker's view, and ends with OK when the worker
// is done. Cancel, Escape and the close box only hide it: removal cannot be
// stopped half way, and the worker's final OK decides the result.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "removal/BannerBitmap.h"
#include "removal/DialogBase.h"
#include "removal/PacedControlUpdates.h"
#include "removal/RemovalWorker.h"

class CInstallInfo;

// The dialog's private message whose handler is the worker.
constexpr UINT WM_START_REMOVE = 7633;

class CSdUnCopyFileDlg : public CDialogBase, public IRemovalView {
 public:
  // steps: the removal steps that reach other programs; borrowed.
  explicit CSdUnCopyFileDlg(IRemovalSteps& steps);

  // The worker, run once when WM_START_REMOVE arrives; returns 1.
  int OnStartRemove();

  // The status line and the bar reach the window at a bounded rate: the
  // latest text and position at most once per pacing interval, before every
  // step that reaches another program, and at the end.
  void SetStatus(const std::string& text) override;
  void SetProgressRange(uint16_t high) override;
  void SetProgressPos(int pos) override;
  void ShowRemoveLabel(bool show) override;

  // The state the script function "DoDialog" reports; never changes.
  int m_nState = 0;
  int m_nPos = 0;
  CInstallInfo* m_pInfo = nullptr;
  // The worker of the run with its work lists; made when the run starts.
  std::unique_ptr<CRemovalWorker> m_pWorker;
  CGdiFont m_font;
  std::string m_strLabel;   // 2029
  std::string m_strStatus;  // 2002
  CProgressBar m_progress;  // 2003
  CBannerStatic m_banner;   // 2004

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  // Shows the latest status and position first: a step that reaches
  // another program may take seconds.
  class CShowingSteps : public IRemovalSteps {
   public:
    CShowingSteps(CSdUnCopyFileDlg& dialog, IRemovalSteps& steps) : m_dialog(dialog), m_steps(steps) {}
    void StopAndDeleteService(const std::string& path) override;
    void EndProcesses(const std::string& path) override;
    void UnregisterComServer(const std::string& path) override;
    void UnregisterServiceExe(const std::string& path) override;

   private:
    CSdUnCopyFileDlg& m_dialog;
    IRemovalSteps& m_steps;
  };

  CShowingSteps m_showingSteps;
  CPacedControlUpdates m_updates;
};
