#include "removal/WizardPage.h"

void PaintWhitePage(HWND dialog, int bottomId) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  RECT client;
  GetClientRect(dialog, &client);
  RECT area = client;
  RECT bottom;
  if (HWND control = GetDlgItem(dialog, bottomId); control && GetWindowRect(control, &bottom)) {
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bottom), 2);
    area.bottom = bottom.bottom;
  }
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &area, white);
  DeleteObject(white);
  EndPaint(dialog, &paint);
}

void SetLabelFonts(HWND dialog, CTextLabel& heading, std::initializer_list<CTextLabel*> others) {
  if (heading.TakeFontOf(dialog)) heading.m_logFont.lfWeight = FW_BOLD;
  for (CTextLabel* label : others)
    if (label->GetHwnd()) label->TakeFontOf(label->GetHwnd());
}
