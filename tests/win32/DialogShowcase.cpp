// Shows one of the program's dialogs the way the uninstall shows it, for
// looking at and for screenshots:
//
//   dialog_showcase <finish|finish-error|reboot|waiting|banner-waiting|progress>
//                   [--language] [--bitmaps] [--folder <dir>] [--seconds <n>]
//
// --language writes a Setup.lr with its own font and texts, --bitmaps writes
// TopBar.bmp and LeftBar.bmp, both into the folder (default: a new folder
// under the temporary folder). Modal pages end as a user ends them; the
// waiting windows stay for --seconds (default 30). The result is printed as
// "result=<n> state=<n> reboot=<n>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Text.h"
#include "app/UninstallApp.h"
#include "app/Utilities.h"
#include "removal/BannerBitmap.h"
#include "removal/DialogBase.h"
#include "removal/DialogLanguage.h"
#include "removal/FinishDialog.h"
#include "removal/RebootDialog.h"
#include "removal/WaitingDialogs.h"
#include "resources/resource.h"
#include "system/Platform.h"
#include "tests/win32/DialogTestSupport.h"

namespace {

const char kShowcaseLanguage[] =
    "[DialogFont]\r\nFontName=DejaVu Serif\r\nFontSize=15\r\n"
    "[WizardButtons]\r\nBack=< Previous\r\nFinish=Close\r\nCancel=Stop\r\n"
    "[SdUnCopyFile]\r\n2029=Removing the program...\r\n1001=Deleting:\r\n"
    "[SdUnInstallFinish]\r\n1004=All Done\r\n1005=The program was removed.\r\n"
    "[SdUninstallReboot]\r\n1004=One More Step\r\n2029=Windows must restart to finish removing %s.\r\n"
    "2067=Restart now\r\n2068=I will restart later\r\n"
    "[Strings]\r\n1012=%s is no longer on this computer.\r\n1016=Removing %s\r\n1019=One moment please...\r\n";

struct COptions {
  std::string strDialog;
  bool bLanguage = false;
  bool bBitmaps = false;
  std::string strFolder;
  int nSeconds = 30;
};

bool ParseOptions(int argc, char** argv, COptions& options) {
  if (argc < 2) return false;
  options.strDialog = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--language") {
      options.bLanguage = true;
    } else if (arg == "--bitmaps") {
      options.bBitmaps = true;
    } else if (arg == "--folder" && i + 1 < argc) {
      options.strFolder = argv[++i];
    } else if (arg == "--seconds" && i + 1 < argc) {
      options.nSeconds = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return true;
}

std::string MakeFolder(const std::string& wanted) {
  std::string folder = wanted;
  if (folder.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "dialog_showcase_" + std::to_string(GetCurrentProcessId());
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Banners that show at a glance where they begin and end.
void WriteBanners(const std::string& folder, CUninstallApp& app) {
  app.m_strTopBarPath = folder + "\\TopBar.bmp";
  WriteBitmapFile(app.m_strTopBarPath, 500, 58, [](int x, int y) {
    if (y >= 20 && y < 38 && x >= 16 && x < 34) return RGB(255, 200, 0);
    return RGB(20, 60 + x * 150 / 500, 140 + y);
  });
  app.m_strLeftBarPath = folder + "\\LeftBar.bmp";
  WriteBitmapFile(app.m_strLeftBarPath, 164, 314, [](int x, int y) {
    if ((x - 82) * (x - 82) + (y - 90) * (y - 90) < 900) return RGB(255, 255, 255);
    return RGB(30, 70 + y * 120 / 314, 150);
  });
}

// The progress template as the uninstall fills it, without any removal.
class CProgressPreview : public CDialogBase {
 public:
  CProgressPreview() : CDialogBase(IDD_UNCOPYFILE) { BindControl(IDC_TOP_BANNER, &m_banner); }
  CInstallInfo* m_pInfo = nullptr;

 protected:
  bool OnInitDialog() override {
    CDialogBase::OnInitDialog();
    ApplyLanguageFont(*this, m_pInfo, m_font);
    SetItemFromLanguage(*this, IDC_MAIN_TEXT, m_pInfo, "SdUnCopyFile", "2029");
    SetItemFromLanguage(*this, IDC_REMOVE_LABEL, m_pInfo, "SdUnCopyFile", "1001");
    SetItemFromLanguage(*this, IDCANCEL, m_pInfo, "WizardButtons", "Cancel");
    if (!TheApp().m_strTopBarPath.empty()) m_banner.m_picture.LoadFromFile(TheApp().m_strTopBarPath);
    ShowItem(IDC_REMOVE_LABEL, true);
    SetItemText(IDC_STATUS, "Remove C:\\Program Files\\Sample\\Sample.exe");
    CProgressBar progress;
    progress.Attach(GetHwnd(), IDC_PROGRESS);
    progress.SetRange(10);
    progress.SetPos(4);
    return true;
  }

 private:
  CGdiFont m_font;
  CBannerStatic m_banner;
};

void RunModeless(CDialogBase& window, int seconds) {
  if (!window.CreateModeless()) return;
  HWND hwnd = window.GetHwnd();
  window.CenterWindow();
  UpdateWindow(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (IsWindow(hwnd) && IsWindowVisible(hwnd) && static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  window.DestroyWindow();
}

}  // namespace

int main(int argc, char** argv) {
  COptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: dialog_showcase <finish|finish-error|reboot|waiting|banner-waiting|progress> "
                 "[--language] [--bitmaps] [--folder <dir>] [--seconds <n>]\n");
    return 2;
  }
  InstallWin32Platform();
  CUninstallApp app;
  std::string folder = MakeFolder(options.strFolder);
  if (options.bLanguage) {
    std::string path = folder + "\\Setup.lr";
    WriteText(path, kShowcaseLanguage);
    app.m_info.m_language.Load("Setup", path);
  }
  if (options.bBitmaps) WriteBanners(folder, app);

  const std::string appName = "Sample Application";
  // The title as the uninstall makes it: text 1016 with the application name.
  std::string title = FormatPattern(LoadText(1016, &app.m_info), {appName});
  INT_PTR result = 0;
  int state = 0;
  const std::string& which = options.strDialog;
  if (which == "finish" || which == "finish-error") {
    CSdUnInstallFinishDlg page;
    page.m_pInfo = &app.m_info;
    page.m_strTitle = title;
    page.m_strAppName = appName;
    page.m_bError = which == "finish-error" ? 1 : 0;
    result = page.DoModal();
    state = page.m_nState;
  } else if (which == "reboot") {
    CSdUninstallRebootDlg page;
    page.m_pInfo = &app.m_info;
    page.m_strTitle = title;
    page.m_strAppName = appName;
    result = page.DoModal();
    state = page.m_nState;
  } else if (which == "waiting") {
    CWaitingDlg window;
    window.m_pInfo = &app.m_info;
    RunModeless(window, options.nSeconds);
  } else if (which == "banner-waiting") {
    CBannerWaitingDlg window;
    window.m_pInfo = &app.m_info;
    RunModeless(window, options.nSeconds);
  } else if (which == "progress") {
    CProgressPreview preview;
    preview.m_pInfo = &app.m_info;
    result = preview.DoModal();
  } else {
    std::fprintf(stderr, "unknown dialog: %s\n", which.c_str());
    return 2;
  }
  std::printf("result=%d state=%d reboot=%d\n", static_cast<int>(result), state, app.m_info.m_bReboot);
  return 0;
}
