// The install record reader, its work lists and the removal worker on any
// bytes: no crash, consistent lists, and nothing touched that no list names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Text.h"
#include "records/InstallInfo.h"
#include "records/InstallRecord.h"
#include "removal/RemovalWorker.h"
#include "tests/fakes/FakeSystem.h"

namespace {

class CQuietView : public IRemovalView {
 public:
  void SetStatus(const std::string&) override {}
  void SetProgressRange(uint16_t) override {}
  void SetProgressPos(int) override {}
  void ShowRemoveLabel(bool) override {}
};

class CNoSteps : public IRemovalSteps {
 public:
  void StopAndDeleteService(const std::string&) override {}
  void EndProcesses(const std::string&) override {}
  void UnregisterComServer(const std::string&) override {}
  void UnregisterServiceExe(const std::string&) override {}
};

bool Mentions(const std::vector<std::string>& texts, const char* word) {
  for (const std::string& text : texts)
    if (ToLowerText(text).find(word) != std::string::npos) return true;
  return false;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFakePlatform fake;
  const std::string recordPath = "C:\\Uninst\\Setup.qsf";
  fake.files.AddFile(recordPath, std::string(reinterpret_cast<const char*>(data), size));
  fake.files.AddFile("C:\\App\\a.exe", "MZ", kAttrArchive, 1083934929);
  fake.files.AddFile("C:\\Keep\\keep.txt", "k");
  fake.files.AddFolder("C:\\App\\Empty");
  fake.registry.SetString("HKEY_CURRENT_USER\\Software\\Co\\App", "Version", "1.0");
  fake.registry.SetString("HKEY_CURRENT_USER\\Zz\\Keep", "Value", "k");

  CInstallInfo info;
  info.m_strRecordPath = recordPath;
  info.LoadRecord();
  const CInstallRecord& record = info.m_record;

  std::vector<std::string> names, files, folders, regItems, shellObjs;
  std::vector<uint32_t> codes;
  record.GetSelfRegisteredFiles(names, codes);
  record.GetFilesToRemove(files);
  record.GetFolders(folders);
  record.GetRegistryItemsToRemove(regItems);
  record.GetShellObjects(shellObjs);
  Check(names.size() == codes.size() && names.size() <= record.Files().size());
  Check(files.size() <= record.Files().size());
  Check(folders.size() <= record.Folders().size());
  Check(regItems.size() <= record.RegistryItems().size());
  Check(shellObjs.size() <= record.ShellObjects().size());
  size_t services = 0, programs = 0;
  for (uint32_t code : codes) {
    Check(code > 0);
    if (IsServiceCode(code)) ++services;
  }
  for (const std::string& file : files)
    if (IsProgramFile(file)) ++programs;
  ParseRecordDate(std::string(reinterpret_cast<const char*>(data), size));

  CQuietView view;
  CNoSteps steps;
  CRemovalWorker worker(info, view, steps);
  worker.Run();
  // One step per service, program and list entry, and three more.
  Check(worker.m_nPos == static_cast<int>(services + programs + names.size() + files.size() + folders.size() +
                                           regItems.size() + shellObjs.size() + 3));

  std::vector<std::string> named = names;
  for (auto* list : {&files, &folders, &regItems, &shellObjs}) named.insert(named.end(), list->begin(), list->end());
  named.push_back(info.ReadDescPath());
  if (!Mentions(named, "keep")) Check(fake.files.Exists("C:\\Keep\\keep.txt"));
  if (!Mentions(named, "keep") && !Mentions(named, "zz"))
    Check(fake.registry.HasValue("HKEY_CURRENT_USER\\Zz\\Keep", "Value"));
  return 0;
}
