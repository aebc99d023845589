#include "app/UninstallApp.h"

#include "app/FolderCleanup.h"
#include "app/Text.h"
#include "app/Utilities.h"
#include "system/Platform.h"
#include "system/Shell.h"
#include "system/UserInterface.h"

namespace {

CUninstallApp* g_pApp = nullptr;

// The start-up read of "AppName" takes at most 199 characters.
constexpr size_t kAppNameBuffer = 200;

std::string WithoutExtension(const std::string& name) {
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

CUninstallApp::CUninstallApp() { g_pApp = this; }

CUninstallApp::~CUninstallApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

CUninstallApp& TheApp() { return *g_pApp; }

std::string TakeArgument(const std::vector<std::string>& args) {
  for (const std::string& arg : args)
    if (!arg.empty() && arg[0] != '-' && arg[0] != '/') return arg;
  return std::string();
}

bool CUninstallApp::InitInstance(const std::vector<std::string>& args) {
  Sys().shell->InitializeCom();

  std::string argument = TakeArgument(args);
  if (EqualsNoCase(argument, "RunOnTempDir")) m_bRunOnTempDir = 1;

  m_strModuleDir = GetModuleDir();
  std::string moduleName = GetModuleName();

  std::string languagePath = m_strModuleDir + "\\Setup.lr";
  if (FileExists(languagePath)) m_info.m_language.Load("Setup", languagePath);

  if (EqualsNoCase(moduleName, "UnInstall.exe")) {
    RunUninstallMode();
  } else if (EqualsNoCase(moduleName, "strQSTemp.exe")) {
    // An empty argument names no folder and deletes nothing.
    if (!argument.empty()) CleanUpUninstallFolder(argument, kCleanupTimeoutMs);
  }
  return false;
}

void CUninstallApp::RunUninstallMode() {
  m_info.m_strCheckPath = m_strModuleDir + "\\Setup.Qsf";
  IUserInterface& ui = *Sys().ui;
  if (!FileExists(m_info.m_strCheckPath)) {
    ui.ShowMessageBox(LoadText(1013, &m_info), WithoutExtension(GetModuleName()), kMbOk);
    return;
  }
  std::string appName = Sys().files->ReadProfileString(m_info.m_strCheckPath, "Comm", "AppName", "", kAppNameBuffer);
  std::string question = FormatPattern(LoadText(1014, &m_info), {appName});
  if (ui.ShowMessageBox(question, appName, kMbYesNo | kMbIconQuestion) != kIdYes) return;
  RunUninstall();
  if (m_info.m_bReboot) RestartWindows();
}
