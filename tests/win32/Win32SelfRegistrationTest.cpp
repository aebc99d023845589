// Unregistering our own test servers: libraries through their export,
// programs run with the switches, a hanging program ended after its time.
// The current folder is checked after every operation.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Text.h"
#include "system/SelfRegistration.h"
#include "tests/win32/Peers.h"
#include "tests/win32/TempFolder.h"

namespace {

class Win32SelfReg : public ::testing::Test {
 protected:
  void SetUp() override { m_strBefore = CurrentFolder(); }
  void TearDown() override { EXPECT_EQ(CurrentFolder(), m_strBefore); }

  // A copy of the marking server and the library it needs in a folder.
  std::string PlaceServer(const std::string& folder, const std::string& peer, const std::string& name) {
    dir.MakeFolder(folder);
    std::string target = dir.Path() + "\\" + folder;
    EXPECT_TRUE(CopyPeer(peer, target + "\\" + name));
    EXPECT_TRUE(CopyPeer("com_peer_dep.dll", target + "\\com_peer_dep.dll"));
    return target + "\\" + name;
  }
  std::string PlaceProgram(const std::string& relative, const std::string& behaviour) {
    std::string path = dir.Path() + "\\" + relative;
    size_t slash = relative.find_last_of('\\');
    if (slash != std::string::npos) dir.MakeFolder(relative.substr(0, slash));
    EXPECT_TRUE(CopyPeer("exe_peer.exe", path));
    if (!behaviour.empty()) dir.WriteFile(relative + ".cfg", behaviour);
    return path;
  }

  CTempFolder dir{"selfreg"};
  std::string m_strBefore;
};

TEST_F(Win32SelfReg, ProgramsRunQuotedWithTheirSwitchInTheirFolder) {
  // Unquoted, the command line would start this one instead.
  std::string decoy = PlaceProgram("My.exe", "");
  struct Case {
    const char* behaviour;
    bool result;
  } cases[] = {{"0", true}, {"1", true}, {"-1", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("exit code ") + c.behaviour);
    std::string path = PlaceProgram("My App\\srv.exe", c.behaviour);
    std::string folder = dir.Path() + "\\My App";
    struct Run {
      bool (*operation)(const std::string&);
      const char* switchText;
    } runs[] = {{UnregisterComServer, " /UNREGSERVER"}, {UnregisterServiceExe, " -unregserver"}};
    for (const Run& r : runs) {
      DeleteFileA((path + ".ran").c_str());
      EXPECT_EQ(r.operation(path), c.result);
      EXPECT_EQ(CurrentFolder(), m_strBefore);
      std::vector<std::string> ran = ReadLines(path + ".ran");
      ASSERT_EQ(ran.size(), 3u);
      EXPECT_EQ(ran[0], "\"" + path + "\"" + r.switchText);
      EXPECT_TRUE(EqualsNoCase(ran[1], folder)) << ran[1];
    }
  }
  EXPECT_FALSE(PathExists(decoy + ".ran"));
}

TEST_F(Win32SelfReg, HangingProgramIsEndedAfterItsTime) {
  std::string path = PlaceProgram("Hang\\srv.exe", "hang");
  struct Run {
    bool (*operation)(const std::string&);
  } runs[] = {{UnregisterComServer}, {UnregisterServiceExe}};
  for (const Run& r : runs) {
    DeleteFileA((path + ".ran").c_str());
    EXPECT_FALSE(r.operation(path));
    EXPECT_EQ(CurrentFolder(), m_strBefore);
    std::vector<std::string> ran = ReadLines(path + ".ran");
    ASSERT_EQ(ran.size(), 3u);
    DWORD id = static_cast<DWORD>(std::stoul(ran[2]));
    // Ended with exit code 0; a process that is gone entirely is ended too.
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id)) {
      EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
      DWORD code = 99;
      GetExitCodeProcess(process, &code);
      EXPECT_EQ(code, 0u);
      CloseHandle(process);
    }
  }
}

TEST_F(Win32SelfReg, LibrariesAreCalledInTheirFolderWithTheirOwnDependencies) {
  struct Case {
    const char* folder;
    const char* peer;
    const char* name;
    bool result;
  } cases[] = {
      {"Lib Folder", "com_peer.dll", "com_peer.dll", true},
      {"Ctl", "com_peer.dll", "ctl.OCX", true},
      {"NoExt", "com_peer.dll", "server", true},  // a library by its version information
      {"Fails", "com_peer_fail.dll", "com_peer_fail.dll", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = PlaceServer(c.folder, c.peer, c.name);
    std::string folder = dir.Path() + "\\" + c.folder;
    EXPECT_EQ(UnregisterComServer(path), c.result);
    EXPECT_EQ(CurrentFolder(), m_strBefore);
    std::vector<std::string> marks = ReadLines(folder + "\\unregistered.txt");
    ASSERT_EQ(marks.size(), 1u);
    std::string expected = folder + "|4711";
    EXPECT_TRUE(EqualsNoCase(marks[0].substr(marks[0].find('|') + 1), expected)) << marks[0];
  }
}

TEST_F(Win32SelfReg, DependencyBesideTheLibraryIsFoundFromAnyCurrentFolder) {
  std::string path = PlaceServer("Elsewhere", "com_peer.dll", "com_peer.dll");
  EXPECT_TRUE(CallDllUnregisterServer(path));
  std::vector<std::string> marks = ReadLines(dir.Path() + "\\Elsewhere\\unregistered.txt");
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_TRUE(EqualsNoCase(marks[0].substr(marks[0].find('|') + 1), m_strBefore + "|4711")) << marks[0];
}

TEST_F(Win32SelfReg, NothingRunsForOtherFilesAndFailuresAreFalse) {
  std::string noExport = PlaceServer("NoExport", "com_peer_dep.dll", "plain.dll");
  EXPECT_FALSE(UnregisterComServer(noExport));
  EXPECT_FALSE(UnregisterComServer(dir.Path() + "\\missing.dll"));
  EXPECT_FALSE(UnregisterComServer(dir.Path() + "\\missing.exe"));
  EXPECT_FALSE(UnregisterServiceExe(dir.Path() + "\\missing.exe"));
  // A program under another extension, and one in a folder with a dot but
  // no extension of its own: neither is run.
  std::string tlb = PlaceProgram("data.tlb", "0");
  std::string dotted = PlaceProgram("My.App\\server", "0");
  EXPECT_FALSE(UnregisterComServer(tlb));
  EXPECT_FALSE(UnregisterComServer(dotted));
  EXPECT_FALSE(PathExists(tlb + ".ran"));
  EXPECT_FALSE(PathExists(dotted + ".ran"));
  // Without a dot at all, the version information says it is a program.
  std::string tool = PlaceProgram("Tools\\tool", "0");
  EXPECT_TRUE(UnregisterComServer(tool));
  std::vector<std::string> files;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((dir.Path() + "\\Tools\\*.ran").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  std::vector<std::string> ran = ReadLines(dir.Path() + "\\Tools\\" + data.cFileName);
  ASSERT_EQ(ran.size(), 3u);
  EXPECT_EQ(ran[0].substr(ran[0].find('"', 1) + 1), " /UNREGSERVER");
}

}  // namespace
