#include "system/Win32UserInterface.h"

#include <windows.h>

int CWin32UserInterface::ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

bool CWin32UserInterface::PumpOneMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}
