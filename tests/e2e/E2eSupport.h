// Helpers for the end-to-end tests: they run inside a fresh Wine prefix of
// their own (scripts/run-e2e.sh), lay out an installation with real files
// and registry keys, run the real UnInstall.exe with the dialog driver and
// look at what is left.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/driver/DialogDriver.h"

namespace e2e {

// The folder holding the test program and the files copied beside it.
std::string Here();
std::string TempFolder();  // the user's temporary folder, without trailing backslash

void MakeFolders(const std::string& path);
void WriteText(const std::string& path, const std::string& content);
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
// Deletes a folder tree the plain way (test set-up only).
void RemoveTree(const std::string& path);
// Copies UnInstall.exe from beside the test into folder under that name.
std::string PlaceProgram(const std::string& folder, const std::string& name = "UnInstall.exe");

// Writes a value (creating the key); reads it back; tests for key and value.
void SetRegString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
void SetRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool RegKeyExists(HKEY root, const std::string& key);
bool RegValueExists(HKEY root, const std::string& key, const std::string& name);
std::string RegString(HKEY root, const std::string& key, const std::string& name);
void DeleteRegTree(HKEY root, const std::string& key);

// Every file and folder below folder, as sorted paths relative to it; links
// to folders are listed but not entered.
std::vector<std::string> ListTree(const std::string& folder);
// The value names of a key, sorted; empty when it cannot be opened.
std::vector<std::string> RegValueNames(HKEY root, const std::string& key);

// A Win32 service of this prefix; false when it cannot be registered.
bool RegisterService(const std::string& name, const std::string& binaryPath);
// Starts it and waits until it reports running; its process id, or 0.
DWORD StartServiceAndWait(const std::string& name);
bool ServiceExists(const std::string& name);
// Waits until the service is gone from the manager; false on a time-out.
bool WaitUntilServiceGone(const std::string& name, DWORD timeoutMs);
bool IsProcessAlive(DWORD processId);

// A program started by a test; ended by the test at the latest.
class CStartedProgram {
 public:
  explicit CStartedProgram(const std::string& path);
  ~CStartedProgram();
  CStartedProgram(const CStartedProgram&) = delete;
  CStartedProgram& operator=(const CStartedProgram&) = delete;
  bool Started() const { return m_info.hProcess != nullptr; }
  bool Running() const;
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION m_info = {};
};

// Runs a command line under the driver with the rules ("match=>actions"),
// saving screenshots under shots\<shotTag>, and waits for the temporary
// copy to finish too. Fails the current test on a time-out.
struct CRunResult {
  std::vector<CDialogRecord> dialogs;
  DWORD exitCode = 0;
  bool finished = false;
  std::string log;
};
CRunResult RunProgram(const std::string& commandLine, const std::vector<std::pair<std::string, std::string>>& rules,
               const std::string& shotTag, DWORD timeoutMs = 120000);

}  // namespace e2e
