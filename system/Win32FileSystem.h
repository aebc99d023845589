#pragma once

#include "system/FileSystem.h"

class CWin32FileSystem : public IFileSystem {
 public:
  std::vector<CFileEntry> FindFiles(const std::string& pattern) override;
  bool RemoveFile(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool GetAttributes(const std::string& path, uint32_t& attributes) override;
  bool RemoveFolder(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
  std::unique_ptr<IReadStream> OpenForReading(const std::string& path) override;
  bool GetLastWriteTime(const std::string& path, int64_t& unixSeconds) override;
  std::string GetModuleFilePath() override;
  std::string GetTempFolder() override;
  std::string GetCurrentFolder() override;
  bool SetCurrentFolder(const std::string& path) override;
  bool IsOnLocalDrive(const std::string& path) override;
  std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultText, size_t bufferSize) override;
};
