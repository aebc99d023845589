// UnInstall.exe end to end: an installation with every kind of item laid
// out on disk, in the registry and in the service manager, with a running
// program, a running and a stopped service and a COM library of our own
// peers; the dialogs answered by the dialog driver. Afterwards exactly what
// the removal rules keep is left, the dialogs came in order with their
// texts, and the temporary copy has deleted the uninstall folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "tests/e2e/E2eSupport.h"

using namespace e2e;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

typedef std::vector<std::string> Texts;

bool WaitUntilGone(const std::string& path, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (Exists(path)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

void CopyPeer(const std::string& peer, const std::string& to) {
  MakeFolders(to.substr(0, to.find_last_of('\\')));
  ASSERT_TRUE(CopyFileA((Here() + "\\" + peer).c_str(), to.c_str(), FALSE)) << peer << " -> " << to;
}

// One installation of "E2E Demo <tag>". What the record says of each item:
//   Demo.exe        our program peer, running from the install folder
//   Demo.exe.cfg    its configuration ("hang": it runs until ended)
//   DemoSvc.exe     a running service (RegType 2) that takes a moment to
//                   stop, so that the progress dialog stays a while
//   IdleSvc.exe     a stopped service (RegType 2)
//   bin\com_peer.dll a COM library (RegType 1) with the library it imports
//   readme.txt      "Uninstall" 2: removed
//   notes.txt       "Uninstall" 1: kept
//   data\state.ini, data\sub\deeper\deep.ini  read-only, removed
//   folders data, data\sub, data\sub\deeper, bin, logs (logs\old stays
//   empty for the "DescPath" clean-up, like cache)
//   registry: a key tree; values removed only while they hold the recorded
//   data (one was changed since); a value kept by its rule; one not recorded
//   a program group with its shortcut, the Add/Remove Programs entry
// Not recorded, so left: Demo.exe.ran (written by the running program) and
// bin\unregistered.txt (the COM library's mark of its unregistration).
struct CInstallation {
  CInstallation(const std::string& tag, bool uninstallFolderWithBackslash,
                const std::string& servicePeer = "svc_peer_slow_stop.exe")
      : app("C:\\Program Files\\E2E " + tag),
        uninstall(app + "\\UnInstall"),
        menu(Here() + "\\menu\\E2E " + tag),
        regCompany("Software\\E2E Co " + tag),
        guid("{E2E0D000-0000-4000-8000-00000000000" + tag + "}"),
        name("E2E Demo " + tag),
        runningService("E2ESvc" + tag),
        stoppedService("E2EIdleSvc" + tag) {
    CopyPeer("exe_peer.exe", app + "\\Demo.exe");
    WriteText(app + "\\Demo.exe.cfg", "hang");
    CopyPeer(servicePeer, app + "\\DemoSvc.exe");
    CopyPeer("svc_peer.exe", app + "\\IdleSvc.exe");
    CopyPeer("com_peer.dll", app + "\\bin\\com_peer.dll");
    CopyPeer("com_peer_dep.dll", app + "\\bin\\com_peer_dep.dll");
    WriteText(app + "\\readme.txt", "read me");
    WriteText(app + "\\notes.txt", "the user's own notes");
    WriteText(app + "\\data\\state.ini", "[s]");
    WriteText(app + "\\data\\sub\\deeper\\deep.ini", "[d]");
    SetFileAttributesA((app + "\\data\\state.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((app + "\\data\\sub\\deeper\\deep.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    MakeFolders(app + "\\logs\\old");
    MakeFolders(app + "\\cache");
    WriteText(menu + "\\Demo.lnk", "L");
    SetRegString(HKEY_CURRENT_USER, regCompany + "\\Demo\\Settings", "Window", "1");
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Version", "1.0");
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Channel", "beta");
    SetRegDword(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Build", 1207);
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Shared", "yes");
    SetRegString(HKEY_LOCAL_MACHINE, regCompany + "\\Demo", "Owner", "not recorded");
    SetRegString(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + guid, "DisplayName", name);
    EXPECT_TRUE(RegisterService(runningService, "\"" + app + "\\DemoSvc.exe\" -service"));
    EXPECT_TRUE(RegisterService(stoppedService, app + "\\IdleSvc.exe"));
    program = PlaceProgram(uninstall);
    WriteText(uninstall + "\\Setup.qsf",
              "[CopyFile]\r\n"
              "Item1=" + app + "\\Demo.exe\r\nItem1_FileGroup=Program\r\n"
              "Item2=" + app + "\\Demo.exe.cfg\r\n"
              "Item3=" + app + "\\DemoSvc.exe\r\nItem3_RegType=2\r\n"
              "Item4=" + app + "\\IdleSvc.exe\r\nItem4_RegType=2\r\n"
              "Item5=" + app + "\\bin\\com_peer.dll\r\nItem5_RegType=1\r\n"
              "Item6=" + app + "\\bin\\com_peer_dep.dll\r\nItem6_RegType=0\r\n"
              "Item7=" + app + "\\readme.txt\r\nItem7_Uninstall=2\r\n"
              "Item8=" + app + "\\notes.txt\r\nItem8_Uninstall=1\r\n"
              "Item9=" + app + "\\data\\state.ini\r\nItem9_Uninstall=4\r\n"
              "Item10=" + app + "\\data\\sub\\deeper\\deep.ini\r\n"
              "Count=10\r\n"
              "[CreateDir]\r\nItem1=" + app + "\\data\r\nItem2=" + app + "\\data\\sub\r\n"
              "Item3=" + app + "\\data\\sub\\deeper\r\nItem4=" + app + "\\bin\r\nItem5=" + app + "\\logs\r\n"
              "Count=5\r\n"
              "[RegItem]\r\n"
              "Item1=Key,HKEY_CURRENT_USER," + regCompany + ",Demo\r\n"
              "Item2=Value,HKEY_LOCAL_MACHINE," + regCompany + "\\Demo,Version\r\n"
              "Item2_DataType=0\r\nItem2_Data=1.0\r\nItem2_Uninstall=3\r\n"
              "Item3=Value,HKEY_LOCAL_MACHINE," + regCompany + "\\Demo,Channel\r\n"
              "Item3_DataType=0\r\nItem3_Data=stable\r\nItem3_Uninstall=3\r\n"
              "Item4=Value,HKEY_LOCAL_MACHINE," + regCompany + "\\Demo,Build\r\n"
              "Item4_DataType=1\r\nItem4_Data=1207\r\nItem4_Uninstall=3\r\n"
              "Item5=Value,HKEY_LOCAL_MACHINE," + regCompany + "\\Demo,Shared\r\nItem5_Uninstall=1\r\n"
              "Count=5\r\n"
              "[ShellObj]\r\nItem1=Group," + menu + "\r\nItem2=Shortcut," + menu + "\\Demo.lnk\r\nCount=2\r\n"
              "[Comm]\r\n"
              "UnInstallFolder=" + uninstall + (uninstallFolderWithBackslash ? "\\" : "") + "\r\n"
              "AppName=" + name + "\r\nGUID=" + guid + "\r\nDescPath=" + app + "\r\n"
              "Compent=\r\nFileGroup=Program\r\nSetupType=0\r\nsftype=0\r\nsfentype=0\r\n");
  }

  // Every status text the progress dialog may show for this record.
  std::set<std::string> StatusTexts() const {
    std::set<std::string> texts = {"Init Data...", "", "Remove RegInfo", "Remove ShellObj "};
    for (const char* service : {"\\DemoSvc.exe", "\\IdleSvc.exe"}) {
      texts.insert("Stop service " + app + service);
      texts.insert("UnRegist " + app + service);
    }
    texts.insert("UnRegist " + app + "\\bin\\com_peer.dll");
    for (const char* exe : {"\\Demo.exe", "\\DemoSvc.exe", "\\IdleSvc.exe"})
      texts.insert("Cleaning application : " + app + exe);
    for (const char* item : {"\\Demo.exe", "\\Demo.exe.cfg", "\\DemoSvc.exe", "\\IdleSvc.exe", "\\bin\\com_peer.dll",
                             "\\bin\\com_peer_dep.dll", "\\readme.txt", "\\data\\state.ini",
                             "\\data\\sub\\deeper\\deep.ini", "\\data", "\\data\\sub", "\\data\\sub\\deeper", "\\bin",
                             "\\logs"})
      texts.insert("Remove " + app + item);
    return texts;
  }

  std::string app, uninstall, menu, regCompany, guid, name, runningService, stoppedService, program;
};

// Checks what the uninstall left of the installation: exactly what the
// rules keep.
void ExpectOnlyKeptItemsLeft(const CInstallation& install, bool linked) {
  EXPECT_TRUE(WaitUntilGone(install.uninstall, 10000)) << "the uninstall folder stayed";
  Texts left = {"Demo.exe.ran", "bin", "bin\\unregistered.txt", "notes.txt"};
  if (linked) left.push_back("docs");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(ListTree(install.app), left);
  if (linked) {
    EXPECT_TRUE(IsFolder("C:\\LinkTarget\\empty"));
  }
  // The COM library was unregistered from its own folder, with the library it imports at hand.
  std::string bin = install.app + "\\bin";
  EXPECT_EQ(ReadText(bin + "\\unregistered.txt"), bin + "\\com_peer.dll|" + bin + "|4711\r\n");

  EXPECT_FALSE(ServiceExists(install.stoppedService));
  EXPECT_TRUE(WaitUntilServiceGone(install.runningService, 10000));

  EXPECT_FALSE(Exists(install.menu));
  EXPECT_TRUE(Exists(Here() + "\\menu"));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, install.regCompany + "\\Demo"));
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, install.regCompany));
  EXPECT_EQ(RegValueNames(HKEY_LOCAL_MACHINE, install.regCompany + "\\Demo"), Texts({"Channel", "Owner", "Shared"}));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + install.guid));
  EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

