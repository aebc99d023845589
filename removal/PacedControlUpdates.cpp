#include "removal/PacedControlUpdates.h"

#include <commctrl.h>

CPacedControlUpdates::CPending& CPacedControlUpdates::Slot(int id, bool progress) {
  for (CPending& pending : m_arrPending)
    if (pending.id == id && pending.bProgress == progress) return pending;
  m_arrPending.emplace_back();
  m_arrPending.back().id = id;
  m_arrPending.back().bProgress = progress;
  return m_arrPending.back();
}

void CPacedControlUpdates::SetText(int id, const std::string& text) {
  CPending& pending = Slot(id, false);
  pending.strText = text;
  pending.bDirty = true;
  PushIfDue();
}

void CPacedControlUpdates::SetProgressPos(int id, int position) {
  CPending& pending = Slot(id, true);
  pending.nPos = position;
  pending.bDirty = true;
  PushIfDue();
}

void CPacedControlUpdates::Flush() {
  for (CPending& pending : m_arrPending) Push(pending);
  // After a flush the next change shows at once.
  m_pacer.Reset();
}

void CPacedControlUpdates::PushIfDue() {
  // A turn with nothing to show is not taken: the next change may use it.
  bool pending = false;
  for (const CPending& slot : m_arrPending) pending = pending || slot.bDirty;
  if (!pending || !m_pacer.TakeTurn()) return;
  for (CPending& pending : m_arrPending) Push(pending);
}

void CPacedControlUpdates::Push(CPending& pending) {
  if (!pending.bDirty) return;
  pending.bDirty = false;
  HWND control = GetDlgItem(m_hDialog, pending.id);
  if (!control) return;
  if (pending.bProgress)
    SendMessageA(control, PBM_SETPOS, static_cast<WPARAM>(pending.nPos), 0);
  else
    SetWindowTextA(control, pending.strText.c_str());
}
