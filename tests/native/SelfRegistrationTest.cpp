// Choosing and running the unregistration of self-registered files,
// against in-memory programs and libraries.
#include <gtest/gtest.h>

#include "system/SelfRegistration.h"
#include "tests/fakes/FakeSystem.h"

namespace {

class SelfRegTest : public ::testing::Test {
 protected:
  SelfRegTest() {
    fake.files.AddFolder("C:\\Work");
    fake.files.AddFolder("C:\\App");
    fake.files.AddFolder("C:\\My.App");
    fake.files.m_strCurrentFolder = "C:\\Work";
  }
  // Nothing may stay open, and the current folder is what it was.
  void ExpectTidy() {
    EXPECT_EQ(fake.files.m_strCurrentFolder, "C:\\Work");
    EXPECT_EQ(run.m_nOpenPrograms, 0);
    EXPECT_EQ(run.m_nLoadedLibraries, 0);
    EXPECT_EQ(run.m_nComDepth, 0);
    EXPECT_FALSE(run.m_bComUnbalanced);
  }

  CFakePlatform fake;
  CFakeProgramRunner& run = fake.programs;
};

TEST_F(SelfRegTest, MethodChosenByRegTypeBitsAndFileType) {
  run.AddLibrary("C:\\App\\ctl.OCX", 0);
  run.AddLibrary("C:\\App\\lib.dll", 0);
  run.AddLibrary("C:\\App\\server", 0);
  run.AddLibrary("C:\\App\\libnover", 0);
  run.AddProgram("C:\\App\\srv.Exe", 0);
  run.AddProgram("C:\\App\\svc.exe", 0);
  run.AddProgram("C:\\App\\tool", 0);
  run.AddProgram("C:\\App\\lib.dll", 0);
  run.AddProgram("C:\\App\\data.tlb", 0);
  run.AddProgram("C:\\My.App\\server", 0);
  run.AddProgram("C:\\App\\driver", 0);
  run.SetVersionFileType("C:\\App\\server", kVftDll);
  run.SetVersionFileType("C:\\App\\tool", kVftApp);
  run.SetVersionFileType("C:\\App\\driver", kVftDrv);

  struct Case {
    const char* path;
    uint32_t regType;
    bool result;
    const char* library;      // loaded as, or null
    const char* commandLine;  // run, or null
    uint32_t timeoutMs;
  } cases[] = {
      {"C:\\App\\ctl.OCX", 1, true, "C:\\App\\ctl.OCX", nullptr, 0},
      {"C:\\App\\lib.dll", 1, true, "C:\\App\\lib.dll", nullptr, 0},
      {"C:\\App\\lib.dll", 3, true, "C:\\App\\lib.dll", nullptr, 0},
      {"C:\\App\\srv.Exe", 1, true, nullptr, "\"C:\\App\\srv.Exe\" /UNREGSERVER", 2000},
      {"C:\\App\\svc.exe", 3, true, nullptr, "\"C:\\App\\svc.exe\" /UNREGSERVER", 2000},
      {"C:\\App\\svc.exe", 2, true, nullptr, "\"C:\\App\\svc.exe\" -unregserver", 3000},
      {"C:\\App\\lib.dll", 2, true, nullptr, "\"C:\\App\\lib.dll\" -unregserver", 3000},
      {"C:\\App\\data.tlb", 1, false, nullptr, nullptr, 0},
      {"C:\\My.App\\server", 1, false, nullptr, nullptr, 0},  // the "extension" is "App\server"
      {"C:\\App\\server", 1, true, "C:\\App\\server.", nullptr, 0},
      {"C:\\App\\tool", 1, true, nullptr, "\"C:\\App\\tool.\" /UNREGSERVER", 2000},
      {"C:\\App\\driver", 1, false, nullptr, nullptr, 0},
      {"C:\\App\\libnover", 1, false, nullptr, nullptr, 0},  // no version information
      {"", 1, false, nullptr, nullptr, 0},
      {"", 2, false, nullptr, nullptr, 0},
      {"C:\\App\\svc.exe", 0, false, nullptr, nullptr, 0},
      {"C:\\App\\svc.exe", 4, false, nullptr, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " RegType " + std::to_string(c.regType));
    run.m_calls.clear();
    run.m_runs.clear();
    EXPECT_EQ(UnregisterSelfRegisteredFile(c.path, c.regType), c.result);
    if (c.library) {
      ASSERT_EQ(run.m_calls.size(), 1u);
      EXPECT_EQ(run.m_arrLoadAttempts.back(), c.library);
      EXPECT_EQ(run.m_calls[0].currentFolder, FolderOfPath(c.path));
      EXPECT_TRUE(run.m_calls[0].comReady);
    } else {
      EXPECT_TRUE(run.m_calls.empty());
    }
    if (c.commandLine) {
      ASSERT_EQ(run.m_runs.size(), 1u);
      EXPECT_EQ(run.m_runs[0].commandLine, c.commandLine);
      EXPECT_EQ(run.m_runs[0].timeoutMs, c.timeoutMs);
      EXPECT_EQ(run.m_runs[0].currentFolder, FolderOfPath(c.path));
    } else {
      EXPECT_TRUE(run.m_runs.empty());
    }
    ExpectTidy();
  }
}

TEST_F(SelfRegTest, ExitCodesAndHangingPrograms) {
  struct Case {
    uint32_t exitCode;
    bool hangs;
    bool result;
  } cases[] = {
      {0, false, true}, {1, false, true}, {0x7FFFFFFF, false, true}, {0xFFFFFFFFu, false, false},
      {0x80004005u, false, false}, {0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.exitCode) + (c.hangs ? " hanging" : ""));
    run.m_runs.clear();
    run.AddProgram("C:\\App\\srv.exe", c.exitCode, c.hangs);
    EXPECT_EQ(UnregisterComServer("C:\\App\\srv.exe"), c.result);
    EXPECT_EQ(UnregisterServiceExe("C:\\App\\srv.exe"), c.result);
    ASSERT_EQ(run.m_runs.size(), 2u);
    for (const auto& r : run.m_runs) {
      EXPECT_EQ(r.ended, c.hangs);
      if (c.hangs) {
        EXPECT_EQ(r.endCode, 0u);
      }
    }
    ExpectTidy();
  }
}

