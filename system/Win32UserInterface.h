#pragma once

#include "system/UserInterface.h"

class CWin32UserInterface : public IUserInterface {
 public:
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
  bool PumpOneMessage() override;
};
