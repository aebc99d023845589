#include "removal/DialogLanguage.h"

#include "records/InstallInfo.h"

bool HasLanguage(const CInstallInfo* info) { return info && info->m_language.IsLoaded(); }

void ApplyLanguageFont(CDialogBase& dialog, const CInstallInfo* info, CGdiFont& font) {
  if (!HasLanguage(info)) return;
  const CProfileDocument& language = info->m_language;
  std::string face = language.GetString("DialogFont", "FontName");
  int height = language.GetInt("DialogFont", "FontSize");
  font.Reset(CreateFontA(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, face.c_str()));
  dialog.SendFontToAllControls(font.Get());
}

void SetItemFromLanguage(CDialogBase& dialog, int id, const CInstallInfo* info, const std::string& section,
                         const std::string& key) {
  if (!HasLanguage(info)) return;
  dialog.SetItemText(id, info->m_language.GetString(section, key));
}
