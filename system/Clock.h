// Time for waits and time-outs.
#pragma once

#include <cstdint>

class IClock {
 public:
  virtual ~IClock() = default;
  virtual uint32_t TickCount() = 0;  // milliseconds, wraps like GetTickCount
  virtual void Sleep(uint32_t ms) = 0;
};
