#include "script/runtime/ActiveScriptHostFactory.h"
#include "system/Platform.h"
#include "system/Win32Clock.h"
#include "system/Win32FileSystem.h"
#include "system/Win32ProcessControl.h"
#include "system/Win32ProgramRunner.h"
#include "system/Win32Registry.h"
#include "system/Win32ServiceControl.h"
#include "system/Win32Shell.h"
#include "system/Win32UserInterface.h"

void InstallWin32Platform() {
  static CWin32FileSystem files;
  static CWin32UserInterface ui;
  static CWin32Shell shell;
  static CWin32Clock clock;
  static CWin32Registry registry;
  static CWin32ServiceControl services;
  static CWin32ProcessControl processes;
  static CWin32ProgramRunner programs;
  static CActiveScriptHostFactory scriptHosts;
  CPlatform& p = Sys();
  p.files = &files;
  p.ui = &ui;
  p.shell = &shell;
  p.clock = &clock;
  p.registry = &registry;
  p.services = &services;
  p.processes = &processes;
  p.programs = &programs;
  p.scriptHosts = &scriptHosts;
}
