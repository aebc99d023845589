// What the finish and restart pages share: the white page above the etched
// line, and the fonts of their labels.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "removal/DialogBase.h"
#include "removal/TextLabel.h"

// The dialog states that the pages report.
enum : int {
  kDialogStateCancel = 3,
  kDialogStateFinish = 5,
};

// Paints white from the dialog's top-left to its right edge and down to the
// bottom edge of control bottomId.
void PaintWhitePage(HWND dialog, int bottomId);

// The heading gets the dialog window's own font made bold; every other label
// the font of its own control.
void SetLabelFonts(HWND dialog, CTextLabel& heading, std::initializer_list<CTextLabel*> others);
