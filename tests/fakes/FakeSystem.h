// Stand-ins for message boxes, the shell and the clock, and the platform
// that native tests install.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "system/Clock.h"
#include "system/Platform.h"
#include "system/Shell.h"
#include "system/UserInterface.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeProcessControl.h"
#include "tests/fakes/FakeProgramRunner.h"
#include "tests/fakes/FakeRegistry.h"
#include "tests/fakes/FakeScriptHost.h"
#include "tests/fakes/FakeServiceControl.h"

struct CShownMessage {
  std::string text;
  std::string caption;
  unsigned type = 0;
};

class CFakeUserInterface : public IUserInterface {
 public:
  // Answers given to the next message boxes in turn; kIdOk once they run out.
  std::deque<int> m_answers;
  std::vector<CShownMessage> m_shown;
  int m_nPumped = 0;

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
  bool PumpOneMessage() override;
};

struct CShellNotification {
  int32_t events = 0;
  unsigned flags = 0;
  std::string path;
};

struct CShellExecution {
  std::string verb, file, parameters, folder;
  int show = 0;
};

class CFakeShell : public IShell {
 public:
  std::vector<CShellNotification> m_notifications;
  std::vector<CShellExecution> m_executions;
  std::vector<std::string> m_wellKnown = {"C:\\Windows", "C:\\Windows\\system32", "C:\\Program Files",
                                          "C:\\users\\root", "C:\\users\\root\\Desktop", "C:\\Temp", "C:\\users"};
  bool m_bExecuteResult = true;
  bool m_bRestartResult = true;
  int m_nRestarts = 0;
  int m_nComInits = 0;

  void ChangeNotify(int32_t events, unsigned flags, const std::string& path) override;
  bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& folder, int show) override;
  bool RestartWindows() override;
  std::vector<std::string> WellKnownFolders() override { return m_wellKnown; }
  void InitializeCom() override { ++m_nComInits; }
  // Distinct GUIDs in turn, or none when m_bGuidFails.
  std::string NewGuidString() override;
  bool m_bGuidFails = false;
  unsigned m_nGuids = 0;
};

// Time moves only when someone sleeps, plus a step per reading so that busy
// loops end.
class CFakeClock : public IClock {
 public:
  uint32_t m_nNow = 1000;
  uint32_t m_nStepPerRead = 0;
  uint32_t m_nSlept = 0;
  uint32_t TickCount() override {
    uint32_t now = m_nNow;
    m_nNow += m_nStepPerRead;
    return now;
  }
  void Sleep(uint32_t ms) override {
    m_nNow += ms;
    m_nSlept += ms;
  }
};

// Installs the stand-ins into Sys() for the life of the object and puts
// back what was there before.
class CFakePlatform {
 public:
  CFakePlatform();
  ~CFakePlatform();
  CFakePlatform(const CFakePlatform&) = delete;
  CFakePlatform& operator=(const CFakePlatform&) = delete;

  CFakeFileSystem files;
  CFakeUserInterface ui;
  CFakeShell shell;
  CFakeClock clock;
  CFakeRegistry registry;
  CFakeServiceControl services;
  CFakeProcessControl processes;
  CFakeProgramRunner programs;
  CFakeScriptHostFactory scriptHosts;

 private:
  CPlatform m_saved;
};