std::string ControlText(const CDialogRecord& dialog, int id) {
  const CControlRecord* control = dialog.Control(id);
  return control ? control->text : "(no control " + std::to_string(id) + ")";
}

void ExpectFinishPage(const CDialogRecord& page, const std::string& title, const std::string& heading,
                      const std::string& line, const std::string& text, const std::string& back,
                      const std::string& finish) {
  EXPECT_EQ(page.title, title);
  EXPECT_EQ(ControlText(page, 1004), heading);
  EXPECT_EQ(ControlText(page, 1005), line);
  EXPECT_EQ(ControlText(page, 2029), text);
  EXPECT_EQ(page.Buttons(), Texts({back, finish}));
  ASSERT_NE(page.Control(1001), nullptr);
  EXPECT_FALSE(page.Control(1001)->enabled);
}

struct CRunningParts {
  DWORD serviceProcess = 0;
  std::unique_ptr<CStartedProgram> program;
  DWORD startedAt = 0;
};

// Starts the installation's running service and program.
void StartParts(const CInstallation& install, CRunningParts& parts) {
  parts.serviceProcess = StartServiceAndWait(install.runningService);
  ASSERT_NE(parts.serviceProcess, 0u) << "the service did not start";
  parts.program = std::make_unique<CStartedProgram>(install.app + "\\Demo.exe");
  ASSERT_TRUE(parts.program->Started());
  parts.startedAt = GetTickCount();
  // The program has written its mark once it runs.
  for (int i = 0; i < 100 && !Exists(install.app + "\\Demo.exe.ran"); ++i) Sleep(50);
  ASSERT_TRUE(parts.program->Running());
}

