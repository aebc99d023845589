// Unregistration of self-registered files before they are deleted: COM
// libraries through their "DllUnregisterServer" export, COM and service
// executables by running them with an unregistration switch. Each operation
// returns true only when the unregistration is known to have succeeded.
#pragma once

#include <cstdint>
#include <string>

// "RegType" bits of a self-registered file.
enum : uint32_t {
  kRegTypeComServer = 1,    // unregistered according to the file's type
  kRegTypeServiceExe = 2,   // an executable, possibly a service, run with " -unregserver"
};

// Time limits for the programs run.
constexpr uint32_t kComExeTimeoutMs = 2000;
constexpr uint32_t kServiceExeTimeoutMs = 3000;

// Picks the operation by the "RegType" bits: the COM-server bit first, else
// the service bit; false without doing anything for other codes.
bool UnregisterSelfRegisteredFile(const std::string& path, uint32_t regType);
// With the file's folder as the current folder, restored afterwards.
bool UnregisterComServer(const std::string& path);
bool UnregisterServiceExe(const std::string& path);
// By the extension ("dll", "ocx", "exe"), or by the file type in the version
// information when the path has no dot at all.
bool UnregisterByFileType(const std::string& path);
bool CallDllUnregisterServer(const std::string& path);
// Runs the program with the switch appended (the switch begins with a
// space) and waits at most timeoutMs; a program still running then is ended.
// True when it exited with a code that is not negative.
bool RunWithSwitch(const std::string& path, const std::string& switchText, uint32_t timeoutMs);
// The text before the last backslash; empty when there is none.
std::string FolderOfPath(const std::string& path);
