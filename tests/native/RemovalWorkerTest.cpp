// The removal worker: every step in its order, with the status texts, the
// "Remove:" label, the progress bar and the messages it lets through, as one
// trace of what the window, the other programs, the file system and the
// registry were asked to do.
#include <gtest/gtest.h>

#include "records/InstallInfo.h"
#include "removal/RemovalWorker.h"
#include "tests/fakes/FakeSystem.h"

namespace {

typedef std::vector<std::string> Trace;

class CTraceView : public IRemovalView {
 public:
  explicit CTraceView(Trace& trace) : m_trace(trace) {}
  void SetStatus(const std::string& text) override { m_trace.push_back("status '" + text + "'"); }
  void SetProgressRange(uint16_t high) override { m_trace.push_back("range " + std::to_string(high)); }
  void SetProgressPos(int pos) override { m_trace.push_back("pos " + std::to_string(pos)); }
  void ShowRemoveLabel(bool show) override { m_trace.push_back(show ? "label shown" : "label hidden"); }

 private:
  Trace& m_trace;
};

class CTraceSteps : public IRemovalSteps {
 public:
  explicit CTraceSteps(Trace& trace) : m_trace(trace) {}
  void StopAndDeleteService(const std::string& path) override { m_trace.push_back("service " + path); }
  void EndProcesses(const std::string& path) override { m_trace.push_back("end processes " + path); }
  void UnregisterComServer(const std::string& path) override { m_trace.push_back("unregister com " + path); }
  void UnregisterServiceExe(const std::string& path) override { m_trace.push_back("unregister exe " + path); }

 private:
  Trace& m_trace;
};

// Passes every call on to the stand-in and notes the changing ones.
class CTraceFileSystem : public IFileSystem {
 public:
  CTraceFileSystem(CFakeFileSystem& inner, Trace& trace) : m_inner(inner), m_trace(trace) {}
  std::vector<CFileEntry> FindFiles(const std::string& pattern) override { return m_inner.FindFiles(pattern); }
  bool RemoveFile(const std::string& path) override { return Note("remove file " + path, m_inner.RemoveFile(path)); }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return Note("attributes " + std::to_string(attributes) + " " + path, m_inner.SetAttributes(path, attributes));
  }
  bool GetAttributes(const std::string& path, uint32_t& attributes) override {
    return m_inner.GetAttributes(path, attributes);
  }
  bool RemoveFolder(const std::string& path) override {
    return Note("remove folder " + path, m_inner.RemoveFolder(path));
  }
  bool CopyFileOver(const std::string& from, const std::string& to) override {
    return Note("copy " + from + " " + to, m_inner.CopyFileOver(from, to));
  }
  std::unique_ptr<IReadStream> OpenForReading(const std::string& path) override {
    return m_inner.OpenForReading(path);
  }
  bool GetLastWriteTime(const std::string& path, int64_t& unixSeconds) override {
    return m_inner.GetLastWriteTime(path, unixSeconds);
  }
  std::string GetModuleFilePath() override { return m_inner.GetModuleFilePath(); }
  std::string GetTempFolder() override { return m_inner.GetTempFolder(); }
  std::string GetCurrentFolder() override { return m_inner.GetCurrentFolder(); }
  bool SetCurrentFolder(const std::string& path) override { return m_inner.SetCurrentFolder(path); }
  bool IsOnLocalDrive(const std::string& path) override { return m_inner.IsOnLocalDrive(path); }
  std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultText, size_t bufferSize) override {
    return m_inner.ReadProfileString(file, section, key, defaultText, bufferSize);
  }

 private:
  bool Note(const std::string& what, bool ok) {
    m_trace.push_back(what + (ok ? "" : " (failed)"));
    return ok;
  }
  CFakeFileSystem& m_inner;
  Trace& m_trace;
};

