#include "records/InstallInfo.h"

#include <memory>
#include <vector>

#include "app/FolderCleanup.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/RegistryKey.h"
#include "system/Shell.h"

namespace {

// The private-profile reads use a buffer of 1024 bytes.
constexpr size_t kCommValueBuffer = 1024;
constexpr unsigned char kScrambleKey = 0xB7;
constexpr size_t kReadChunk = 64 * 1024;
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

void CInstallInfo::LoadRecord() {
  if (m_bLoaded) return;
  m_bLoaded = 1;
  m_record.Load(m_strRecordPath);
}

std::string CInstallInfo::ReadCommKey(const std::string& key) const {
  return Sys().files->ReadProfileString(m_strRecordPath, "Comm", key, "", kCommValueBuffer);
}

std::string CInstallInfo::ReadDescPath() const { return ReadCommKey("DescPath"); }

std::string CInstallInfo::ReadUninstallFolder() const { return ReadCommKey("UnInstallFolder"); }

bool CInstallInfo::RemoveUninstallEntry() {
  CRegistryKey key;
  if (!key.Open(kHkeyLocalMachine, kUninstallKey, kKeyRead | kKeyWrite)) return false;
  const std::string& guid = m_record.GUID();
  // An entry is one key directly below the Uninstall key: a name with a
  // backslash would reach into another application's entry.
  if (!guid.empty() && guid.find('\\') == std::string::npos) key.DeleteKey(guid);
  key.Close();
  return true;
}

void CInstallInfo::CleanUpDescPath() {
  std::string path = ReadDescPath();
  if (path.empty()) return;
  // The walk removes every empty folder below the path: a drive root, a
  // relative path or a folder of the system or the profile would take far
  // more than the application's own folders.
  std::string folder = NormalizeCleanupFolder(path);
  if (folder.empty() || !IsOutsideProtectedFolders(folder, Sys().shell->WellKnownFolders())) return;
  RemoveEmptyFolderTree(folder);
}

bool CInstallInfo::RemoveEmptyFolderTree(const std::string& path) {
  if (path.empty()) return true;
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  IFileSystem& fs = *Sys().files;
  uint32_t attributes = 0;
  // A link is never entered: what it points to lies outside the tree.
  if (fs.GetAttributes(folder, attributes) && (attributes & kAttrReparsePoint)) return false;
  bool empty = true;
  for (const CFileEntry& entry : fs.FindFiles(folder + "\\*.*")) {
    if (IsDotEntry(entry.name)) continue;
    bool isPlainFolder = (entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint);
    if (!isPlainFolder || !RemoveEmptyFolderTree(folder + "\\" + entry.name)) empty = false;
  }
  if (!empty) return false;
  return fs.RemoveFolder(folder);
}

std::string CInstallInfo::ReadScriptFile(const std::string& name) const {
  if (m_record.sfentype() != 2) return std::string();
  std::string text;
  ReadScrambledFile(m_record.UnInstallFolder() + "\\" + name, text);
  return text;
}

std::string CInstallInfo::ReadMainScriptFile() const { return ReadScriptFile("ms.dll"); }

std::string CInstallInfo::ReadSecondScriptFile() const { return ReadScriptFile("vs.dll"); }

bool CInstallInfo::ReadScrambledFile(const std::string& path, std::string& text) {
  std::unique_ptr<IReadStream> file = Sys().files->OpenForReading(path);
  if (!file) return false;
  std::vector<char> buffer(kReadChunk);
  size_t got = 0;
  while ((got = file->Read(buffer.data(), buffer.size())) > 0) {
    for (size_t i = 0; i < got; ++i) {
      char plain = static_cast<char>(static_cast<unsigned char>(buffer[i]) ^ kScrambleKey);
      if (plain != '\0') text += plain;
    }
  }
  return true;
}