void ExpectPartsEnded(const CRunningParts& parts) {
  EXPECT_FALSE(parts.program->Running()) << "the program of the installation still runs";
  // It would have run for a minute by itself.
  EXPECT_LT(GetTickCount() - parts.startedAt, 50000u);
  EXPECT_EQ(parts.program->ExitCode(), 0u);
  EXPECT_FALSE(IsProcessAlive(parts.serviceProcess)) << "the service's program still runs";
}

class DefaultUninstall : public ::testing::TestWithParam<bool> {};

TEST_P(DefaultUninstall, RemovesWhatTheRulesSelectShowsTheDialogsInOrderAndTheCopyDeletesTheUninstallFolder) {
  bool withBackslash = GetParam();
  CInstallation install(withBackslash ? "B" : "A", withBackslash);
  // The test bed planted a link in the first installation's folder.
  bool linked = !withBackslash;
  if (linked) {
    ASSERT_TRUE(IsFolder(install.app + "\\docs")) << "the prefix hook planted no link";
  }
  CRunningParts parts;
  StartParts(install, parts);

  CRunResult run = RunProgram("\"" + install.program + "\"",
                              {{"Are you sure you want to uninstall", "press:Yes"},
                               {"Program is uninstalling", "none"},
                               {"Uninstall Wizard Complete", "press:Finish"}},
                              withBackslash ? "trailing-backslash" : "plain");

  ASSERT_EQ(run.dialogs.size(), 3u) << run.log;
  const CDialogRecord& confirmation = run.dialogs[0];
  EXPECT_EQ(confirmation.title, install.name);
  EXPECT_EQ(confirmation.Statics(), Texts{"Are you sure you want to uninstall " + install.name + " ?"});
  const CDialogRecord& progress = run.dialogs[1];
  EXPECT_EQ(progress.title, "Uninstall");
  EXPECT_EQ(ControlText(progress, 2029), "Program is uninstalling...");
  EXPECT_EQ(ControlText(progress, 1001), "Remove:");
  EXPECT_EQ(progress.Buttons(), Texts{"Cancel"});
  EXPECT_EQ(install.StatusTexts().count(ControlText(progress, 2002)), 1u)
      << "status line: " << ControlText(progress, 2002);
  ASSERT_NE(progress.Control(2003), nullptr);
  EXPECT_EQ(progress.Control(2003)->className, "msctls_progress32");
  ExpectFinishPage(run.dialogs[2], "Uninstall " + install.name, "Uninstall Wizard Complete",
                   "Uninstall is successfully!", install.name + " has been successfully uninstalled.", "< &Back",
                   "Finish");

  ExpectPartsEnded(parts);
  ExpectOnlyKeptItemsLeft(install, linked);
}