class CTraceRegistry : public IRegistry {
 public:
  CTraceRegistry(CFakeRegistry& inner, Trace& trace) : m_inner(inner), m_trace(trace) {}
  long OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) override {
    return m_inner.OpenKey(parent, subkey, access, key);
  }
  long CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) override {
    return m_inner.CreateKey(parent, subkey, key);
  }
  long CloseKey(RegHandle key) override { return m_inner.CloseKey(key); }
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, void* data, uint32_t* size) override {
    return m_inner.QueryValue(key, name, type, data, size);
  }
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const void* data, uint32_t size) override {
    return m_inner.SetValue(key, name, type, data, size);
  }
  long DeleteKey(RegHandle key, const std::string& subkey) override {
    return Note("delete key " + subkey, m_inner.DeleteKey(key, subkey));
  }
  long DeleteValue(RegHandle key, const std::string& name) override {
    return Note("delete value " + name, m_inner.DeleteValue(key, name));
  }
  long EnumKey(RegHandle key, uint32_t index, std::string& name, uint32_t bufferSize) override {
    return m_inner.EnumKey(key, index, name, bufferSize);
  }

 private:
  long Note(const std::string& what, long result) {
    m_trace.push_back(what + (result == kErrorSuccess ? "" : " (failed)"));
    return result;
  }
  CFakeRegistry& m_inner;
  Trace& m_trace;
};

class CTraceUserInterface : public IUserInterface {
 public:
  explicit CTraceUserInterface(Trace& trace) : m_trace(trace) {}
  int ShowMessageBox(const std::string& text, const std::string&, unsigned) override {
    m_trace.push_back("message box " + text);
    return kIdOk;
  }
  bool PumpOneMessage() override {
    m_trace.push_back("pump");
    return false;
  }

 private:
  Trace& m_trace;
};

class RemovalWorkerTest : public ::testing::Test {
 protected:
  RemovalWorkerTest() : files(fake.files, trace), registry(fake.registry, trace), ui(trace) {
    Sys().files = &files;
    Sys().registry = &registry;
    Sys().ui = &ui;
  }
  // Loads the record and runs the worker; the trace then holds the run only.
  CRemovalWorker& Run(const std::string& recordText) {
    fake.files.AddFile("C:\\Uninst\\Setup.qsf", recordText);
    info.m_strRecordPath = "C:\\Uninst\\Setup.qsf";
    info.LoadRecord();
    trace.clear();
    worker.Run();
    return worker;
  }

  Trace trace;
  CFakePlatform fake;
  CTraceFileSystem files;
  CTraceRegistry registry;
  CTraceUserInterface ui;
  CInstallInfo info;
  CTraceView view{trace};
  CTraceSteps steps{trace};
  CRemovalWorker worker{info, view, steps};
};

