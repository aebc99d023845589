#include "system/Win32UserInterface.h"

#include <windows.h>

int CWin32UserInterface::ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

namespace {

// The dialog window that a keyboard message is meant for, or null.
HWND DialogOfKey(const MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return nullptr;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  char name[16] = {0};
  if (!root || !GetClassNameA(root, name, sizeof(name))) return nullptr;
  return lstrcmpA(name, "#32770") == 0 ? root : nullptr;
}

}  // namespace

bool CWin32UserInterface::PumpOneMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  // A key for a dialog gets the dialog's keyboard handling, as in its own
  // modal loop: Escape is its Cancel even while a handler of it runs.
  HWND dialog = DialogOfKey(msg);
  if (dialog && IsDialogMessageA(dialog, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}