TEST_F(SelfRegTest, ProgramThatCannotStartFails) {
  EXPECT_FALSE(UnregisterComServer("C:\\App\\missing.exe"));
  EXPECT_FALSE(UnregisterServiceExe("C:\\App\\missing.exe"));
  EXPECT_TRUE(run.m_runs.empty());
  ExpectTidy();
}

TEST_F(SelfRegTest, QuotedPathCannotStartAProgramAtABlank) {
  run.AddProgram("C:\\Program.exe", 0);
  run.AddProgram("C:\\Program Files\\App\\srv.exe", 1);
  EXPECT_TRUE(RunWithSwitch("C:\\Program Files\\App\\srv.exe", " /UNREGSERVER", 2000));
  ASSERT_EQ(run.m_runs.size(), 1u);
  EXPECT_EQ(run.m_runs[0].program, "C:\\Program Files\\App\\srv.exe");
}

TEST_F(SelfRegTest, LibraryResults) {
  struct Case {
    int32_t hresult;
    bool hasExport;
    bool result;
  } cases[] = {
      {0, true, true}, {1, true, true}, {static_cast<int32_t>(0x80004005u), true, false}, {0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.hresult) + (c.hasExport ? "" : " no export"));
    run.AddLibrary("C:\\App\\lib.dll", c.hresult, c.hasExport);
    EXPECT_EQ(UnregisterComServer("C:\\App\\lib.dll"), c.result);
    ExpectTidy();
  }
  EXPECT_FALSE(UnregisterComServer("C:\\App\\missing.dll"));
  EXPECT_FALSE(CallDllUnregisterServer("C:\\App\\missing.dll"));
  ExpectTidy();
}

TEST_F(SelfRegTest, ComThatFailsToStartIsNotUninitialisedAndTheCallStillRuns) {
  run.m_bComFails = true;
  run.AddLibrary("C:\\App\\lib.dll", 0);
  EXPECT_TRUE(CallDllUnregisterServer("C:\\App\\lib.dll"));
  ASSERT_EQ(run.m_calls.size(), 1u);
  EXPECT_FALSE(run.m_calls[0].comReady);
  ExpectTidy();
}

TEST_F(SelfRegTest, CurrentFolderThatCannotBeSetOrReadStaysAsItIs) {
  run.AddProgram("C:\\Gone\\srv.exe", 0);
  EXPECT_TRUE(UnregisterServiceExe("C:\\Gone\\srv.exe"));
  ASSERT_EQ(run.m_runs.size(), 1u);
  EXPECT_EQ(run.m_runs[0].currentFolder, "C:\\Work");
  ExpectTidy();

  // A current folder too long to be read cannot be put back: it is not changed.
  fake.files.m_strCurrentFolder = "";
  run.AddProgram("C:\\App\\srv.exe", 0);
  EXPECT_TRUE(UnregisterServiceExe("C:\\App\\srv.exe"));
  EXPECT_EQ(run.m_runs.back().currentFolder, "");
  EXPECT_EQ(fake.files.m_strCurrentFolder, "");
}

TEST_F(SelfRegTest, LongPathsArePassedOnWhole) {
  std::string folder = "C:\\App\\" + std::string(1100, 'd');
  fake.files.AddFolder(folder);
  std::string path = folder + "\\srv.exe";
  run.AddProgram(path, 0);
  EXPECT_TRUE(UnregisterServiceExe(path));
  ASSERT_EQ(run.m_runs.size(), 1u);
  EXPECT_EQ(run.m_runs[0].commandLine, "\"" + path + "\" -unregserver");
  EXPECT_EQ(run.m_runs[0].currentFolder, folder);
  ExpectTidy();
}

TEST(FolderOfPath, Table) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\App\\srv.exe", "C:\\App"}, {"srv.exe", ""}, {"", ""}, {"C:\\lib.dll", "C:"}, {"C:\\App\\", "C:\\App"},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

}  // namespace
