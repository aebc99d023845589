// The latest texts of a dialog's static controls and the latest positions
// of its progress bars, pushed to the window at a bounded rate: a long run
// of changes costs a bounded number of repaints, and Flush always shows the
// final state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "removal/UpdatePacer.h"

class CPacedControlUpdates {
 public:
  explicit CPacedControlUpdates(uint32_t intervalMs = kDefaultUpdateIntervalMs) : m_pacer(intervalMs) {}
  virtual ~CPacedControlUpdates() = default;

  void Attach(HWND dialog) { m_hDialog = dialog; }
  // Keep the change; it reaches the control at the next turn of the pacer.
  void SetText(int id, const std::string& text);
  void SetProgressPos(int id, int position);
  // Pushes every pending change now.
  void Flush();
  // Pushes the pending changes when the pacer gives a turn (a timer's tick).
  void PushIfDue();

 private:
  struct CPending {
    int id = 0;
    bool bProgress = false;
    std::string strText;
    int nPos = 0;
    bool bDirty = false;
  };
  CPending& Slot(int id, bool progress);
  void Push(CPending& pending);

  HWND m_hDialog = nullptr;
  CUpdatePacer m_pacer;
  std::vector<CPending> m_arrPending;
};
