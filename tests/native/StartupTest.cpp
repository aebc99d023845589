#include <gtest/gtest.h>

#include "app/UninstallApp.h"
#include "tests/fakes/FakeSystem.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void Run(const std::vector<std::string>& args = {}) {
    CUninstallApp app;
    app.InitInstance(args);
    runOnTempDir = app.m_bRunOnTempDir;
    moduleDir = app.m_strModuleDir;
    languageLoaded = app.m_info.m_language.IsLoaded();
  }
  CFakePlatform fake;
  int runOnTempDir = -1;
  std::string moduleDir;
  bool languageLoaded = false;
};

TEST_F(StartupTest, ArgumentIsFirstWithoutDashOrSlash) {
  EXPECT_EQ(TakeArgument({"/x", "-y", "first", "second"}), "first");
  EXPECT_EQ(TakeArgument({"/x", "-y"}), "");
  EXPECT_EQ(TakeArgument({}), "");
}

TEST_F(StartupTest, MissingRecordShowsNotFindWithTitleCaption) {
  fake.files.m_strModulePath = "C:\\App\\uninstall.EXE";
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Not find Uninstall Info");
  EXPECT_EQ(fake.ui.m_shown[0].caption, "uninstall");
  EXPECT_EQ(fake.ui.m_shown[0].type, unsigned(kMbOk));
  EXPECT_EQ(moduleDir, "C:\\App");
  EXPECT_EQ(fake.shell.m_nComInits, 1);
}

TEST_F(StartupTest, FolderNamedLikeTheRecordCountsAsMissing) {
  fake.files.AddFolder("C:\\App\\Setup.qsf");
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Not find Uninstall Info");
}

TEST_F(StartupTest, ConfirmationNamesTheApplication) {
  fake.files.AddFile("C:\\App\\Setup.qsf", "[Comm]\r\nAppName=Demo App\r\n");
  fake.ui.m_answers = {kIdNo};
  Run({"RunOnTempDir"});
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Are you sure you want to uninstall Demo App ?");
  EXPECT_EQ(fake.ui.m_shown[0].caption, "Demo App");
  EXPECT_EQ(fake.ui.m_shown[0].type, unsigned(kMbYesNo | kMbIconQuestion));
  EXPECT_EQ(runOnTempDir, 1);
  EXPECT_TRUE(fake.shell.m_executions.empty());
  EXPECT_EQ(fake.shell.m_nRestarts, 0);
}

TEST_F(StartupTest, LongApplicationNameIsCutTo199) {
  std::string name(250, 'n');
  fake.files.AddFile("C:\\App\\Setup.qsf", "[comm]\r\nappname=" + name + "\r\n");
  fake.ui.m_answers = {kIdNo};
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].caption, std::string(199, 'n'));
}

TEST_F(StartupTest, MissingAppNameLeavesCaptionEmpty) {
  fake.files.AddFile("C:\\App\\Setup.qsf", "[Comm]\r\n");
  fake.ui.m_answers = {kIdNo};
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Are you sure you want to uninstall  ?");
  EXPECT_EQ(fake.ui.m_shown[0].caption, "");
}

TEST_F(StartupTest, LanguageFileReplacesTexts) {
  fake.files.AddFile("C:\\App\\Setup.qsf", "[Comm]\r\nAppName=Demo\r\n");
  fake.files.AddFile("C:\\App\\Setup.lr", "[Strings]\r\n1014=Remove %s?\\nReally?\r\n");
  fake.ui.m_answers = {kIdNo};
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "Remove Demo?\nReally?");
  EXPECT_TRUE(languageLoaded);
}

TEST_F(StartupTest, LanguagePatternWithStrayPercentSignsIsHarmless) {
  fake.files.AddFile("C:\\App\\Setup.qsf", "[Comm]\r\nAppName=Demo\r\n");
  fake.files.AddFile("C:\\App\\Setup.lr", "[Strings]\r\n1014=%n%s%s%x\r\n");
  fake.ui.m_answers = {kIdNo};
  Run();
  ASSERT_EQ(fake.ui.m_shown.size(), 1u);
  EXPECT_EQ(fake.ui.m_shown[0].text, "%nDemo%x");
}

TEST_F(StartupTest, OtherProgramNamesDoNothing) {
  fake.files.m_strModulePath = "C:\\App\\Setup_u.exe";
  fake.files.AddFile("C:\\App\\Setup.qsf", "[Comm]\r\nAppName=Demo\r\n");
  fake.files.AddFile("C:\\App\\Setup.lr", "[Strings]\r\n1013=x\r\n");
  Run({"C:\\App"});
  EXPECT_TRUE(fake.ui.m_shown.empty());
  EXPECT_TRUE(fake.files.Exists("C:\\App\\Setup.qsf"));
  EXPECT_TRUE(languageLoaded);
}

TEST_F(StartupTest, TemporaryCopyDeletesTheNamedFolder) {
  fake.files.m_strModulePath = "C:\\Temp\\strqstemp.exe";
  fake.files.AddFile("C:\\Temp\\Setup.lr", "[Strings]\r\n1013=x\r\n");
  fake.files.AddFile("C:\\Program Files\\Demo\\UnInstall.exe");
  fake.files.AddFile("C:\\Program Files\\Demo\\Setup.qsf");
  Run({"/s", "C:\\Program Files\\Demo"});
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Demo"));
  EXPECT_TRUE(fake.files.Exists("C:\\Program Files"));
  EXPECT_TRUE(fake.ui.m_shown.empty());
  EXPECT_TRUE(languageLoaded);
}

TEST_F(StartupTest, TemporaryCopyWithoutArgumentDeletesNothing) {
  fake.files.m_strModulePath = "C:\\Temp\\strQSTemp.exe";
  fake.files.AddFile("C:\\Temp\\other.txt");
  fake.files.m_strCurrentFolder = "C:\\Temp";
  Run({"/only", "-flags"});
  EXPECT_TRUE(fake.files.Exists("C:\\Temp\\other.txt"));
  EXPECT_EQ(fake.files.m_nFindCalls, 1);  // only the look for the language file
}

}  // namespace
