#include "records/InstallRecord.h"

#include <ctime>

#include "app/Text.h"
#include "records/ProfileDocument.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/RegistryKey.h"

namespace {

// Items with more fields than this get an index for their look-ups.
constexpr size_t kIndexThreshold = 16;
constexpr size_t kUsualFieldCount = 8;
const std::string kFileName = "FileName";

bool LookupInt(const CRecordItem& item, const std::string& field, int32_t& number) {
  std::string text;
  if (!item.Lookup(field, text)) return false;
  number = AtoiText(text);
  return true;
}

// Reads an integer as "%d" of scanf does: whitespace, a sign, at least one
// digit. Values beyond 32 bits are clamped.
bool ScanInt(const std::string& text, size_t& pos, int64_t& number) {
  size_t p = pos;
  while (p < text.size() && (text[p] == ' ' || (text[p] >= '\t' && text[p] <= '\r'))) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p >= text.size() || text[p] < '0' || text[p] > '9') return false;
  int64_t value = 0;
  for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
    if (value <= INT32_MAX) value = value * 10 + (text[p] - '0');
  }
  if (value > INT32_MAX) value = INT32_MAX;
  number = negative ? -value : value;
  pos = p;
  return true;
}

// A literal of the pattern: the one character itself.
bool ScanLiteral(const std::string& text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// A blank of the pattern matches any run of whitespace, none included.
void ScanBlank(const std::string& text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
}

bool ToLocalTime(int64_t utcSeconds, struct tm& local) {
#ifdef _WIN32
  __time64_t t = utcSeconds;
  return _localtime64_s(&local, &t) == 0;
#else
  time_t t = static_cast<time_t>(utcSeconds);
  return localtime_r(&t, &local) != nullptr;
#endif
}

}  // namespace

// ---- CRecordItem

size_t CRecordItem::IndexOf(const std::string& field) const {
  if (m_pIndex) {
    auto it = m_pIndex->find(field);
    return it == m_pIndex->end() ? kNoField : it->second;
  }
  for (size_t i = 0; i < m_arrFields.size(); ++i)
    if (m_arrFields[i].first == field) return i;
  return kNoField;
}

bool CRecordItem::Lookup(const std::string& field, std::string& value) const {
  size_t index = IndexOf(field);
  if (index == kNoField) {
    value.clear();
    return false;
  }
  value = m_arrFields[index].second;
  return true;
}

void CRecordItem::SetField(const std::string& field, std::string text) {
  size_t index = IndexOf(field);
  if (index != kNoField) {
    m_arrFields[index].second = std::move(text);
    return;
  }
  // A copied file has eight fields: grow to that at once.
  if (m_arrFields.size() == 1 && m_arrFields.capacity() == 1) m_arrFields.reserve(kUsualFieldCount);
  m_arrFields.emplace_back(field, std::move(text));
  if (m_pIndex) {
    m_pIndex->emplace(field, m_arrFields.size() - 1);
  } else if (m_arrFields.size() > kIndexThreshold) {
    m_pIndex = std::make_unique<std::unordered_map<std::string, size_t>>();
    for (size_t i = 0; i < m_arrFields.size(); ++i) m_pIndex->emplace(m_arrFields[i].first, i);
  }
}

// ---- free helpers

bool ParseItemKey(const std::string& key, int32_t& number, std::string& suffix) {
  // The key is cut at its first underscore, as SplitAt does, without copying it.
  size_t underscore = key.find('_');
  size_t headLength = underscore == std::string::npos ? key.size() : underscore;
  if (headLength <= 4 || key.compare(0, 4, "Item") != 0) return false;
  int32_t n = AtoiText(key.substr(4, headLength - 4));
  if (n <= 0) return false;
  number = n;
  if (underscore == std::string::npos)
    suffix.clear();
  else
    suffix.assign(key, underscore + 1, std::string::npos);
  return true;
}

CRecordItem* GetOrAddItem(CRecordItemList& list, int32_t n) {
  if (n <= 0) return nullptr;
  size_t index = static_cast<size_t>(n);
  if (index <= list.size()) return &list[index - 1];
  if (index == list.size() + 1) {
    list.emplace_back();
    return &list.back();
  }
  return nullptr;
}

bool SplitFields(const std::string& value, size_t count, std::vector<std::string>& parts) {
  parts.clear();
  std::string rest = value;
  std::string part;
  for (size_t i = 0; i < count; ++i) {
    if (!SplitAt(rest, part, ",")) return false;
    parts.push_back(part);
  }
  return true;
}

