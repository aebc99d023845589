#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {

std::string Here() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of('\\'));
}

std::string TempFolder() {
  char path[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, path);
  std::string p(path, n);
  while (!p.empty() && p.back() == '\\') p.pop_back();
  return p;
}

void MakeFolders(const std::string& path) {
  for (size_t pos = path.find('\\', 3); ; pos = path.find('\\', pos + 1)) {
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    if (pos == std::string::npos) break;
  }
}

void WriteText(const std::string& path, const std::string& content) {
  MakeFolders(path.substr(0, path.find_last_of('\\')));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ReadText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

std::string PlaceProgram(const std::string& folder, const std::string& name) {
  MakeFolders(folder);
  std::string target = folder + "\\" + name;
  EXPECT_TRUE(CopyFileA((Here() + "\\UnInstall.exe").c_str(), target.c_str(), FALSE)) << target;
  return target;
}

void SetRegString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, key.c_str(), &h), ERROR_SUCCESS) << key;
  RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
}

void SetRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, key.c_str(), &h), ERROR_SUCCESS) << key;
  RegSetValueExA(h, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  RegCloseKey(h);
}

bool RegKeyExists(HKEY root, const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

bool RegValueExists(HKEY root, const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  bool found = RegQueryValueExA(h, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(h);
  return found;
}

std::string RegString(HKEY root, const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return std::string();
  char buffer[1024] = {0};
  DWORD size = sizeof(buffer) - 1;
  RegQueryValueExA(h, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(h);
  return buffer;
}

void DeleteRegTree(HKEY root, const std::string& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
  char name[256];
  for (;;) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(h, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteRegTree(h, name);
  }
  RegCloseKey(h);
  RegDeleteKeyA(root, key.c_str());
}

namespace {

void AddTree(const std::string& folder, const std::string& prefix, std::vector<std::string>& paths) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    paths.push_back(prefix + name);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      AddTree(folder + "\\" + name, prefix + name + "\\", paths);
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

std::vector<std::string> ListTree(const std::string& folder) {
  std::vector<std::string> paths;
  AddTree(folder, "", paths);
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& key) {
  std::vector<std::string> names;
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof(name);
    if (RegEnumValueA(h, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  RegCloseKey(h);
  std::sort(names.begin(), names.end());
  return names;
}

bool RegisterService(const std::string& name, const std::string& binaryPath) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                     binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

DWORD StartServiceAndWait(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager ? OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS) : nullptr;
  DWORD processId = 0;
  if (service && StartServiceA(service, 0, nullptr)) {
    for (int i = 0; i < 150; ++i) {
      SERVICE_STATUS_PROCESS status = {};
      DWORD needed = 0;
      if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof(status),
                               &needed) &&
          status.dwCurrentState == SERVICE_RUNNING) {
        processId = status.dwProcessId;
        break;
      }
      Sleep(100);
    }
  }
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return processId;
}

bool ServiceExists(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return false;
  SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return service != nullptr;
}

bool WaitUntilServiceGone(const std::string& name, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (ServiceExists(name)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

bool IsProcessAlive(DWORD processId) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

CStartedProgram::CStartedProgram(const std::string& path) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::string line = "\"" + path + "\"";
  CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
}

CStartedProgram::~CStartedProgram() {
  if (!m_info.hProcess) return;
  if (Running()) TerminateProcess(m_info.hProcess, 1);
  WaitForSingleObject(m_info.hProcess, 5000);
  CloseHandle(m_info.hThread);
  CloseHandle(m_info.hProcess);
}

bool CStartedProgram::Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

DWORD CStartedProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(m_info.hProcess, &code);
  return code;
}

CRunResult RunProgram(const std::string& commandLine, const std::vector<std::pair<std::string, std::string>>& rules,
               const std::string& shotTag, DWORD timeoutMs) {
  CDialogDriver driver;
  for (const auto& rule : rules) driver.AddRule(rule.first, rule.second);
  if (!shotTag.empty()) {
    CreateDirectoryA((Here() + "\\shots").c_str(), nullptr);
    driver.SetScreenshotFolder(Here() + "\\shots\\" + shotTag);
  }
  CRunResult run;
  run.finished = driver.Run(commandLine, timeoutMs, {"strQSTemp.exe"});
  run.dialogs = driver.Dialogs();
  run.exitCode = driver.ExitCode();
  run.log = driver.Log();
  EXPECT_TRUE(run.finished) << "time-out running " << commandLine << "\n" << run.log;
  EXPECT_EQ(driver.Unanswered(), 0) << run.log;
  return run;
}

}  // namespace e2e
