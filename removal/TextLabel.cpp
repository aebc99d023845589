#include "removal/TextLabel.h"

#include <cstring>

CTextLabel::CTextLabel() {
  std::memset(&m_logFont, 0, sizeof(m_logFont));
  m_logFont.lfHeight = 12;
  m_logFont.lfWeight = FW_NORMAL;
  m_logFont.lfCharSet = DEFAULT_CHARSET;
  m_logFont.lfOutPrecision = OUT_STROKE_PRECIS;
  m_logFont.lfClipPrecision = CLIP_STROKE_PRECIS;
  m_logFont.lfQuality = DRAFT_QUALITY;
  m_logFont.lfPitchAndFamily = VARIABLE_PITCH;
  // The face name SimSun in code page 936, as the pages have always named it.
  const unsigned char face[] = {0xCB, 0xCE, 0xCC, 0xE5, 0};
  std::memcpy(m_logFont.lfFaceName, face, sizeof(face));
}

bool CTextLabel::TakeFontOf(HWND window) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  LOGFONTA description;
  if (!font || GetObjectA(font, sizeof(description), &description) == 0) return false;
  m_logFont = description;
  return true;
}

bool CTextLabel::OnPaint() {
  HWND hwnd = GetHwnd();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT rect;
  GetClientRect(hwnd, &rect);
  HFONT font = CreateFontIndirectA(&m_logFont);
  HGDIOBJ old = SelectObject(dc, font);
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  int copied = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  m_strText = text;
  DrawTextA(dc, m_strText.c_str(), static_cast<int>(m_strText.size()), &rect, m_nFormat);
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(hwnd, &paint);
  return true;
}
