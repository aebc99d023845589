// The install record (Setup.qsf): what the installer did, item by item, and
// the rules that decide which files and registry items an uninstall removes.
// Section names, "[Comm]" keys, item key prefixes and field names compare
// exactly, letter case included.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// One item of a record section: fields by exact name.
class CRecordItem {
 public:
  CRecordItem() = default;
  virtual ~CRecordItem() = default;
  CRecordItem(CRecordItem&&) = default;
  CRecordItem& operator=(CRecordItem&&) = default;

  // True and the value when the field exists; false and an empty value otherwise.
  bool Lookup(const std::string& field, std::string& value) const;
  bool Has(const std::string& field) const { return IndexOf(field) != kNoField; }
  // Replaces the value of a field that exists.
  void SetField(const std::string& field, std::string text);
  size_t FieldCount() const { return m_arrFields.size(); }

 private:
  static constexpr size_t kNoField = static_cast<size_t>(-1);
  size_t IndexOf(const std::string& field) const;

  // Items mostly have a handful of fields: a list is smaller and faster than
  // a map, and an index is built only for items with many.
  std::vector<std::pair<std::string, std::string>> m_arrFields;
  std::unique_ptr<std::unordered_map<std::string, size_t>> m_pIndex;
};

typedef std::vector<CRecordItem> CRecordItemList;

class CInstallRecord {
 public:
  CInstallRecord() = default;
  virtual ~CInstallRecord() = default;
  CInstallRecord(const CInstallRecord&) = delete;
  CInstallRecord& operator=(const CInstallRecord&) = delete;

  // False when the file cannot be opened; the lists are then empty.
  bool Load(const std::string& path);
  // Deletes the items of all four lists; the "[Comm]" values stay.
  void Clear();

  const std::string& Path() const { return m_strPath; }
  const CRecordItemList& Files() const { return m_listFiles; }
  const CRecordItemList& Folders() const { return m_listFolders; }
  const CRecordItemList& RegistryItems() const { return m_listRegItems; }
  const CRecordItemList& ShellObjects() const { return m_listShellObjs; }

  const std::string& UnInstallFolder() const { return m_strUnInstallFolder; }
  const std::string& AppName() const { return m_strAppName; }
  const std::string& GUID() const { return m_strGUID; }
  const std::string& DescPath() const { return m_strDescPath; }
  const std::string& Compent() const { return m_strCompent; }
  const std::string& FileGroup() const { return m_strFileGroup; }
  int32_t SetupType() const { return m_nSetupType; }
  int32_t sftype() const { return m_nSfType; }
  int32_t sfentype() const { return m_nSfEnType; }

  // The work lists of an uninstall, each in item order, appended to the
  // arrays given.
  // "FileName" and "RegType" of every file whose "RegType" is above 0.
  void GetSelfRegisteredFiles(std::vector<std::string>& names, std::vector<uint32_t>& codes) const;
  // "FileName" of every file the removal rule selects.
  void GetFilesToRemove(std::vector<std::string>& names) const;
  // Every non-empty "DirName".
  void GetFolders(std::vector<std::string>& names) const;
  // "Type,Root,Path,Name" of every registry item the rule selects.
  void GetRegistryItemsToRemove(std::vector<std::string>& texts) const;
  // "Type,Path" of every shell object.
  void GetShellObjects(std::vector<std::string>& texts) const;

  static bool ShouldRemoveFile(const CRecordItem& item);
  static bool ShouldRemoveRegistryItem(const CRecordItem& item);

 private:
  void SetCommValue(const std::string& key, const std::string& value);
  void AddItemLine(const std::string& section, const std::string& key, const std::string& value);

  std::string m_strPath;
  CRecordItemList m_listFiles;
  CRecordItemList m_listFolders;
  CRecordItemList m_listRegItems;
  CRecordItemList m_listShellObjs;
  std::string m_strUnInstallFolder;
  std::string m_strAppName;
  std::string m_strGUID;
  std::string m_strDescPath;
  std::string m_strCompent;
  std::string m_strFileGroup;
  int32_t m_nSetupType = 0;
  int32_t m_nSfType = 0;
  int32_t m_nSfEnType = 0;
};

// "Item<n>" or "Item<n>_<suffix>" with n above 0; the suffix is everything
// after the first underscore.
bool ParseItemKey(const std::string& key, int32_t& number, std::string& suffix);
// Item n (from 1) of the list; a new item when n is one past the end; null
// for anything further.
CRecordItem* GetOrAddItem(CRecordItemList& list, int32_t n);
// Cuts count comma-separated parts off the value; false unless every cut
// found text left to cut. Parts are not trimmed; text after the last part
// is dropped.
bool SplitFields(const std::string& value, size_t count, std::vector<std::string>& parts);

// The removal rule of one item, from its "Uninstall" and "UpdateType".
enum class ERemovalDecision { kRemove, kKeep, kRemoveIfUnchanged };
ERemovalDecision DecideRemoval(const CRecordItem& item);

// The unchanged checks: the file's last-write time still equals its
// "ModifyDate"; the registry value still holds its "Data".
bool IsFileUnchanged(const CRecordItem& item);
bool IsRegistryItemUnchanged(const CRecordItem& item);

// Times as seconds of the local calendar (a local date and time counted as
// if every day had 86400 seconds), so that both sides compare to the second.
// The file's last-write time in local time; false when it cannot be opened.
bool GetFileModifyTime(const std::string& path, int64_t& localSeconds);
// "%d-%d-%d %d:%d:%d" as year-month-day hour:minute:second, local time.
int64_t ParseRecordDate(const std::string& text);
// Seconds of the local calendar for a date and time; out-of-range days,
// hours, minutes and seconds carry into the next larger unit.
int64_t LocalCalendarSeconds(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second);
