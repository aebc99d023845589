// What the dialogs take from the language file: the dialog font of section
// "DialogFont" and control texts by key.
#pragma once

#include <string>

#include "removal/DialogBase.h"

class CInstallInfo;

// True when info is given and its language file was loaded.
bool HasLanguage(const CInstallInfo* info);

// With a loaded language file: makes the font of section "DialogFont" (face
// "FontName", height "FontSize"; a missing key leaves the choice to Windows),
// keeps it in font and sends it to every control of the dialog. Without
// one nothing changes.
void ApplyLanguageFont(CDialogBase& dialog, const CInstallInfo* info, CGdiFont& font);

// With a loaded language file: sets control id to key of section; a
// missing key sets an empty text.
void SetItemFromLanguage(CDialogBase& dialog, int id, const CInstallInfo* info, const std::string& section,
                         const std::string& key);
