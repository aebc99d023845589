// The progress dialog through its real window: the order of its
// initialisation, the worker run once with the dialog as its view, what the
// window shows before each step that reaches another program and at the
// end, the bounded rate of its updates, and Cancel, Escape and the close box
// hiding it while the removal goes on.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "removal/ProgressDialog.h"
#include "resources/resource.h"
#include "tests/win32/DialogTestSupport.h"
#include "tests/win32/TempFolder.h"

namespace {

typedef std::vector<std::string> Texts;

// What the window shows, read by a step or at the final OK.
struct CProgressView {
  std::string title, heading, label, status, cancel;
  bool labelVisible = false, windowVisible = false;
  int pos = 0, high = 0;
  Texts faces;  // font face of every control that keeps a font, in window order
  std::string dialogFace;
};

// Pictures and lines take no font.
BOOL CALLBACK AddFace(HWND child, LPARAM param) {
  LOGFONTA font = {};
  if (WindowFont(child, font)) reinterpret_cast<Texts*>(param)->push_back(font.lfFaceName);
  return TRUE;
}

CProgressView Capture(CDialogBase& dialog) {
  CProgressView v;
  v.title = WindowTitle(dialog.GetHwnd());
  v.heading = dialog.GetItemText(IDC_MAIN_TEXT);
  v.label = dialog.GetItemText(IDC_REMOVE_LABEL);
  v.status = dialog.GetItemText(IDC_STATUS);
  v.cancel = dialog.GetItemText(IDCANCEL);
  v.labelVisible = IsWindowVisible(dialog.GetItem(IDC_REMOVE_LABEL)) != 0;
  v.windowVisible = IsWindowVisible(dialog.GetHwnd()) != 0;
  v.pos = static_cast<int>(SendMessageA(dialog.GetItem(IDC_PROGRESS), PBM_GETPOS, 0, 0));
  v.high = static_cast<int>(SendMessageA(dialog.GetItem(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));
  EnumChildWindows(dialog.GetHwnd(), AddFace, reinterpret_cast<LPARAM>(&v.faces));
  LOGFONTA font = {};
  if (WindowFont(dialog.GetHwnd(), font)) v.dialogFace = font.lfFaceName;
  return v;
}

// Counts what reaches the status line and the bar.
int g_nStatusTexts = 0;
int g_nBarPositions = 0;
const char kOriginalProc[] = "UninstTestOriginalProc";

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++g_nStatusTexts;
  if (message == PBM_SETPOS) ++g_nBarPositions;
  auto original = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOriginalProc));
  return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

void CountUpdates(HWND control) {
  SetPropA(control, kOriginalProc,
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc))));
}

// The dialog with its view calls, its Cancel and its final state noted.
class CObservedProgressDlg : public CSdUnCopyFileDlg {
 public:
  using CSdUnCopyFileDlg::CSdUnCopyFileDlg;

  void SetStatus(const std::string& text) override {
    m_arrStatuses.push_back(text);
    CSdUnCopyFileDlg::SetStatus(text);
  }

  Texts m_arrStatuses;
  int m_nCancels = 0;
  bool m_bEnded = false;
  CProgressView m_atOk;

 protected:
  bool OnInitDialog() override {
    bool result = CSdUnCopyFileDlg::OnInitDialog();
    g_nStatusTexts = g_nBarPositions = 0;
    CountUpdates(GetItem(IDC_STATUS));
    CountUpdates(GetItem(IDC_PROGRESS));
    return result;
  }
  void OnOK() override {
    m_bEnded = true;
    m_atOk = Capture(*this);
    CSdUnCopyFileDlg::OnOK();
  }
  void OnCancel() override {
    ++m_nCancels;
    CSdUnCopyFileDlg::OnCancel();
  }
};

