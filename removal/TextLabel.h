// The label of the wizard pages: a static control that draws its own text
// with a font description of its own (the pages make their heading bold).
#pragma once

#include <windows.h>

#include <string>

#include "removal/DialogBase.h"

class CTextLabel : public CSubclassedControl {
 public:
  CTextLabel();

  // Takes the description of the font that window holds; false, and the
  // description stays, when the window has no font.
  bool TakeFontOf(HWND window);

  std::string m_strText;  // the control's text, read at each paint
  LOGFONTA m_logFont;
  UINT m_nFormat = DT_VCENTER | DT_SINGLELINE;

 protected:
  bool OnPaint() override;
};
