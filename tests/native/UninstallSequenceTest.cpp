// The uninstall sequence: record, banners, the default path with its two
// dialogs, and the temporary copy that deletes the uninstall folder.
#include <gtest/gtest.h>

#include "app/UninstallApp.h"
#include "app/UninstallDialogs.h"
#include "app/Utilities.h"
#include "removal/RemovalWorker.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char kRecordPath[] = "C:\\App\\Setup.qsf";

struct CFinishCall {
  std::string title, appName;
  CInstallInfo* info = nullptr;
  bool error = true;
};

// Runs the real worker without a window, or ends the progress dialog
// otherwise when told to.
class CStandInDialogs : public IUninstallDialogs {
 public:
  bool RunProgressDialog(CInstallInfo& info) override {
    ++m_nProgressRuns;
    if (!m_bProgressOk) return false;
    CQuietView view;
    CNoSteps steps;
    CRemovalWorker(info, view, steps).Run();
    return true;
  }
  int RunFinishPage(const std::string& title, const std::string& appName, CInstallInfo& info, bool error) override {
    m_finishCalls.push_back(CFinishCall{title, appName, &info, error});
    return 5;
  }

  bool m_bProgressOk = true;
  int m_nProgressRuns = 0;
  std::vector<CFinishCall> m_finishCalls;

 private:
  class CQuietView : public IRemovalView {
    void SetStatus(const std::string&) override {}
    void SetProgressRange(uint16_t) override {}
    void SetProgressPos(int) override {}
    void ShowRemoveLabel(bool) override {}
  };
  class CNoSteps : public IRemovalSteps {
    void StopAndDeleteService(const std::string&) override {}
    void EndProcesses(const std::string&) override {}
    void UnregisterComServer(const std::string&) override {}
    void UnregisterServiceExe(const std::string&) override {}
  };
};

class UninstallSequenceTest : public ::testing::Test {
 protected:
  UninstallSequenceTest() {
    app.m_pDialogs = &dialogs;
    app.m_strModuleDir = "C:\\App";
    fake.files.AddFile("C:\\App\\UnInstall.exe", "program");
    fake.files.AddFolder("C:\\Temp");
  }
  void Record(const std::string& comm, const std::string& rest = std::string()) {
    fake.files.AddFile(kRecordPath, "[Comm]\r\n" + comm + "\r\n" + rest);
  }
  CFakePlatform fake;
  CStandInDialogs dialogs;
  CUninstallApp app;
};

TEST(FolderArgument, TrailingBackslashesCannotEscapeTheQuote) {
  EXPECT_EQ(QuoteFolderArgument("C:\\App"), "\"C:\\App\"");
  EXPECT_EQ(QuoteFolderArgument("C:\\App\\"), "\"C:\\App\"");
  EXPECT_EQ(QuoteFolderArgument("C:\\App\\\\"), "\"C:\\App\"");
  EXPECT_EQ(QuoteFolderArgument("C:\\Program Files\\App"), "\"C:\\Program Files\\App\"");
}

TEST_F(UninstallSequenceTest, DefaultPathRemovesShowsFinishAndStartsTheCopy) {
  for (const char* folder : {"C:\\App", "C:\\App\\"}) {
    CFakePlatform local;
    local.files.AddFile("C:\\App\\UnInstall.exe", "program");
    local.files.AddFolder("C:\\Temp");
    local.files.AddFile("C:\\Program Files\\Demo\\a.txt");
    local.files.AddFile(kRecordPath, std::string("[Comm]\r\nAppName=Demo\r\nUnInstallFolder=") + folder +
                                         "\r\n[CopyFile]\r\nItem1=C:\\Program Files\\Demo\\a.txt\r\n");
    CStandInDialogs d;
    CUninstallApp a;
    a.m_pDialogs = &d;
    a.m_strModuleDir = "C:\\App";
    EXPECT_EQ(a.RunUninstall(), 1) << folder;
    EXPECT_EQ(a.m_info.m_strRecordPath, kRecordPath);
    EXPECT_FALSE(local.files.Exists("C:\\Program Files\\Demo\\a.txt")) << folder;
    ASSERT_EQ(d.m_finishCalls.size(), 1u);
    EXPECT_EQ(d.m_finishCalls[0].title, "Uninstall Demo");
    EXPECT_EQ(d.m_finishCalls[0].appName, "Demo");
    EXPECT_EQ(d.m_finishCalls[0].info, &a.m_info);
    EXPECT_FALSE(d.m_finishCalls[0].error);
    EXPECT_EQ(local.files.Content("C:\\Temp\\strQSTemp.exe"), "program");
    ASSERT_EQ(local.shell.m_executions.size(), 1u) << folder;
    const CShellExecution& run = local.shell.m_executions[0];
    EXPECT_EQ(run.verb, "Open");
    EXPECT_EQ(run.file, "C:\\Temp\\strQSTemp.exe");
    EXPECT_EQ(run.parameters, "\"C:\\App\"") << folder;
    EXPECT_EQ(run.folder, "");
    EXPECT_EQ(run.show, kSwShow);
  }
}

TEST_F(UninstallSequenceTest, ProgressDialogEndedOtherwiseSkipsTheFinishPage) {
  Record("AppName=Demo\r\nUnInstallFolder=C:\\App");
  dialogs.m_bProgressOk = false;
  EXPECT_EQ(app.RunUninstall(), 0);
  EXPECT_EQ(dialogs.m_nProgressRuns, 1);
  EXPECT_TRUE(dialogs.m_finishCalls.empty());
  EXPECT_EQ(fake.shell.m_executions.size(), 1u);
}

