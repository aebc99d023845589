#include "system/SelfRegistration.h"

#include "app/Text.h"
#include "app/Utilities.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/ProgramApi.h"

namespace {

IProgramRunner& Runner() { return *Sys().programs; }

// The system adds ".dll" (loading) or ".exe" (starting) to a file name
// without extension; a trailing dot makes it take the name as it is.
std::string AsNamed(const std::string& path) {
  if (GetNamePart(path).find('.') != std::string::npos) return path;
  return path + ".";
}

// Paths of any length are passed on as they are: where the system cannot
// take one, its call fails and the result is false.
template <typename Operation>
bool InFolderOf(const std::string& path, Operation operation) {
  IFileSystem& files = *Sys().files;
  std::string saved = files.GetCurrentFolder();
  // A current folder that cannot be read could not be put back: keep it.
  bool moved = !saved.empty() && files.SetCurrentFolder(FolderOfPath(path));
  bool result = operation();
  if (moved) files.SetCurrentFolder(saved);
  return result;
}

}  // namespace

bool UnregisterSelfRegisteredFile(const std::string& path, uint32_t regType) {
  if (regType & kRegTypeComServer) return UnregisterComServer(path);
  if (regType & kRegTypeServiceExe) return UnregisterServiceExe(path);
  return false;
}

bool UnregisterComServer(const std::string& path) {
  return InFolderOf(path, [&] { return UnregisterByFileType(path); });
}

bool UnregisterServiceExe(const std::string& path) {
  return InFolderOf(path, [&] { return RunWithSwitch(path, " -unregserver", kServiceExeTimeoutMs); });
}

bool UnregisterByFileType(const std::string& path) {
  size_t dot = path.find_last_of('.');
  if (dot != std::string::npos) {
    // The text after the last dot of the whole path: with a dot only in a
    // folder name it holds a backslash and matches nothing.
    std::string extension = path.substr(dot + 1);
    if (EqualsNoCase(extension, "DLL") || EqualsNoCase(extension, "OCX")) return CallDllUnregisterServer(path);
    if (EqualsNoCase(extension, "EXE")) return RunWithSwitch(path, " /UNREGSERVER", kComExeTimeoutMs);
    return false;
  }
  uint32_t fileType = kVftUnknown;
  if (!Runner().ReadVersionFileType(path, fileType)) return false;
  if (fileType == kVftApp) return RunWithSwitch(path, " /UNREGSERVER", kComExeTimeoutMs);
  if (fileType == kVftDll) return CallDllUnregisterServer(path);
  return false;
}

bool CallDllUnregisterServer(const std::string& path) {
  if (path.empty()) return false;
  bool comReady = Runner().BeginCom();
  bool result = false;
  LibraryHandle library = Runner().LoadLibraryByPath(AsNamed(path));
  if (library) {
    int32_t hresult = -1;
    result = Runner().CallHresultExport(library, "DllUnregisterServer", hresult) && hresult >= 0;
    Runner().FreeLibraryHandle(library);
  }
  if (comReady) Runner().EndCom();
  return result;
}

bool RunWithSwitch(const std::string& path, const std::string& switchText, uint32_t timeoutMs) {
  if (path.empty()) return false;
  // Quoted, so that a path with blanks cannot start another program such
  // as C:\Program.exe.
  std::string commandLine = "\"" + AsNamed(path) + "\"" + switchText;
  CStartedProgram program;
  if (!Runner().StartProgram(commandLine, program)) return false;
  bool result = false;
  if (!Runner().WaitForProgram(program, timeoutMs)) {
    Runner().EndProgram(program, 0);
  } else {
    uint32_t exitCode = 0;
    result = Runner().GetProgramExitCode(program, exitCode) && static_cast<int32_t>(exitCode) >= 0;
  }
  Runner().CloseProgram(program);
  return result;
}

std::string FolderOfPath(const std::string& path) { return GetFolderPart(path); }