TEST_F(RemovalWorkerTest, EmptyRecordTakesThreeStepsOfTwo) {
  fake.registry.MakeKey("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
  Run("[Comm]\r\nAppName=Demo\r\n");
  EXPECT_EQ(trace, Trace({
                       "status 'Init Data...'", "pump",                          // step 1
                       "range 2",                                                 // step 4
                       "label shown", "label hidden", "status ''",                // step 6
                       "pump", "pos 1",                                           // step 7
                       "pump", "pos 2",                                           // step 13
                       "pump", "pos 3",                                           // step 14
                   }));
}

TEST_F(RemovalWorkerTest, EveryStepInOrder) {
  const char kUninstall[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  fake.registry.SetString(std::string(kUninstall) + "\\{G}", "DisplayName", "Demo");
  fake.registry.SetString("HKEY_CURRENT_USER\\Software\\Co\\App\\Sub", "x", "1");
  fake.registry.SetString("HKEY_LOCAL_MACHINE\\Software\\Co\\App", "Version", "1.0");
  fake.files.AddFile("C:\\App\\App.EXE");
  fake.files.AddFile("C:\\App\\srv.dll");
  fake.files.AddFile("C:\\App\\readme.txt");
  fake.files.AddFile("C:\\App\\both.exe");
  fake.files.AddFile("C:\\App\\ro.txt", "", kAttrReadOnly);
  fake.files.AddFolder("C:\\App\\sub");
  fake.files.AddFile("C:\\Menu\\Demo\\Demo.lnk");
  fake.files.AddFolder("C:\\Program Files\\Demo\\empty");
  Run("[CopyFile]\r\n"
      "Item1=C:\\App\\App.EXE\r\nItem1_RegType=2\r\n"
      "Item2=C:\\App\\srv.dll\r\nItem2_RegType=1\r\n"
      "Item3=C:\\App\\readme.txt\r\nItem3_Uninstall=1\r\n"
      "Item4=C:\\App\\both.exe\r\nItem4_RegType=3\r\n"
      "Item5=C:\\App\\ro.txt\r\nItem5_RegType=x\r\n"
      "[CreateDir]\r\nItem1=C:\\App\r\nItem2=C:\\App\\sub\r\n"
      "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER,Software\\Co,App\r\n"
      "Item2=Value,HKEY_LOCAL_MACHINE,Software\\Co\\App,Version\r\n"
      "[ShellObj]\r\nItem1=Group,C:\\Menu\\Demo\r\nItem2=Shortcut,C:\\Menu\\Demo\\Demo.lnk\r\n"
      "[Comm]\r\nAppName=Demo\r\nGUID={G}\r\nDescPath=C:\\Program Files\\Demo\r\n");
  EXPECT_EQ(trace, Trace({
                       "status 'Init Data...'", "pump",
                       // 2 programs + 2 services + 3 self-registered + 4 files + 2 folders + 2 + 2 + 2
                       "range 19",
                       "status 'Stop service C:\\App\\App.EXE'", "service C:\\App\\App.EXE", "pump", "pos 1",
                       "status 'Stop service C:\\App\\both.exe'", "service C:\\App\\both.exe", "pump", "pos 2",
                       "label shown",
                       "status 'Cleaning application : C:\\App\\App.EXE'", "end processes C:\\App\\App.EXE",
                       "pump", "pos 3",
                       "status 'Cleaning application : C:\\App\\both.exe'", "end processes C:\\App\\both.exe",
                       "pump", "pos 4",
                       "label hidden", "status ''",
                       "pump", "pos 5",
                       "status 'UnRegist C:\\App\\App.EXE'", "unregister exe C:\\App\\App.EXE", "pump", "pos 6",
                       "status 'UnRegist C:\\App\\srv.dll'", "unregister com C:\\App\\srv.dll", "pump", "pos 7",
                       "status 'UnRegist C:\\App\\both.exe'", "unregister com C:\\App\\both.exe", "pump", "pos 8",
                       "label shown",
                       "status 'Remove C:\\App\\App.EXE'", "remove file C:\\App\\App.EXE", "pump", "pos 9",
                       "status 'Remove C:\\App\\srv.dll'", "remove file C:\\App\\srv.dll", "pump", "pos 10",
                       "status 'Remove C:\\App\\both.exe'", "remove file C:\\App\\both.exe", "pump", "pos 11",
                       "status 'Remove C:\\App\\ro.txt'", "remove file C:\\App\\ro.txt (failed)",
                       "attributes 128 C:\\App\\ro.txt", "remove file C:\\App\\ro.txt", "pump", "pos 12",
                       "label hidden", "status ''",
                       "label shown",
                       "status 'Remove C:\\App\\sub'", "remove folder C:\\App\\sub", "pump", "pos 13",
                       "status 'Remove C:\\App'", "pump", "pos 14",  // readme.txt stays in it
                       "label hidden", "status ''",
                       "status 'Remove RegInfo'", "delete value Version", "pump", "pos 15",
                       "status 'Remove RegInfo'", "delete key Sub", "delete key App", "pump", "pos 16",
                       "status 'Remove ShellObj '", "remove file C:\\Menu\\Demo\\Demo.lnk", "pump", "pos 17",
                       "status 'Remove ShellObj '", "remove folder C:\\Menu\\Demo", "pump", "pos 18",
                       "delete key {G}", "pump", "pos 19",
                       "remove folder C:\\Program Files\\Demo\\empty", "remove folder C:\\Program Files\\Demo",
                       "pump", "pos 20",
                   }));
  EXPECT_EQ(worker.m_arrSelfReg, Trace({"C:\\App\\App.EXE", "C:\\App\\srv.dll", "C:\\App\\both.exe"}));
  EXPECT_EQ(worker.m_arrRegType, std::vector<uint32_t>({2u, 1u, 3u}));
  EXPECT_TRUE(fake.files.Exists("C:\\App\\readme.txt"));
  EXPECT_FALSE(fake.files.Exists("C:\\Menu\\Demo"));
  EXPECT_TRUE(fake.files.Exists("C:\\Menu"));
  EXPECT_TRUE(fake.registry.HasKey("HKEY_CURRENT_USER\\Software\\Co"));
  EXPECT_TRUE(fake.registry.HasKey("HKEY_LOCAL_MACHINE\\Software\\Co\\App"));
  ASSERT_EQ(fake.shell.m_notifications.size(), 4u);
  EXPECT_EQ(fake.shell.m_notifications[0].path, "C:\\Menu\\Demo\\Demo.lnk");
  EXPECT_EQ(fake.shell.m_notifications[2].path, "C:\\Menu\\Demo");
}

TEST_F(RemovalWorkerTest, EmptyFileNamesTakeStepsWithoutWork) {
  fake.files.AddFile("C:\\App\\a.txt");
  Run("[CopyFile]\r\nItem1_Uninstall=0\r\nItem2=C:\\App\\a.txt\r\nItem3_RegType=4\r\n");
  EXPECT_EQ(trace, Trace({
                       "status 'Init Data...'", "pump", "range 6",
                       "label shown", "label hidden", "status ''",
                       "pump", "pos 1",
                       // RegType 4 is neither a COM server nor a service program.
                       "status 'UnRegist '", "pump", "pos 2",
                       "label shown", "pump", "pos 3",
                       "status 'Remove C:\\App\\a.txt'", "remove file C:\\App\\a.txt", "pump", "pos 4",
                       "pump", "pos 5",
                       "label hidden", "status ''",
                       "pump", "pos 6", "pump", "pos 7",
                   }));
}

TEST_F(RemovalWorkerTest, TextsComeFromTheLanguageFile) {
  fake.files.AddFile("C:\\Uninst\\Setup.lr", "[Strings]\r\n1004=Start\r\n1008=Weg: %s\r\n1006=\r\n");
  info.m_language.Load("Setup", "C:\\Uninst\\Setup.lr");
  fake.files.AddFile("C:\\App\\a.txt");
  Run("[CopyFile]\r\nItem1=C:\\App\\a.txt\r\n[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER,Software,Co\r\n");
  Trace statuses;
  for (const std::string& line : trace)
    if (line.compare(0, 6, "status") == 0) statuses.push_back(line);
  EXPECT_EQ(statuses,
            Trace({"status 'Start'", "status ''", "status 'Weg: C:\\App\\a.txt'", "status ''", "status ''"}));
}

TEST_F(RemovalWorkerTest, ProgressRangeIsCutTo16Bits) {
  std::string record = "[CreateDir]\r\n";
  for (int i = 1; i <= 65536; ++i) record += "Item" + std::to_string(i) + "=C:\\D\\" + std::to_string(i) + "\r\n";
  Run(record);
  ASSERT_GE(trace.size(), 3u);
  EXPECT_EQ(trace[2], "range 2");  // 65538 steps
  EXPECT_EQ(worker.m_nPos, 65536 + 3);
}

TEST(RemovalHelpers, ProgramsAndServices) {
  EXPECT_TRUE(IsProgramFile("C:\\App\\Run.EXE"));
  EXPECT_TRUE(IsProgramFile("run.exe"));
  EXPECT_FALSE(IsProgramFile("C:\\App\\Run.exe.txt"));
  EXPECT_FALSE(IsProgramFile("C:\\App.exe\\readme"));
  EXPECT_FALSE(IsProgramFile(".exe"));
  EXPECT_FALSE(IsProgramFile(""));
  EXPECT_TRUE(IsServiceCode(2));
  EXPECT_TRUE(IsServiceCode(3));
  EXPECT_FALSE(IsServiceCode(1));
  EXPECT_FALSE(IsServiceCode(4));
  EXPECT_FALSE(IsServiceCode(0));
}

}  // namespace