ERemovalDecision DecideRemoval(const CRecordItem& item) {
  int32_t rule = 0, update = 0;
  if (!LookupInt(item, "Uninstall", rule)) return ERemovalDecision::kRemove;
  bool hasUpdate = LookupInt(item, "UpdateType", update);
  switch (rule) {
    case 0:
      return hasUpdate && update == 3 ? ERemovalDecision::kKeep : ERemovalDecision::kRemove;
    case 2:
      return ERemovalDecision::kRemove;
    case 3:
      return ERemovalDecision::kRemoveIfUnchanged;
    case 4:
      return !hasUpdate || update == 1 ? ERemovalDecision::kRemove : ERemovalDecision::kKeep;
    case 5:
      return hasUpdate && update != 1 ? ERemovalDecision::kKeep : ERemovalDecision::kRemoveIfUnchanged;
    default:  // 1 and every unknown rule
      return ERemovalDecision::kKeep;
  }
}

int64_t LocalCalendarSeconds(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                             int64_t second) {
  // Days since 1970-01-01 of the proleptic Gregorian calendar; linear in the
  // day, so days beyond the month's end run into the next month.
  int64_t y = year - (month <= 2 ? 1 : 0);
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yearOfEra = y - era * 400;
  int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  int64_t days = era * 146097 + dayOfEra - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

int64_t ParseRecordDate(const std::string& text) {
  int64_t fields[6] = {0, 0, 0, 0, 0, 0};
  const char separators[6] = {0, '-', '-', ' ', ':', ':'};
  size_t pos = 0;
  for (int i = 0; i < 6; ++i) {
    if (separators[i] == ' ')
      ScanBlank(text, pos);
    else if (separators[i] && !ScanLiteral(text, pos, separators[i]))
      break;
    if (!ScanInt(text, pos, fields[i])) break;
  }
  int64_t year = fields[0], month = fields[1], day = fields[2];
  if (year < 100) year += 2000;
  if (month < 1 || month > 12) month = 1;
  if (day < 1 || day > 31) day = 1;
  return LocalCalendarSeconds(year, month, day, fields[3], fields[4], fields[5]);
}

bool GetFileModifyTime(const std::string& path, int64_t& localSeconds) {
  int64_t utc = 0;
  if (!Sys().files->GetLastWriteTime(path, utc)) return false;
  struct tm local = {};
  if (!ToLocalTime(utc, local)) return false;
  localSeconds = LocalCalendarSeconds(local.tm_year + 1900LL, local.tm_mon + 1LL, local.tm_mday, local.tm_hour,
                                      local.tm_min, local.tm_sec);
  return true;
}

bool IsFileUnchanged(const CRecordItem& item) {
  std::string path, date;
  if (!item.Lookup("FileName", path)) return false;
  if (!item.Lookup("ModifyDate", date)) return true;
  int64_t written = 0;
  if (!GetFileModifyTime(path, written)) return false;
  return written == ParseRecordDate(date);
}

bool IsRegistryItemUnchanged(const CRecordItem& item) {
  std::string root, path, dataType, data, name;
  if (!item.Lookup("Root", root) || !item.Lookup("Path", path) || !item.Lookup("DataType", dataType) ||
      !item.Lookup("Data", data) || !item.Lookup("Name", name))
    return false;
  CRegistryKey key;
  if (!key.Open(RootKeyFromName(root), path, kKeyRead | kKeyWrite)) return false;
  bool unchanged = false;
  switch (AtoiText(dataType)) {
    case 0: {
      std::string current;
      key.QueryString(name, current);
      unchanged = current == data;
      break;
    }
    case 1: {
      uint32_t current = 0;
      unchanged = key.QueryDword(name, current) && current == static_cast<uint32_t>(AtoiText(data));
      break;
    }
    default:
      break;
  }
  key.Close();
  return unchanged;
}

// ---- CInstallRecord

bool CInstallRecord::ShouldRemoveFile(const CRecordItem& item) {
  ERemovalDecision decision = DecideRemoval(item);
  if (decision == ERemovalDecision::kRemoveIfUnchanged) return IsFileUnchanged(item);
  return decision == ERemovalDecision::kRemove;
}

bool CInstallRecord::ShouldRemoveRegistryItem(const CRecordItem& item) {
  ERemovalDecision decision = DecideRemoval(item);
  if (decision == ERemovalDecision::kRemoveIfUnchanged) return IsRegistryItemUnchanged(item);
  return decision == ERemovalDecision::kRemove;
}

void CInstallRecord::Clear() {
  m_listFiles.clear();
  m_listFolders.clear();
  m_listRegItems.clear();
  m_listShellObjs.clear();
}

bool CInstallRecord::Load(const std::string& path) {
  Clear();
  m_strPath = path;
  CProfileLineReader reader;
  if (!reader.Open(path)) return false;
  std::string line, key, value;
  while (!reader.IsEof()) {
    if (!reader.NextLine(line)) break;
    SplitKeyValue(line, key, value);
    const std::string& section = reader.CurrentSection();
    if (section == "Comm")
      SetCommValue(key, value);
    else
      AddItemLine(section, key, value);
  }
  reader.Close();
  return true;
}

void CInstallRecord::SetCommValue(const std::string& key, const std::string& value) {
  if (key == "UnInstallFolder") m_strUnInstallFolder = value;
  else if (key == "AppName") m_strAppName = value;
  else if (key == "GUID") m_strGUID = value;
  else if (key == "DescPath") m_strDescPath = value;
  else if (key == "Compent") m_strCompent = value;
  else if (key == "FileGroup") m_strFileGroup = value;
  else if (key == "SetupType") m_nSetupType = AtoiText(value);
  else if (key == "sftype") m_nSfType = AtoiText(value);
  else if (key == "sfentype") m_nSfEnType = AtoiText(value);
}

void CInstallRecord::AddItemLine(const std::string& section, const std::string& key, const std::string& value) {
  CRecordItemList* list = nullptr;
  if (section == "CopyFile") list = &m_listFiles;
  else if (section == "CreateDir") list = &m_listFolders;
  else if (section == "RegItem") list = &m_listRegItems;
  else if (section == "ShellObj") list = &m_listShellObjs;
  if (!list) return;

  int32_t number = 0;
  std::string suffix;
  if (!ParseItemKey(key, number, suffix)) return;
  // The item exists from here on, even when the rest of the line is ignored.
  CRecordItem* item = GetOrAddItem(*list, number);
  if (!item) return;

  std::vector<std::string> parts;
  if (list == &m_listFiles) {
    item->SetField(suffix.empty() ? kFileName : suffix, value);
  } else if (list == &m_listFolders) {
    if (suffix.empty()) item->SetField("DirName", value);
  } else if (list == &m_listRegItems) {
    if (!suffix.empty()) {
      item->SetField(suffix, value);
    } else if (SplitFields(value, 4, parts)) {
      item->SetField("Type", parts[0]);
      item->SetField("Root", parts[1]);
      item->SetField("Path", parts[2]);
      item->SetField("Name", parts[3]);
    }
  } else if (suffix.empty() && SplitFields(value, 2, parts)) {
    item->SetField("Type", parts[0]);
    item->SetField("Path", parts[1]);
  }
}

void CInstallRecord::GetSelfRegisteredFiles(std::vector<std::string>& names, std::vector<uint32_t>& codes) const {
  for (const CRecordItem& item : m_listFiles) {
    int32_t code = 0;
    if (!LookupInt(item, "RegType", code) || code <= 0) continue;
    std::string name;
    item.Lookup("FileName", name);
    names.push_back(name);
    codes.push_back(static_cast<uint32_t>(code));
  }
}

void CInstallRecord::GetFilesToRemove(std::vector<std::string>& names) const {
  for (const CRecordItem& item : m_listFiles) {
    if (!ShouldRemoveFile(item)) continue;
    std::string name;
    item.Lookup("FileName", name);
    names.push_back(name);
  }
}

void CInstallRecord::GetFolders(std::vector<std::string>& names) const {
  for (const CRecordItem& item : m_listFolders) {
    std::string name;
    if (item.Lookup("DirName", name) && !name.empty()) names.push_back(name);
  }
}

void CInstallRecord::GetRegistryItemsToRemove(std::vector<std::string>& texts) const {
  for (const CRecordItem& item : m_listRegItems) {
    if (!ShouldRemoveRegistryItem(item)) continue;
    std::string type, root, path, name;
    if (!item.Lookup("Type", type) || !item.Lookup("Root", root) || !item.Lookup("Path", path) ||
        !item.Lookup("Name", name))
      continue;
    texts.push_back(type + "," + root + "," + path + "," + name);
  }
}

void CInstallRecord::GetShellObjects(std::vector<std::string>& texts) const {
  for (const CRecordItem& item : m_listShellObjs) {
    std::string type, path;
    if (item.Lookup("Type", type) && item.Lookup("Path", path)) texts.push_back(type + "," + path);
  }
}
