#include "records/ProfileDocument.h"

#include "app/Text.h"
#include "system/Platform.h"

namespace {
constexpr size_t kReadChunk = 64 * 1024;
}

void CProfileSection::AddEntry(const std::string& key, const std::string& value) {
  m_arrKeys.push_back(key);
  m_arrValues.push_back(value);
}

bool CProfileLineReader::Open(const std::string& path) {
  Close();
  m_file = Sys().files->OpenForReading(path);
  if (!m_file) return false;
  m_bEof = false;
  m_strSection.clear();
  m_buffer.resize(kReadChunk);
  m_nBufferPos = m_nBufferLen = 0;
  return true;
}

void CProfileLineReader::Close() { m_file.reset(); }

void CProfileLineReader::ReadRawLine(std::string& line) {
  line.clear();
  for (;;) {
    if (m_nBufferPos == m_nBufferLen) {
      m_nBufferPos = 0;
      m_nBufferLen = m_file ? m_file->Read(m_buffer.data(), m_buffer.size()) : 0;
      if (m_nBufferLen == 0) {
        m_bEof = true;
        return;
      }
    }
    // Take the run of bytes up to the next carriage return or NUL at once.
    const char* begin = m_buffer.data() + m_nBufferPos;
    const char* end = m_buffer.data() + m_nBufferLen;
    const char* stop = begin;
    while (stop != end && *stop != '\r' && *stop != '\0') ++stop;
    line.append(begin, stop);
    m_nBufferPos += static_cast<size_t>(stop - begin);
    if (stop == end) continue;
    ++m_nBufferPos;
    if (*stop == '\r') return;
  }
}

bool CProfileLineReader::NextLine(std::string& line) {
  if (m_bEof) return false;
  for (;;) {
    ReadRawLine(m_strRaw);
    std::string text = TrimWhitespace(m_strRaw);
    if (!text.empty()) {
      std::string name;
      if (ParseSectionHeader(text, name)) {
        m_strSection = name;
      } else {
        line = std::move(text);
        return true;
      }
    }
    if (m_bEof) return false;
  }
}

bool ParseSectionHeader(const std::string& line, std::string& name) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  name = line.substr(1, line.size() - 2);
  return true;
}

bool SplitAt(std::string& rest, std::string& head, const std::string& separator) {
  if (rest.empty()) return false;
  size_t pos = rest.find(separator);
  if (pos == std::string::npos) {
    head = rest;
    rest.clear();
  } else {
    head = rest.substr(0, pos);
    rest = rest.substr(pos + separator.size());
  }
  return true;
}

bool SplitKeyValue(const std::string& line, std::string& key, std::string& value) {
  if (line.empty()) return false;
  // As SplitAt at the first "=", filling key and value in place: a reader
  // that passes the same strings for every line allocates almost nothing.
  size_t pos = line.find('=');
  key.assign(line, 0, pos);
  if (pos == std::string::npos)
    value.clear();
  else
    value.assign(line, pos + 1, std::string::npos);
  if (!key.empty() && key.back() == ' ') key = TrimRightBlanks(key);
  if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) value = TrimBlanks(value);
  return true;
}

bool CProfileDocument::Load(const std::string& name, const std::string& path) {
  CProfileLineReader reader;
  if (!reader.Open(path)) return false;
  m_strName = name;
  m_strPath = path;
  std::string line, key, value;
  CProfileSection* section = nullptr;
  while (!reader.IsEof()) {
    if (!reader.NextLine(line)) break;
    SplitKeyValue(line, key, value);
    // Consecutive lines mostly share a section: look it up only when it changes.
    if (!section || section->Name() != reader.CurrentSection()) {
      section = FindSectionForUpdate(reader.CurrentSection());
      if (!section) {
        m_listSections.push_back(std::make_unique<CProfileSection>(reader.CurrentSection()));
        section = m_listSections.back().get();
      }
    }
    section->AddEntry(key, value);
  }
  reader.Close();
  return true;
}

const CProfileSection* CProfileDocument::FindSection(const std::string& name) const {
  for (const auto& section : m_listSections)
    if (EqualsNoCase(section->Name(), name)) return section.get();
  return nullptr;
}

CProfileSection* CProfileDocument::FindSectionForUpdate(const std::string& name) {
  return const_cast<CProfileSection*>(FindSection(name));
}

std::string CProfileDocument::GetString(const std::string& section, const std::string& key, bool* found) const {
  if (found) *found = false;
  const CProfileSection* s = FindSection(section);
  if (!s) return std::string();
  const auto& keys = s->Keys();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!EqualsNoCase(keys[i], key)) continue;
    const std::string& stored = s->Values()[i];
    std::string value;
    value.reserve(stored.size());
    for (size_t j = 0; j < stored.size(); ++j) {
      if (stored[j] == '\\' && j + 1 < stored.size() && stored[j + 1] == 'n') {
        value += '\n';
        ++j;
      } else {
        value += stored[j];
      }
    }
    if (found) *found = true;
    return value;
  }
  return std::string();
}

std::string CProfileDocument::GetStringByNumber(const std::string& section, int number, bool* found) const {
  return GetString(section, std::to_string(number), found);
}

int CProfileDocument::GetInt(const std::string& section, const std::string& key) const {
  return AtoiText(GetString(section, key));
}
