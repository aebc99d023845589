// UnInstall.exe under Wine: run modes by file name, the record check, the
// confirmation and the language file; the temporary copy's folder clean-up.
#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"

using namespace e2e;

namespace {

const char kRecord[] =
    "[Comm]\r\nUnInstallFolder=C:\\Demo\r\nAppName=Demo App\r\nGUID={E2E00000-0000-0000-0000-000000000001}\r\n";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

TEST(Startup, ProgramUnderAnotherNameDoesNothing) {
  std::string exe = PlaceProgram("C:\\Other", "Setup_u.exe");
  WriteText("C:\\Other\\Setup.qsf", kRecord);
  WriteText("C:\\Other\\data.txt", "keep");
  CRunResult run = RunProgram(Quoted(exe) + " C:\\Other", {{"", "press:OK"}}, "other-name");
  EXPECT_TRUE(run.dialogs.empty()) << run.log;
  EXPECT_TRUE(Exists("C:\\Other\\data.txt"));
  EXPECT_TRUE(Exists(exe));
}

TEST(Startup, MissingRecordShowsNotFind) {
  std::string exe = PlaceProgram("C:\\NoRecord");
  CRunResult run = RunProgram(Quoted(exe), {{"Not find", "press:OK"}}, "missing-record");
  ASSERT_EQ(run.dialogs.size(), 1u) << run.log;
  EXPECT_EQ(run.dialogs[0].title, "UnInstall");
  EXPECT_EQ(run.dialogs[0].Statics(), std::vector<std::string>{"Not find Uninstall Info"});
  EXPECT_EQ(run.dialogs[0].Buttons(), std::vector<std::string>{"OK"});
}

TEST(Startup, ConfirmationAnsweredNoChangesNothing) {
  std::string exe = PlaceProgram("C:\\Demo");
  WriteText("C:\\Demo\\Setup.qsf", kRecord);
  CRunResult run = RunProgram(Quoted(exe), {{"Are you sure", "press:No"}}, "confirm-no");
  ASSERT_EQ(run.dialogs.size(), 1u) << run.log;
  EXPECT_EQ(run.dialogs[0].title, "Demo App");
  EXPECT_EQ(run.dialogs[0].Statics(), std::vector<std::string>{"Are you sure you want to uninstall Demo App ?"});
  EXPECT_EQ(run.dialogs[0].Buttons(), (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_TRUE(Exists("C:\\Demo\\Setup.qsf"));
  EXPECT_TRUE(Exists(exe));
  EXPECT_FALSE(Exists(TempFolder() + "\\strQSTemp.exe"));
}

TEST(Startup, LanguageFileReplacesTheQuestion) {
  std::string exe = PlaceProgram("C:\\Lang");
  WriteText("C:\\Lang\\Setup.qsf", kRecord);
  WriteText("C:\\Lang\\Setup.lr", "[Strings]\r\n1014=Remove %s now?\\nNothing else is touched.\r\n");
  CRunResult run = RunProgram(Quoted(exe), {{"Remove Demo App", "press:No"}}, "language");
  ASSERT_EQ(run.dialogs.size(), 1u) << run.log;
  EXPECT_EQ(run.dialogs[0].Statics(),
            std::vector<std::string>{"Remove Demo App now?\nNothing else is touched."});
}

// The folder the temporary copy is told to delete.
void LayOutVictim(const std::string& folder) {
  WriteText(folder + "\\UnInstall.exe", "program");
  WriteText(folder + "\\sub\\deeper\\data.bin", "data");
  WriteText(folder + "\\readonly.txt", "ro");
  SetFileAttributesA((folder + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

std::string PlaceTempCopy() { return PlaceProgram(TempFolder(), "strQSTemp.exe"); }

TEST(FolderCleanup, DeletesTheQuotedFolderInBothForms) {
  std::string copy = PlaceTempCopy();
  for (const char* argument : {"\"C:\\Program Files\\Victim\"", "\"C:\\Program Files\\Victim\\\""}) {
    LayOutVictim("C:\\Program Files\\Victim");
    CRunResult run = RunProgram(Quoted(copy) + " " + argument, {}, "");
    EXPECT_TRUE(run.dialogs.empty()) << run.log;
    EXPECT_FALSE(Exists("C:\\Program Files\\Victim")) << argument;
    EXPECT_TRUE(Exists("C:\\Program Files"));
  }
}

TEST(FolderCleanup, LeavesTheTargetOfALinkInsideUntouched) {
  // The test bed planted C:\Linked\App\docs as a link to C:\LinkTarget.
  ASSERT_TRUE(Exists("C:\\LinkTarget\\keep.txt"));
  ASSERT_TRUE(Exists("C:\\Linked\\App\\docs\\keep.txt"));
  LayOutVictim("C:\\Linked\\App");
  std::string copy = PlaceTempCopy();
  CRunResult run = RunProgram(Quoted(copy) + " \"C:\\Linked\\App\"", {}, "", 90000);
  EXPECT_TRUE(Exists("C:\\LinkTarget\\keep.txt"));
  EXPECT_EQ(ReadText("C:\\LinkTarget\\keep.txt"), "precious\n");
  EXPECT_FALSE(Exists("C:\\Linked\\App\\readonly.txt"));
  EXPECT_FALSE(Exists("C:\\Linked\\App\\sub"));
  EXPECT_FALSE(Exists("C:\\Linked\\App\\UnInstall.exe"));
  // Wine cannot remove a link to a folder with content (error 145), so the
  // link and its folder may stay here; on Windows they go.
}

TEST(FolderCleanup, RefusesFoldersThatAreNotTheProducts) {
  WriteText("C:\\users\\Public\\Documents\\mine.txt", "mine");
  WriteText("C:\\marker.txt", "root");
  WriteText(TempFolder() + "\\other-temp-file.txt", "temp");
  std::string copy = PlaceTempCopy();
  for (const std::string& argument : std::vector<std::string>{"\"C:\\users\"", "\"C:\\\"", "\"C:\\windows\"", "\"C:\\users\\Public\"",
                               "\"" + TempFolder() + "\"", "relative", "\"C:\\Program Files\\..\\users\""}) {
    CRunResult run = RunProgram(Quoted(copy) + " " + argument, {}, "");
    EXPECT_TRUE(run.dialogs.empty()) << run.log;
  }
  EXPECT_TRUE(Exists("C:\\users\\Public\\Documents\\mine.txt"));
  EXPECT_TRUE(Exists("C:\\marker.txt"));
  EXPECT_TRUE(Exists(TempFolder() + "\\other-temp-file.txt"));
  EXPECT_TRUE(Exists("C:\\windows\\system32"));
}

TEST(FolderCleanup, WithoutArgumentDeletesNothing) {
  std::string copy = PlaceTempCopy();
  WriteText(TempFolder() + "\\stays.txt", "x");
  CRunResult run = RunProgram(Quoted(copy) + " /quiet", {}, "");
  EXPECT_TRUE(Exists(TempFolder() + "\\stays.txt"));
  EXPECT_TRUE(Exists(copy));
}

TEST(FolderCleanup, WaitsForAFileStillInUse) {
  LayOutVictim("C:\\Busy");
  HANDLE held = CreateFileA("C:\\Busy\\UnInstall.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::string copy = PlaceTempCopy();
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::string line = Quoted(copy) + " \"C:\\Busy\"";
  ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  Sleep(2500);
  EXPECT_TRUE(Exists("C:\\Busy\\UnInstall.exe"));
  EXPECT_FALSE(Exists("C:\\Busy\\sub"));
  CloseHandle(held);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_FALSE(Exists("C:\\Busy"));
}

TEST(LibrarySearch, PlantedLibraryBesideTheProgramIsNotLoaded) {
  // The probe loads "vdmdbg" by name, as the program does; a library of that
  // name lies beside it and marks its loading in a file.
  std::string folder = TempFolder() + "\\probe";
  MakeFolders(folder);
  ASSERT_TRUE(CopyFileA((Here() + "\\LibraryProbe.exe").c_str(), (folder + "\\LibraryProbe.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((Here() + "\\MarkerDll.dll").c_str(), (folder + "\\vdmdbg.dll").c_str(), FALSE));
  auto probe = [&](const char* mode) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string line = Quoted(folder + "\\LibraryProbe.exe") + " " + mode;
    EXPECT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
    WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
  };
  DWORD unrestricted = probe("plain");
  if (unrestricted != 1) GTEST_SKIP() << "this system does not load planted libraries by name anyway";
  EXPECT_EQ(probe("restricted"), 0u);
}

}  // namespace
