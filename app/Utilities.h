// Small file-system, shell, text and restart operations shared by the
// whole program. Paths are 8-bit strings with backslashes.
#pragma once

#include <string>

class CInstallInfo;

std::string GetModuleDir();
std::string GetModuleName();
std::string GetFolderPart(const std::string& path);
std::string GetNamePart(const std::string& path);
std::string GetFileExt(const std::string& path);
bool FileExists(const std::string& path);
bool IsFolderEmpty(const std::string& folder);
// Deletes a folder with everything in it. Links (junctions, symbolic links,
// mount points) are removed as links: their targets are never entered.
void DeleteFolderTree(const std::string& folder);
int RemoveShellObj(const std::string& entry, bool notify);
// A text by number: the language file's "Strings" section first, else the
// program's own string table; an unknown number gives an empty text.
std::string LoadText(int number, const CInstallInfo* info);
std::string MakeUninstallTitle(const CInstallInfo* info);
bool RestartWindows();

// The program's own text of that number, empty when it has none.
std::string BuiltInText(int number);
