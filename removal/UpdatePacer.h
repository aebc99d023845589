// Decides when a window may be refreshed during a long run of small
// changes: at most once per interval, so that the number of repaints stays
// bounded whatever the number of changes.
#pragma once

#include <cstdint>

// The default interval: fast enough to look live, rare enough that
// repainting costs little next to the work itself.
constexpr uint32_t kDefaultUpdateIntervalMs = 40;

class CUpdatePacer {
 public:
  explicit CUpdatePacer(uint32_t intervalMs = kDefaultUpdateIntervalMs) : m_nIntervalMs(intervalMs) {}
  virtual ~CUpdatePacer() = default;

  // True when the interval has passed since the last turn (the first call
  // always gets one); the turn is then taken. Uses Sys().clock.
  bool TakeTurn();
  // The next call gets a turn at once.
  void Reset() { m_bStarted = false; }

 private:
  uint32_t m_nIntervalMs;
  bool m_bStarted = false;
  uint32_t m_nLastTurn = 0;
};
