// An in-memory file system with Windows path rules: drive-letter paths,
// backslashes, names compared without regard to case, read-only files that
// refuse deletion, links that are removed as links, locked files.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "system/FileSystem.h"

class CFakeFileSystem : public IFileSystem {
 public:
  struct Node {
    std::string path;  // as created, original letter case
    bool isFolder = false;
    uint32_t attributes = 0;
    std::string content;
    int64_t lastWrite = 0;
    std::string linkTarget;  // set for links
    bool locked = false;     // cannot be deleted, copied over or opened
  };

  CFakeFileSystem();

  // Set-up for tests. Parent folders are created as needed.
  void AddFolder(const std::string& path);
  void AddFile(const std::string& path, const std::string& content = std::string(), uint32_t attributes = kAttrArchive,
               int64_t lastWrite = 0);
  void AddFolderLink(const std::string& path, const std::string& target);
  void Lock(const std::string& path, bool locked = true);
  void SetNetworkDrive(char drive) { m_networkDrives += static_cast<char>(toupper(drive)); }

  bool Exists(const std::string& path) const;
  bool IsFolder(const std::string& path) const;
  std::string Content(const std::string& path) const;
  // Every path below a folder (itself excluded), in sorted order.
  std::vector<std::string> ListTree(const std::string& folder) const;

  std::string m_strModulePath = "C:\\App\\UnInstall.exe";
  std::string m_strTempFolder = "C:\\Temp\\";
  std::string m_strCurrentFolder = "C:\\";
  int m_nFindCalls = 0;

  std::vector<CFileEntry> FindFiles(const std::string& pattern) override;
  bool RemoveFile(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool GetAttributes(const std::string& path, uint32_t& attributes) override;
  bool RemoveFolder(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
  std::unique_ptr<IReadStream> OpenForReading(const std::string& path) override;
  bool GetLastWriteTime(const std::string& path, int64_t& unixSeconds) override;
  std::string GetModuleFilePath() override { return m_strModulePath; }
  std::string GetTempFolder() override { return m_strTempFolder; }
  std::string GetCurrentFolder() override { return m_strCurrentFolder; }
  bool SetCurrentFolder(const std::string& path) override;
  bool IsOnLocalDrive(const std::string& path) override;
  std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultText, size_t bufferSize) override;

 private:
  static std::string Key(const std::string& path);
  // Follows links in the folder part of the path.
  std::string Resolve(const std::string& path) const;
  Node* Find(const std::string& path);
  const Node* Find(const std::string& path) const;
  bool HasChildren(const std::string& key) const;

  std::map<std::string, Node> m_nodes;  // by upper-case key
  std::string m_networkDrives;
};