TEST_F(UninstallSequenceTest, NoCopyWithoutFolderOrAfterCancelOrFailedCopy) {
  struct Case {
    const char* name;
    const char* comm;
    bool cancelled;
    bool lockTarget;
  } cases[] = {
      {"no folder key", "AppName=Demo", false, false},
      {"empty folder", "UnInstallFolder=", false, false},
      {"cancelled by a script", "UnInstallFolder=C:\\App", true, false},
      {"copy fails", "UnInstallFolder=C:\\App", false, true},
  };
  for (const Case& c : cases) {
    CFakePlatform local;
    local.files.AddFile("C:\\App\\UnInstall.exe", "program");
    local.files.AddFolder("C:\\Temp");
    local.files.AddFile(kRecordPath, std::string("[Comm]\r\n") + c.comm + "\r\n");
    if (c.lockTarget) {
      local.files.AddFile("C:\\Temp\\strQSTemp.exe", "old");
      local.files.Lock("C:\\Temp\\strQSTemp.exe");
    }
    CStandInDialogs d;
    CUninstallApp a;
    a.m_pDialogs = &d;
    a.m_strModuleDir = "C:\\App";
    if (c.cancelled) a.m_info.SetCancelled();
    EXPECT_EQ(a.RunUninstall(), 1) << c.name;
    EXPECT_TRUE(local.shell.m_executions.empty()) << c.name;
  }
}

TEST_F(UninstallSequenceTest, BannerPathsNameExistingFilesOnly) {
  Record("AppName=Demo");
  fake.files.AddFile("C:\\App\\TopBar.bmp", "BM");
  fake.files.AddFolder("C:\\App\\LeftBar.bmp");
  app.RunUninstall();
  EXPECT_EQ(app.m_strTopBarPath, "C:\\App\\TopBar.bmp");
  EXPECT_EQ(app.m_strLeftBarPath, "");
}

TEST_F(UninstallSequenceTest, RecordIsNotReadAgain) {
  Record("AppName=Second");
  app.m_info.m_bLoaded = 1;
  app.RunUninstall();
  ASSERT_EQ(dialogs.m_finishCalls.size(), 1u);
  EXPECT_EQ(dialogs.m_finishCalls[0].appName, "");
  EXPECT_EQ(dialogs.m_finishCalls[0].title, "Uninstall ");
}

// Without a script that both "sfentype" and "sftype" select, the default path runs.
TEST_F(UninstallSequenceTest, ScriptFilesAloneDoNotLeaveTheDefaultPath) {
  fake.files.AddFile("C:\\App\\ms.dll", std::string("\xF1\xC2", 2));
  for (const char* comm : {"UnInstallFolder=C:\\App\r\nsfentype=0\r\nsftype=2",
                           "UnInstallFolder=C:\\App\r\nsfentype=2\r\nsftype=1"}) {
    CStandInDialogs d;
    CUninstallApp a;
    a.m_pDialogs = &d;
    a.m_strModuleDir = "C:\\App";
    Record(comm);
    EXPECT_EQ(a.RunUninstall(), 1) << comm;
    EXPECT_EQ(d.m_nProgressRuns, 1) << comm;
  }
}

TEST_F(UninstallSequenceTest, FinishTitleFromTheLanguageFile) {
  Record("AppName=Demo");
  fake.files.AddFile("C:\\App\\Setup.lr", "[Strings]\r\n1016=Entfernen: %s\r\n");
  app.m_info.m_language.Load("Setup", "C:\\App\\Setup.lr");
  app.RunUninstall();
  ASSERT_EQ(dialogs.m_finishCalls.size(), 1u);
  EXPECT_EQ(dialogs.m_finishCalls[0].title, "Entfernen: Demo");
  EXPECT_EQ(MakeUninstallTitle(nullptr), "Uninstall ");
}

TEST_F(UninstallSequenceTest, WithoutDialogsNothingIsRemoved) {
  fake.files.AddFile("C:\\Program Files\\Demo\\a.txt");
  Record("AppName=Demo", "[CopyFile]\r\nItem1=C:\\Program Files\\Demo\\a.txt\r\n");
  app.m_pDialogs = nullptr;
  EXPECT_EQ(app.RunUninstall(), 0);
  EXPECT_TRUE(fake.files.Exists("C:\\Program Files\\Demo\\a.txt"));
}

// From start-up: the confirmation answered Yes runs the whole sequence.
TEST_F(UninstallSequenceTest, ConfirmedStartUpUninstalls) {
  fake.files.AddFile("C:\\Program Files\\Demo\\a.txt");
  fake.files.AddFile("C:\\Program Files\\Demo\\UnInstall\\Setup.qsf",
                     "[Comm]\r\nAppName=Demo\r\nUnInstallFolder=C:\\Program Files\\Demo\\UnInstall\\\r\n"
                     "[CopyFile]\r\nItem1=C:\\Program Files\\Demo\\a.txt\r\n");
  fake.files.AddFile("C:\\Program Files\\Demo\\UnInstall\\UnInstall.exe", "program");
  fake.files.m_strModulePath = "C:\\Program Files\\Demo\\UnInstall\\UnInstall.exe";
  fake.ui.m_answers = {kIdYes};
  CUninstallApp a;
  a.m_pDialogs = &dialogs;
  a.InitInstance({});
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Demo\\a.txt"));
  ASSERT_EQ(fake.shell.m_executions.size(), 1u);
  EXPECT_EQ(fake.shell.m_executions[0].parameters, "\"C:\\Program Files\\Demo\\UnInstall\"");
  EXPECT_EQ(fake.shell.m_nRestarts, 0);
}

}  // namespace
