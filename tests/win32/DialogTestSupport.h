// Helpers for tests that drive the program's dialogs through their real
// windows: bitmap files, running steps while a modal dialog is shown, and
// reading pixels and fonts back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "removal/DialogBase.h"

// Writes a 24-bit bitmap file whose pixel (x, y) has colour(x, y).
inline void WriteBitmapFile(const std::string& path, int width, int height,
                            const std::function<COLORREF(int, int)>& colour) {
  int rowSize = (width * 3 + 3) & ~3;
  std::string data(static_cast<size_t>(rowSize) * height, '\0');
  for (int y = 0; y < height; ++y) {
    // Rows are stored from the bottom up, pixels as blue, green, red.
    char* row = &data[static_cast<size_t>(height - 1 - y) * rowSize];
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      row[x * 3] = static_cast<char>(GetBValue(c));
      row[x * 3 + 1] = static_cast<char>(GetGValue(c));
      row[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(data.size());
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(data.size());
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &info, sizeof(info), &written, nullptr);
  WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(out);
}

inline void WriteSolidBitmapFile(const std::string& path, int width, int height, COLORREF colour) {
  WriteBitmapFile(path, width, height, [colour](int, int) { return colour; });
}

// Result of a modal dialog that the steps did not end in time.
constexpr INT_PTR kNotEndedByTest = -2;

// Shows dialog modally and runs whileShown once the window is visible,
// from a timer inside the dialog's own modal loop. A dialog still open
// after a few seconds is ended with kNotEndedByTest.
class CModalRun {
 public:
  static INT_PTR Run(CDialogBase& dialog, std::function<void(CDialogBase&)> whileShown) {
    CModalRun run(dialog, std::move(whileShown));
    s_pCurrent = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &CModalRun::OnTimer);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    s_pCurrent = nullptr;
    return result;
  }

 private:
  CModalRun(CDialogBase& dialog, std::function<void(CDialogBase&)> step)
      : m_pDialog(&dialog), m_step(std::move(step)), m_nStarted(GetTickCount()) {}

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    CModalRun* run = s_pCurrent;
    if (!run) return;
    HWND hwnd = run->m_pDialog->GetHwnd();
    if (!hwnd) return;
    if (!run->m_bDone && IsWindowVisible(hwnd)) {
      run->m_bDone = true;
      RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      run->m_step(*run->m_pDialog);
    } else if (GetTickCount() - run->m_nStarted > 5000) {
      EndDialog(hwnd, kNotEndedByTest);
    }
  }

  static inline CModalRun* s_pCurrent = nullptr;
  CDialogBase* m_pDialog;
  std::function<void(CDialogBase&)> m_step;
  DWORD m_nStarted;
  bool m_bDone = false;
};

inline INT_PTR RunModal(CDialogBase& dialog, std::function<void(CDialogBase&)> whileShown) {
  return CModalRun::Run(dialog, std::move(whileShown));
}

// What a user does to end a dialog.
inline void ClickButton(CDialogBase& dialog, int id) {
  PostMessageA(dialog.GetHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(dialog.GetItem(id)));
}
inline void PressEscape(CDialogBase& dialog) {
  // Sent to the control with the focus, as the keyboard would; the modal
  // loop turns it into the dialog's Cancel.
  HWND focus = GetFocus();
  PostMessageA(focus ? focus : dialog.GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
}
inline void PressCloseBox(CDialogBase& dialog) { PostMessageA(dialog.GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }

// Lets the waiting messages of the thread through (painting of modeless windows).
inline void DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The colour painted at (x, y) of window, in its client coordinates.
inline COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

// The description of the font that window holds; false when it has none.
inline bool WindowFont(HWND window, LOGFONTA& description) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  return font && GetObjectA(font, sizeof(description), &description) != 0;
}

inline bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

inline std::string WindowTitle(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}