// Notes each step with what the window shows at that moment, and may act
// like a user at the first step.
class CWatchingSteps : public IRemovalSteps {
 public:
  void StopAndDeleteService(const std::string& path) override { Note("service " + path); }
  void EndProcesses(const std::string& path) override { Note("end processes " + path); }
  void UnregisterComServer(const std::string& path) override { Note("unregister com " + path); }
  void UnregisterServiceExe(const std::string& path) override { Note("unregister exe " + path); }

  CDialogBase* m_pDialog = nullptr;
  std::function<void(CDialogBase&)> m_firstStep;
  Texts m_arrSeen;  // "<step> | <status line> | label shown/hidden"

 private:
  void Note(const std::string& step) {
    m_arrSeen.push_back(step + " | " + m_pDialog->GetItemText(IDC_STATUS) + " | " +
                        (IsWindowVisible(m_pDialog->GetItem(IDC_REMOVE_LABEL)) ? "label shown" : "label hidden"));
    if (m_firstStep) {
      auto act = std::move(m_firstStep);
      m_firstStep = nullptr;
      act(*m_pDialog);
    }
  }
};

class ProgressDialogTest : public ::testing::Test {
 protected:
  ProgressDialogTest() { m_dialog.m_pInfo = &m_app.m_info; m_steps.m_pDialog = &m_dialog; }

  void LoadRecord(const std::string& text) {
    m_app.m_info.m_strRecordPath = m_folder.WriteFile("Setup.qsf", text);
    m_app.m_info.LoadRecord();
  }
  std::string File(const std::string& name) { return m_folder.WriteFile("App\\" + name, "x"); }
  bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  CUninstallApp m_app;
  CTempFolder m_folder{"progress"};
  CWatchingSteps m_steps;
  CObservedProgressDlg m_dialog{m_steps};
};

TEST_F(ProgressDialogTest, WorkerRunsOnceShowingEachStepBeforeItRunsAndEndsWithOk) {
  std::string svc = File("svc.exe"), dll = File("srv.dll"), text = File("readme.txt");
  std::string folder = m_folder.Path() + "\\App";
  std::string key = "Software\\UninstTestProgress_" + std::to_string(GetCurrentProcessId());
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (key + "\\App").c_str(), &created), ERROR_SUCCESS);
  RegCloseKey(created);
  LoadRecord("[CopyFile]\r\nItem1=" + svc + "\r\nItem1_RegType=2\r\nItem2=" + dll + "\r\nItem2_RegType=1\r\n"
             "Item3=" + text + "\r\n[CreateDir]\r\nItem1=" + folder + "\r\n"
             "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER," + key + ",App\r\n[Comm]\r\nAppName=Demo\r\n");

  EXPECT_EQ(m_dialog.DoModal(), IDOK);

  EXPECT_EQ(m_steps.m_arrSeen, Texts({
                                   "service " + svc + " | Stop service " + svc + " | label hidden",
                                   "end processes " + svc + " | Cleaning application : " + svc + " | label shown",
                                   "unregister exe " + svc + " | UnRegist " + svc + " | label hidden",
                                   "unregister com " + dll + " | UnRegist " + dll + " | label hidden",
                               }));
  EXPECT_EQ(m_dialog.m_arrStatuses.front(), "Init Data...");
  EXPECT_EQ(std::count(m_dialog.m_arrStatuses.begin(), m_dialog.m_arrStatuses.end(), "Init Data..."), 1)
      << "the worker ran once";
  ASSERT_TRUE(m_dialog.m_bEnded);
  const CProgressView& end = m_dialog.m_atOk;
  EXPECT_EQ(end.title, "Uninstall");
  EXPECT_EQ(end.heading, "Program is uninstalling...");
  EXPECT_EQ(end.label, "Remove:");
  EXPECT_FALSE(end.labelVisible);
  EXPECT_EQ(end.status, "Remove RegInfo") << "the status line keeps the last text";
  EXPECT_EQ(end.cancel, "Cancel");
  EXPECT_TRUE(end.windowVisible);
  // 1 program + 1 service + 2 self-registered + 3 files + 1 folder + 1 key + 2
  EXPECT_EQ(end.high, 11);
  EXPECT_EQ(end.pos, 11) << "one step more than the range leaves the bar full";
  EXPECT_EQ(m_dialog.m_nPos, 12);
  EXPECT_EQ(m_dialog.m_strStatus, "Remove RegInfo");
  EXPECT_EQ(m_dialog.m_strLabel, "Program is uninstalling...");
  ASSERT_NE(m_dialog.m_pWorker, nullptr);
  EXPECT_EQ(m_dialog.m_pWorker->m_arrFiles, Texts({svc, dll, text}));
  EXPECT_EQ(m_dialog.m_nState, 0);
  for (const std::string& path : {svc, dll, text, folder}) EXPECT_FALSE(Exists(path)) << path;
  HKEY opened = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\App").c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

