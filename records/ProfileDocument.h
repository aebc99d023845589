// The in-memory form of an INI-format text file, and the line rules shared
// by every profile-format file the program reads itself (the language file
// and the install record).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "system/FileSystem.h"

class CProfileSection {
 public:
  explicit CProfileSection(std::string name) : m_strName(std::move(name)) {}
  virtual ~CProfileSection() = default;

  void AddEntry(const std::string& key, const std::string& value);
  const std::string& Name() const { return m_strName; }
  const std::vector<std::string>& Keys() const { return m_arrKeys; }
  const std::vector<std::string>& Values() const { return m_arrValues; }

 private:
  std::string m_strName;  // exactly as written between the brackets
  std::vector<std::string> m_arrKeys;
  std::vector<std::string> m_arrValues;
};

// Reads the key lines of a profile file: lines end at carriage returns,
// whitespace around each line is removed, "[name]" lines open sections.
class CProfileLineReader {
 public:
  CProfileLineReader() = default;
  virtual ~CProfileLineReader() = default;

  bool Open(const std::string& path);
  void Close();
  bool IsEof() const { return m_bEof; }
  bool NextLine(std::string& line);
  const std::string& CurrentSection() const { return m_strSection; }

 private:
  void ReadRawLine(std::string& line);

  std::unique_ptr<IReadStream> m_file;
  bool m_bEof = false;
  std::string m_strSection;
  std::string m_strRaw;  // the raw line, kept to reuse its storage
  // Reading is buffered; the line rules are those of a byte-by-byte read.
  std::vector<char> m_buffer;
  size_t m_nBufferPos = 0;
  size_t m_nBufferLen = 0;
};

class CProfileDocument {
 public:
  CProfileDocument() = default;
  virtual ~CProfileDocument() = default;
  CProfileDocument(const CProfileDocument&) = delete;
  CProfileDocument& operator=(const CProfileDocument&) = delete;

  bool Load(const std::string& name, const std::string& path);
  bool IsLoaded() const { return !m_strName.empty(); }
  const CProfileSection* FindSection(const std::string& name) const;
  std::string GetString(const std::string& section, const std::string& key, bool* found = nullptr) const;
  std::string GetStringByNumber(const std::string& section, int number, bool* found = nullptr) const;
  int GetInt(const std::string& section, const std::string& key) const;

  const std::string& Name() const { return m_strName; }
  const std::string& Path() const { return m_strPath; }
  const std::vector<std::unique_ptr<CProfileSection>>& Sections() const { return m_listSections; }

 private:
  CProfileSection* FindSectionForUpdate(const std::string& name);

  std::string m_strName;
  std::string m_strPath;
  std::vector<std::unique_ptr<CProfileSection>> m_listSections;
};

// Splits "key = value" at the first "="; false only for an empty line.
bool SplitKeyValue(const std::string& line, std::string& key, std::string& value);
// Cuts head off rest at the first separator; false when rest is empty.
bool SplitAt(std::string& rest, std::string& head, const std::string& separator);
// The header name when the trimmed line is "[...]".
bool ParseSectionHeader(const std::string& line, std::string& name);
