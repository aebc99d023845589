// A folder of its own under the temporary folder for one test, deleted at
// the end with everything in it.
#pragma once

#include <windows.h>

#include <string>

class CTempFolder {
 public:
  explicit CTempFolder(const std::string& tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "uninst_test_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
             std::to_string(GetTickCount());
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~CTempFolder() { Remove(m_path); }
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::string& Path() const { return m_path; }

  void MakeFolder(const std::string& relative) const {
    std::string path = m_path;
    size_t start = 0;
    while (start < relative.size()) {
      size_t end = relative.find('\\', start);
      if (end == std::string::npos) end = relative.size();
      path += "\\" + relative.substr(start, end - start);
      CreateDirectoryA(path.c_str(), nullptr);
      start = end + 1;
    }
  }

  std::string WriteFile(const std::string& relative, const std::string& content) const {
    size_t slash = relative.find_last_of('\\');
    if (slash != std::string::npos) MakeFolder(relative.substr(0, slash));
    std::string path = m_path + "\\" + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return path;
  }

 private:
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          Remove(path);
        } else {
          SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
        }
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string m_path;
};
