// Message boxes and the message queue.
#pragma once

#include <string>

// Message box results and styles with the system's values.
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };
enum : unsigned { kMbOk = 0x0, kMbYesNo = 0x4, kMbIconQuestion = 0x20 };

class IUserInterface {
 public:
  virtual ~IUserInterface() = default;
  // A message box without owner window; returns the pressed button.
  virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
  // Takes at most one waiting message and dispatches it; false when none waited.
  virtual bool PumpOneMessage() = 0;
};
