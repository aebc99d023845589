// Files and folders, as the program uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// File attribute bits with the system's values.
enum : uint32_t {
  kAttrReadOnly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrReparsePoint = 0x400,
};

struct CFileEntry {
  std::string name;  // name inside its folder, as the file search reports it
  uint32_t attributes = 0;
};

class IReadStream {
 public:
  virtual ~IReadStream() = default;
  // Reads up to size bytes; 0 at the end of the file.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // The matches of a search pattern (wildcards in its last element), in the
  // order of the system's file search, "." and ".." included where the
  // system reports them. Empty when nothing matches or the folder is missing.
  virtual std::vector<CFileEntry> FindFiles(const std::string& pattern) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // False when nothing exists at the path.
  virtual bool GetAttributes(const std::string& path, uint32_t& attributes) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Copies a file, replacing an existing target.
  virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
  // Null when the file cannot be opened for reading.
  virtual std::unique_ptr<IReadStream> OpenForReading(const std::string& path) = 0;
  // Last-write time in seconds since 1970-01-01 UTC; the file is opened for
  // reading with read sharing, so false when it cannot be opened.
  virtual bool GetLastWriteTime(const std::string& path, int64_t& unixSeconds) = 0;

  // Full path of the running program file.
  virtual std::string GetModuleFilePath() = 0;
  // The user's temporary folder, ending with a backslash.
  virtual std::string GetTempFolder() = 0;
  virtual std::string GetCurrentFolder() = 0;
  virtual bool SetCurrentFolder(const std::string& path) = 0;

  // True when the path's drive is a local one (not a network drive).
  virtual bool IsOnLocalDrive(const std::string& path) = 0;

  // The system's private-profile reader: section and key compared without
  // regard to case, the value cut to bufferSize - 1 bytes.
  virtual std::string ReadProfileString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& defaultText,
                                        size_t bufferSize) = 0;
};
