// The seam between the program's logic and the operating system.
//
// Everything that reaches the system goes through one of these interfaces.
// The Windows program installs the Win32 implementations at start-up
// (InstallWin32Platform); native tests install in-memory stand-ins.
#pragma once

class IFileSystem;
class IUserInterface;
class IShell;
class IClock;
class IRegistry;
class IServiceControl;
class IProcessControl;
class IProgramRunner;
class IScriptHostFactory;

struct CPlatform {
  IFileSystem* files = nullptr;
  IUserInterface* ui = nullptr;
  IShell* shell = nullptr;
  IClock* clock = nullptr;
  IRegistry* registry = nullptr;
  IServiceControl* services = nullptr;
  IProcessControl* processes = nullptr;
  IProgramRunner* programs = nullptr;
  IScriptHostFactory* scriptHosts = nullptr;
};

// The process-wide seam. Its members stay null until an implementation is installed.
CPlatform& Sys();

#ifdef _WIN32
// Points every member of Sys() at the real Win32 implementation.
void InstallWin32Platform();
#endif
