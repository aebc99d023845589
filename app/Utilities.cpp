#include "app/Utilities.h"

#include "app/Text.h"
#include "records/InstallInfo.h"
#include "records/ProfileDocument.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/Shell.h"

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::string DropTrailingBackslash(const std::string& path) {
  if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
  return path;
}

bool IsLink(uint32_t attributes) { return (attributes & kAttrReparsePoint) != 0; }

// Removes a link itself; what it points to stays untouched.
void RemoveLink(const std::string& path, uint32_t attributes) {
  IFileSystem& fs = *Sys().files;
  if (attributes & kAttrDirectory)
    fs.RemoveFolder(path);
  else
    fs.RemoveFile(path);
}

}  // namespace

std::string GetModuleDir() { return GetFolderPart(Sys().files->GetModuleFilePath()); }

std::string GetModuleName() { return GetNamePart(Sys().files->GetModuleFilePath()); }

std::string GetFolderPart(const std::string& path) {
  size_t pos = path.find_last_of('\\');
  if (pos == std::string::npos) return std::string();
  return path.substr(0, pos);
}

std::string GetNamePart(const std::string& path) {
  size_t pos = path.find_last_of('\\');
  if (pos == std::string::npos || pos == 0) return path;
  return path.substr(pos + 1);
}

std::string GetFileExt(const std::string& path) {
  size_t pos = path.find_last_of('.');
  if (pos == std::string::npos || pos == 0 || pos + 1 == path.size()) return std::string();
  return path.substr(pos + 1);
}

bool FileExists(const std::string& path) {
  for (const CFileEntry& match : Sys().files->FindFiles(path)) {
    if (IsDotEntry(match.name)) continue;
    if (!(match.attributes & kAttrDirectory)) return true;
  }
  return false;
}

bool IsFolderEmpty(const std::string& folder) {
  if (folder.empty()) return false;
  std::string dir = DropTrailingBackslash(folder);
  for (const CFileEntry& match : Sys().files->FindFiles(dir + "\\*.*"))
    if (!IsDotEntry(match.name)) return false;
  return true;
}

void DeleteFolderTree(const std::string& folder) {
  if (folder.empty()) return;
  std::string dir = DropTrailingBackslash(folder);
  IFileSystem& fs = *Sys().files;
  uint32_t attributes = 0;
  if (fs.GetAttributes(dir, attributes) && IsLink(attributes)) {
    RemoveLink(dir, attributes);
    return;
  }
  for (const CFileEntry& match : fs.FindFiles(dir + "\\*.*")) {
    if (IsDotEntry(match.name)) continue;
    std::string path = dir + "\\" + match.name;
    if (IsLink(match.attributes)) {
      RemoveLink(path, match.attributes);
    } else if (match.attributes & kAttrDirectory) {
      DeleteFolderTree(path);
    } else if (!fs.RemoveFile(path)) {
      fs.SetAttributes(path, kAttrNormal);
      fs.RemoveFile(path);
    }
  }
  fs.RemoveFolder(dir);
}

int RemoveShellObj(const std::string& entry, bool notify) {
  // A recorded path cannot hold a comma: the record already cut it there,
  // and so is the path here.
  std::string rest = entry;
  std::string type, path;
  if (!SplitAt(rest, type, ",")) return 0;
  if (!SplitAt(rest, path, ",")) return 0;
  if (EqualsNoCase(type, "Group")) {
    if (IsFolderEmpty(path)) DeleteFolderTree(path);
  } else if (EqualsNoCase(type, "Shortcut")) {
    Sys().files->RemoveFile(path);
  } else {
    return 0;
  }
  if (notify) {
    IShell& shell = *Sys().shell;
    shell.ChangeNotify(kShcneRmdir | kShcneDelete, kShcnfPathA | kShcnfFlush, path);
    // A path without any backslash has no parent folder to refresh.
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos)
      shell.ChangeNotify(kShcneUpdateDir | kShcneInterrupt, kShcnfPathA | kShcnfFlush, path.substr(0, slash));
  }
  return 1;
}

std::string LoadText(int number, const CInstallInfo* info) {
  if (info && info->m_language.IsLoaded()) {
    bool found = false;
    std::string text = info->m_language.GetStringByNumber("Strings", number, &found);
    if (found) return text;
  }
  return BuiltInText(number);
}

std::string MakeUninstallTitle(const CInstallInfo* info) {
  return FormatPattern(LoadText(1016, info), {info ? info->GetAppName() : std::string()});
}

bool RestartWindows() { return Sys().shell->RestartWindows(); }