// A window that runs a function when its message arrives.
class CProbeWindow {
 public:
  explicit CProbeWindow(std::function<void()> onMessage) : m_onMessage(std::move(onMessage)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CProbeWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "UninstTestProbe";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("UninstTestProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~CProbeWindow() { DestroyWindow(m_hWnd); }
  void Post() { PostMessageA(m_hWnd, WM_APP, 0, 0); }
  int m_nCalls = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CProbeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == WM_APP) {
      ++self->m_nCalls;
      self->m_onMessage();
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  HWND m_hWnd = nullptr;
  std::function<void()> m_onMessage;
};

TEST_F(ProgressDialogTest, InitialisationSendsTheFontLetsOneMessageThroughThenPostsTheStartThenSetsBannerAndTexts) {
  std::string language = m_folder.WriteFile(
      "Setup.lr",
      "[DialogFont]\r\nFontName=Arial\r\nFontSize=15\r\n[WizardButtons]\r\nCancel=Stop\r\n"
      "[SdUnCopyFile]\r\n2029=Removing...\r\n1001=Deleting:\r\n[Strings]\r\n1008=Weg: %s\r\n");
  ASSERT_TRUE(m_app.m_info.m_language.Load("Setup", language));
  m_app.m_strTopBarPath = m_folder.Path() + "\\TopBar.bmp";
  WriteSolidBitmapFile(m_app.m_strTopBarPath, 300, 40, RGB(0, 0, 128));
  std::string text = File("a.txt");
  LoadRecord("[CopyFile]\r\nItem1=" + text + "\r\n[Comm]\r\nAppName=Demo\r\n");

  // The message waiting when the dialog opens is the one its initialisation lets through.
  CProgressView atProbe;
  bool startWaiting = true, bannerLoaded = true;
  CProbeWindow probe([&] {
    atProbe = Capture(m_dialog);
    MSG start;
    startWaiting = PeekMessageA(&start, m_dialog.GetHwnd(), WM_START_REMOVE, WM_START_REMOVE, PM_NOREMOVE) != 0;
    bannerLoaded = m_dialog.m_banner.m_picture.m_bitmap != nullptr;
  });
  probe.Post();
  EXPECT_EQ(m_dialog.DoModal(), IDOK);

  ASSERT_EQ(probe.m_nCalls, 1);
  EXPECT_EQ(atProbe.faces, Texts(atProbe.faces.size(), "Arial")) << "the font went to every control first";
  EXPECT_EQ(atProbe.faces.size(), 5u) << "three labels, the bar and the button";
  EXPECT_EQ(atProbe.dialogFace, "MS Sans Serif") << "the dialog window keeps its template font";
  EXPECT_FALSE(startWaiting) << "the start is posted after the message let through";
  EXPECT_FALSE(bannerLoaded);
  EXPECT_EQ(atProbe.heading, "Program is uninstalling...");
  EXPECT_EQ(atProbe.cancel, "Cancel");

  const CProgressView& end = m_dialog.m_atOk;
  EXPECT_EQ(end.heading, "Removing...");
  EXPECT_EQ(end.label, "Deleting:");
  EXPECT_EQ(end.cancel, "Stop");
  EXPECT_EQ(end.faces, atProbe.faces);
  EXPECT_NE(m_dialog.m_banner.m_picture.m_bitmap, nullptr);
  EXPECT_NE(std::find(m_dialog.m_arrStatuses.begin(), m_dialog.m_arrStatuses.end(), "Weg: " + text),
            m_dialog.m_arrStatuses.end());
  EXPECT_FALSE(Exists(text));
}

TEST_F(ProgressDialogTest, ALongListReachesTheWindowAtABoundedRateAndEndsShowingTheFinalState) {
  const int kFiles = 400;
  std::string record = "[CopyFile]\r\n";
  std::vector<std::string> files;
  for (int i = 1; i <= kFiles; ++i) {
    files.push_back(File("f" + std::to_string(i) + ".dat"));
    record += "Item" + std::to_string(i) + "=" + files.back() + "\r\n";
  }
  record += "[ShellObj]\r\nItem1=Shortcut," + File("Demo.lnk") + "\r\n";
  LoadRecord(record);

  EXPECT_EQ(m_dialog.DoModal(), IDOK);

  // Every status text the worker set, in order, but far fewer reached the window.
  ASSERT_EQ(m_dialog.m_arrStatuses.size(), static_cast<size_t>(kFiles + 4));
  EXPECT_EQ(m_dialog.m_arrStatuses[2], "Remove " + files[0]);
  EXPECT_LT(g_nStatusTexts, kFiles / 4);
  EXPECT_LT(g_nBarPositions, kFiles / 4);
  EXPECT_GT(g_nStatusTexts, 0);
  EXPECT_EQ(m_dialog.m_atOk.status, "Remove ShellObj ");
  EXPECT_EQ(m_dialog.m_atOk.high, kFiles + 3);
  EXPECT_EQ(m_dialog.m_atOk.pos, kFiles + 3);
  for (const std::string& path : files) ASSERT_FALSE(Exists(path)) << path;
}

struct CHideCase {
  const char* what;
  void (*act)(CDialogBase&);
};

TEST_F(ProgressDialogTest, CancelEscapeAndTheCloseBoxHideTheDialogWhileRemovalGoesOnAndOkDecides) {
  const CHideCase cases[] = {
      {"Cancel", [](CDialogBase& d) { ClickButton(d, IDCANCEL); }},
      {"Escape", [](CDialogBase& d) { PressEscape(d); }},
      {"close box", [](CDialogBase& d) { PressCloseBox(d); }},
  };
  for (const CHideCase& c : cases) {
    SCOPED_TRACE(c.what);
    CWatchingSteps steps;
    CObservedProgressDlg dialog(steps);
    dialog.m_pInfo = &m_app.m_info;
    steps.m_pDialog = &dialog;
    steps.m_firstStep = c.act;
    std::string program = File("App.exe");
    std::string record = "[CopyFile]\r\nItem1=" + program + "\r\n";
    std::vector<std::string> files;
    for (int i = 2; i <= 30; ++i) {
      files.push_back(File("f" + std::to_string(i) + ".txt"));
      record += "Item" + std::to_string(i) + "=" + files.back() + "\r\n";
    }
    m_app.m_info.m_bLoaded = 0;
    LoadRecord(record);

    EXPECT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(dialog.m_nCancels, 1);
    ASSERT_TRUE(dialog.m_bEnded) << "the worker went on to its end";
    EXPECT_FALSE(dialog.m_atOk.windowVisible);
    EXPECT_EQ(dialog.m_atOk.pos, 33);
    for (const std::string& path : files) EXPECT_FALSE(Exists(path)) << path;
    EXPECT_FALSE(Exists(program));
  }
}

}  // namespace
