#include "app/FolderCleanup.h"

#include "app/Text.h"
#include "app/Utilities.h"
#include "system/Clock.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/Shell.h"

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasForbiddenCharacter(const std::string& part) {
  for (char c : part) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '*' || c == '?' || c == ':' || c == '"' || c == '<' || c == '>' || c == '|') return true;
  }
  return false;
}

bool FolderExists(const std::string& folder) {
  uint32_t attributes = 0;
  return Sys().files->GetAttributes(folder, attributes) && (attributes & kAttrDirectory);
}

}  // namespace

std::string NormalizeCleanupFolder(const std::string& argument) {
  std::string text = TrimWhitespace(argument);
  // The C runtime reads "C:\App\" as C:\App" (an escaped quote): take the
  // quote for what it was meant to be.
  while (!text.empty() && text.back() == '"') text.pop_back();
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.size() < 3 || !IsDriveLetter(text[0]) || text[1] != ':' || text[2] != '\\') return std::string();

  std::string folder = text.substr(0, 2);
  std::string rest = text.substr(3);
  size_t parts = 0;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;  // doubled or trailing backslashes
    if (part == "." || part == ".." || HasForbiddenCharacter(part)) return std::string();
    // Names ending in a dot or blank are silently renamed by the system.
    if (part.back() == '.' || part.back() == ' ') return std::string();
    folder += "\\" + part;
    ++parts;
  }
  if (parts == 0) return std::string();
  return folder;
}

bool IsOutsideProtectedFolders(const std::string& folder, const std::vector<std::string>& protectedFolders) {
  std::string prefix = folder + "\\";
  for (const std::string& raw : protectedFolders) {
    std::string guarded = raw;
    while (guarded.size() > 3 && guarded.back() == '\\') guarded.pop_back();
    if (EqualsNoCase(guarded, folder)) return false;
    if (guarded.size() > prefix.size() && EqualsNoCase(guarded.substr(0, prefix.size()), prefix)) return false;
  }
  return true;
}

bool CleanUpUninstallFolder(const std::string& argument, unsigned timeoutMs) {
  std::string folder = NormalizeCleanupFolder(argument);
  if (folder.empty()) return false;
  if (!Sys().files->IsOnLocalDrive(folder)) return false;
  if (!IsOutsideProtectedFolders(folder, Sys().shell->WellKnownFolders())) return false;
  if (!FolderExists(folder)) return true;

  IClock& clock = *Sys().clock;
  uint32_t start = clock.TickCount();
  for (;;) {
    DeleteFolderTree(folder);
    if (!FolderExists(folder)) return true;
    // The uninstaller that started us may still hold its own program file.
    if (clock.TickCount() - start >= timeoutMs) return false;
    clock.Sleep(kCleanupRetryMs);
  }
}