INSTANTIATE_TEST_SUITE_P(UninstallFolderForms, DefaultUninstall, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("TrailingBackslash") : std::string("Plain");
                         });

TEST(DefaultUninstallDialogs, LanguageFileChangesTheTextsOfEveryDialog) {
  CInstallation install("L", false);
  WriteText(install.uninstall + "\\Setup.lr",
            "[DialogFont]\r\nFontName=Arial\r\nFontSize=15\r\n"
            "[WizardButtons]\r\nBack=Go back\r\nFinish=Done\r\nCancel=Stop\r\n"
            "[SdUnCopyFile]\r\n2029=Removing the program...\r\n1001=Deleting:\r\n"
            "[SdUnInstallFinish]\r\n1004=All done\r\n1005=It is gone.\r\n"
            "[Strings]\r\n1014=Really remove %s ?\r\n1012=%s was removed.\r\n1016=Removing %s\r\n");
  CRunningParts parts;
  StartParts(install, parts);

  CRunResult run = RunProgram("\"" + install.program + "\"",
                              {{"Really remove", "press:Yes"}, {"Removing the program", "none"}, {"All done", "press:Done"}},
                              "language");

  ASSERT_EQ(run.dialogs.size(), 3u) << run.log;
  EXPECT_EQ(run.dialogs[0].Statics(), Texts{"Really remove " + install.name + " ?"});
  const CDialogRecord& progress = run.dialogs[1];
  EXPECT_EQ(progress.title, "Uninstall");
  EXPECT_EQ(ControlText(progress, 2029), "Removing the program...");
  EXPECT_EQ(ControlText(progress, 1001), "Deleting:");
  EXPECT_EQ(progress.Buttons(), Texts{"Stop"});
  ExpectFinishPage(run.dialogs[2], "Removing " + install.name, "All done", "It is gone.",
                   install.name + " was removed.", "Go back", "Done");
  ExpectPartsEnded(parts);
  ExpectOnlyKeptItemsLeft(install, false);
}

// The service ignores the stop request, so the progress dialog waits for
// it long enough to be cancelled while it works.
TEST(DefaultUninstallDialogs, CancelOnTheProgressDialogHidesItButEverythingIsRemovedAndTheFinishPageFollows) {
  CInstallation install("C", false, "svc_peer_ignore_stop.exe");
  CRunningParts parts;
  StartParts(install, parts);

  CRunResult run = RunProgram("\"" + install.program + "\"",
                              {{"Are you sure you want to uninstall", "press:Yes"},
                               {"Program is uninstalling", "press:Cancel"},
                               {"Uninstall Wizard Complete", "press:Finish"}},
                              "cancel");

  ASSERT_EQ(run.dialogs.size(), 3u) << run.log;
  const CDialogRecord& progress = run.dialogs[1];
  EXPECT_EQ(progress.action, "press:Cancel");
  EXPECT_EQ(ControlText(progress, 2002), "Stop service " + install.app + "\\DemoSvc.exe")
      << "Cancel was pressed while the worker waited for the service";
  EXPECT_EQ(run.dialogs[2].title, "Uninstall " + install.name);
  EXPECT_EQ(ControlText(run.dialogs[2], 1005), "Uninstall is successfully!");
  ExpectPartsEnded(parts);
  ExpectOnlyKeptItemsLeft(install, false);
}

}  // namespace
