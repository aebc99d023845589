#pragma once

#include "system/Clock.h"

class CWin32Clock : public IClock {
 public:
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
};
