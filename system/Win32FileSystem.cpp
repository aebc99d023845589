#include "system/Win32FileSystem.h"

#include <windows.h>

#include <vector>

namespace {

class CWin32ReadStream : public IReadStream {
 public:
  explicit CWin32ReadStream(HANDLE file) : m_hFile(file) {}
  ~CWin32ReadStream() override { CloseHandle(m_hFile); }
  size_t Read(char* buffer, size_t size) override {
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    return got;
  }

 private:
  HANDLE m_hFile;
};

}  // namespace

std::vector<CFileEntry> CWin32FileSystem::FindFiles(const std::string& pattern) {
  std::vector<CFileEntry> matches;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return matches;
  do {
    matches.push_back(CFileEntry{data.cFileName, data.dwFileAttributes});
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return matches;
}

bool CWin32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool CWin32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool CWin32FileSystem::GetAttributes(const std::string& path, uint32_t& attributes) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  attributes = a;
  return true;
}

bool CWin32FileSystem::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool CWin32FileSystem::CopyFileOver(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::unique_ptr<IReadStream> CWin32FileSystem::OpenForReading(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<CWin32ReadStream>(file);
}

bool CWin32FileSystem::GetLastWriteTime(const std::string& path, int64_t& unixSeconds) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME written;
  BOOL ok = GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  if (!ok) return false;
  ULARGE_INTEGER t;
  t.LowPart = written.dwLowDateTime;
  t.HighPart = written.dwHighDateTime;
  // 100-ns intervals since 1601 to seconds since 1970.
  unixSeconds = static_cast<int64_t>(t.QuadPart / 10000000ULL) - INT64_C(11644473600);
  return true;
}

std::string CWin32FileSystem::GetModuleFilePath() {
  char path[MAX_PATH] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

std::string CWin32FileSystem::GetTempFolder() {
  char path[MAX_PATH] = {0};
  DWORD n = GetTempPathA(MAX_PATH, path);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return std::string(path, n);
}

std::string CWin32FileSystem::GetCurrentFolder() {
  char path[1024] = {0};
  DWORD n = GetCurrentDirectoryA(sizeof(path), path);
  if (n == 0 || n >= sizeof(path)) return std::string();
  return std::string(path, n);
}

bool CWin32FileSystem::SetCurrentFolder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != 0; }

bool CWin32FileSystem::IsOnLocalDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  std::string root = path.substr(0, 2) + "\\";
  UINT type = GetDriveTypeA(root.c_str());
  return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK;
}

std::string CWin32FileSystem::ReadProfileString(const std::string& file, const std::string& section,
                                                const std::string& key, const std::string& defaultText,
                                                size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  std::vector<char> buffer(bufferSize, '\0');
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer.data(),
                                     static_cast<DWORD>(bufferSize), file.c_str());
  return std::string(buffer.data(), n < bufferSize ? n : bufferSize - 1);
}
