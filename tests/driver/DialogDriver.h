// A test driver that watches for the dialogs and message boxes of another
// program, records each one (title, static texts, buttons), saves a
// screenshot of it and answers it by rule: press a button by its text or id,
// select a radio button, press Escape or the close box, or leave it alone.
// A dialog that goes away before it has settled is recorded as first seen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CControlRecord {
  int id = 0;
  std::string className;  // "Static", "Button", ...
  std::string text;
  bool visible = false;
  bool enabled = false;
  int checked = 0;  // BM_GETCHECK for buttons
  LONG style = 0;
};

struct CDialogRecord {
  HWND hwnd = nullptr;
  DWORD processId = 0;
  std::string title;
  std::vector<CControlRecord> controls;
  std::string screenshot;  // file written, or empty
  std::string action;      // what the driver did
  DWORD seenAtMs = 0;      // since the driver started

  // Texts of the static controls and of the buttons, in window order.
  std::vector<std::string> Statics() const;
  std::vector<std::string> Buttons() const;
  const CControlRecord* Control(int id) const;
  // True when the title or any control text contains the text (no regard to case).
  bool Mentions(const std::string& text) const;
};

// A rule: a dialog that mentions `match` (in its title or any control text;
// empty matches every dialog) gets `actions`, a ';'-separated list of
//   press:<button text or #id>   the button, "&" ignored, no regard to case
//   radio:<text or #id>          select that radio button (others cleared)
//   escape                       what the Escape key does (IDCANCEL)
//   close                        the window's close box
//   none                         leave it (a progress window, say)
// A rule with uses > 0 applies that many times, then no more.
struct CDriverRule {
  std::string match;
  std::string actions;
  int uses = -1;
};

class CDialogDriver {
 public:
  CDialogDriver();

  void AddRule(const std::string& match, const std::string& actions, int uses = -1);
  // Screenshots go to this folder (created); empty means none.
  void SetScreenshotFolder(const std::string& folder) { m_strShots = folder; }
  void SetSettleMs(DWORD ms) { m_nSettleMs = ms; }

  // Starts a program (command line as given, current folder optional) and
  // watches until it has ended, and then until no process of any of the
  // extra names runs, or until the time is up. False on a time-out or when
  // the program could not be started.
  bool Run(const std::string& commandLine, DWORD timeoutMs, const std::vector<std::string>& waitForNames = {});
  // Watches the dialogs of any other process until the process ends.
  bool WatchUntilExit(HANDLE process, DWORD timeoutMs);

  const std::vector<CDialogRecord>& Dialogs() const { return m_dialogs; }
  DWORD ExitCode() const { return m_nExitCode; }
  // Dialogs a rule matched that did not close after its action.
  int Unanswered() const { return m_nUnanswered; }
  // A readable log of every dialog seen.
  std::string Log() const;

 private:
  void Poll();
  void Handle(HWND dialog);
  CDialogRecord Snapshot(HWND dialog) const;
  std::string TakeScreenshot(HWND dialog, size_t index, const std::string& title) const;
  bool Apply(HWND dialog, const std::string& actions);

  std::vector<CDriverRule> m_rules;
  std::vector<CDialogRecord> m_dialogs;
  std::vector<HWND> m_handled;
  std::string m_strShots;
  DWORD m_nSettleMs = 250;
  DWORD m_nStart = 0;
  DWORD m_nExitCode = 0;
  int m_nUnanswered = 0;
};

// True while a process of that file name runs (no regard to case).
bool IsProcessRunning(const std::string& exeName);
// Waits until no process of that name runs; false on a time-out.
bool WaitForProcessGone(const std::string& exeName, DWORD timeoutMs);
