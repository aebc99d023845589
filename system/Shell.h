// The Windows shell and the session: change notifications, starting
// documents and programs, well-known folders, COM, restarting Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Shell change events and flags with the system's values.
constexpr int32_t kShcneDelete = 0x4;
constexpr int32_t kShcneRmdir = 0x10;
constexpr int32_t kShcneUpdateDir = 0x1000;
constexpr int32_t kShcneInterrupt = INT32_MIN;  // 0x80000000
enum : unsigned { kShcnfPathA = 0x1, kShcnfFlush = 0x1000 };
enum : int { kSwShow = 5, kSwShowNormal = 1 };

class IShell {
 public:
  virtual ~IShell() = default;
  virtual void ChangeNotify(int32_t events, unsigned flags, const std::string& path) = 0;
  // ShellExecute without owner window; true when the system started it.
  virtual bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& folder, int show) = 0;
  // Enables the shutdown privilege and asks Windows to restart at once.
  virtual bool RestartWindows() = 0;
  // Folders of the system and the user that no uninstall may delete as a
  // whole: the Windows and system folders, Program Files, the profile roots,
  // the user's shell folders and the temporary folder. Without trailing
  // backslashes.
  virtual std::vector<std::string> WellKnownFolders() = 0;
  // A new GUID in the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
  // (CoCreateGuid, StringFromGUID2); empty when none can be made.
  virtual std::string NewGuidString() = 0;
  // COM for the program's one thread (CoInitialize); never uninitialised.
  virtual void InitializeCom() = 0;
};
