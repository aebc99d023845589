#include "app/UninstallApp.h"
#include "app/UninstallDialogs.h"
#include "app/Utilities.h"
#include "system/FileSystem.h"
#include "system/Platform.h"
#include "system/Shell.h"

namespace {

// A banner bitmap of the module folder, or empty when there is none.
std::string BannerPath(const std::string& folder, const std::string& name) {
  std::string path = folder + "\\" + name;
  return FileExists(path) ? path : std::string();
}

}  // namespace

std::string QuoteFolderArgument(const std::string& folder) {
  std::string text = folder;
  while (!text.empty() && text.back() == '\\') text.pop_back();
  return "\"" + text + "\"";
}

int CUninstallApp::RunUninstall() {
  m_info.m_strRecordPath = m_strModuleDir + "\\Setup.qsf";
  m_info.LoadRecord();
  m_strTopBarPath = BannerPath(m_strModuleDir, "TopBar.bmp");
  m_strLeftBarPath = BannerPath(m_strModuleDir, "LeftBar.bmp");
  // A main script with "sftype" 2 takes the scripted path here, once the script engine is there.
  int result = DefaultUninstall();
  if (m_info.m_nState == kStateContinue) {
    std::string folder = m_info.ReadUninstallFolder();
    if (!folder.empty()) LaunchFolderCleanup(folder);
  }
  return result;
}

int CUninstallApp::DefaultUninstall() {
  if (!m_pDialogs || !m_pDialogs->RunProgressDialog(m_info)) return 0;
  // The default path never reports a failure on its finish page.
  m_pDialogs->RunFinishPage(MakeUninstallTitle(&m_info), m_info.GetAppName(), m_info, false);
  return 1;
}

void CUninstallApp::LaunchFolderCleanup(const std::string& folder) {
  IFileSystem& fs = *Sys().files;
  std::string program = fs.GetModuleFilePath();
  std::string temp = fs.GetTempFolder();
  if (program.empty() || temp.empty()) return;
  if (temp.back() != '\\') temp += '\\';
  std::string target = temp + "strQSTemp.exe";
  if (!fs.CopyFileOver(program, target)) return;
  Sys().shell->Execute("Open", target, QuoteFolderArgument(folder), "", kSwShow);
}
