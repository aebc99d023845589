#include "removal/UpdatePacer.h"

#include "system/Clock.h"
#include "system/Platform.h"

bool CUpdatePacer::TakeTurn() {
  uint32_t now = Sys().clock->TickCount();
  // Unsigned difference: correct across the tick counter's wrap.
  if (m_bStarted && now - m_nLastTurn < m_nIntervalMs) return false;
  m_bStarted = true;
  m_nLastTurn = now;
  return true;
}
