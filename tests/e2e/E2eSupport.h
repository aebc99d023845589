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
