// The finish and restart pages and the two waiting windows, seen through
// their real windows: texts, states, fonts, the language file's
// replacements, the banner areas and the results.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/UninstallApp.h"
#include "removal/FinishDialog.h"
#include "removal/RebootDialog.h"
#include "removal/WaitingDialogs.h"
#include "resources/resource.h"
#include "tests/win32/DialogTestSupport.h"
#include "tests/win32/TempFolder.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Every key the dialogs ask for; the restart page's section is written in
// another letter case on purpose.
const char kFullLanguage[] =
    "[DialogFont]\r\nFontName=Arial\r\nFontSize=15\r\n"
    "[WizardButtons]\r\nBack=Go back\r\nFinish=Done\r\nCancel=Stop\r\n"
    "[SdUnInstallFinish]\r\n1004=All done\r\n1005=Removed\r\n"
    "[SDUNINSTALLREBOOT]\r\n1004=Restart needed\r\n2029=Restart to finish %s.\r\n2067=Now\r\n2068=Later\r\n"
    "[Strings]\r\n1012=%s is gone.\r\n1019=Please wait\r\n";

// A language file without any dialog section.
const char kStringsOnly[] = "[Strings]\r\n1012=%s went away.\r\n";

class WizardTest : public ::testing::Test {
 protected:
  CUninstallApp m_app;
  CTempFolder m_folder{"wizard"};

  void UseLanguage(const char* content) {
    std::string path = m_folder.WriteFile("Setup.lr", content);
    ASSERT_TRUE(m_app.m_info.m_language.Load("Setup", path));
  }
  void UseLeftBar() {
    m_app.m_strLeftBarPath = m_folder.Path() + "\\LeftBar.bmp";
    WriteSolidBitmapFile(m_app.m_strLeftBarPath, 40, 80, RGB(0, 128, 0));
  }
  void UseTopBar() {
    m_app.m_strTopBarPath = m_folder.Path() + "\\TopBar.bmp";
    WriteSolidBitmapFile(m_app.m_strTopBarPath, 300, 40, RGB(0, 0, 128));
  }
};

// What a page shows, read while it is open.
struct CPageView {
  std::string title, heading, line, text, back, finish, yes, no;
  bool backEnabled = true, finishEnabled = false, bannerVisible = false, secondAreaVisible = true;
  bool yesChecked = false, noChecked = false;
  LOGFONTA dialogFont = {}, textControlFont = {};
  bool textControlHasFont = false;
  COLORREF above = 0, below = 0;  // right of the labels, above and below the etched line
};

CPageView Capture(CDialogBase& dialog) {
  CPageView v;
  HWND hwnd = dialog.GetHwnd();
  v.title = WindowTitle(hwnd);
  v.heading = dialog.GetItemText(IDC_HEADING);
  v.line = dialog.GetItemText(IDC_RESULT_LINE);
  v.text = dialog.GetItemText(IDC_MAIN_TEXT);
  v.back = dialog.GetItemText(IDC_BACK);
  v.finish = dialog.GetItemText(IDOK);
  v.yes = dialog.GetItemText(IDC_REBOOT_YES);
  v.no = dialog.GetItemText(IDC_REBOOT_NO);
  v.backEnabled = IsWindowEnabled(dialog.GetItem(IDC_BACK)) != 0;
  v.finishEnabled = IsWindowEnabled(dialog.GetItem(IDOK)) != 0;
  v.bannerVisible = IsWindowVisible(dialog.GetItem(IDC_LEFT_BANNER)) != 0;
  v.secondAreaVisible = IsWindowVisible(dialog.GetItem(IDC_SECOND_AREA)) != 0;
  v.yesChecked = IsChecked(dialog.GetItem(IDC_REBOOT_YES));
  v.noChecked = IsChecked(dialog.GetItem(IDC_REBOOT_NO));
  WindowFont(hwnd, v.dialogFont);
  v.textControlHasFont = WindowFont(dialog.GetItem(IDC_MAIN_TEXT), v.textControlFont);
  RECT client;
  GetClientRect(hwnd, &client);
  v.above = PixelAt(hwnd, client.right - 3, 3);
  v.below = PixelAt(hwnd, client.right - 3, client.bottom - 3);
  return v;
}

bool SameFace(const LOGFONTA& a, const char* face) { return std::strcmp(a.lfFaceName, face) == 0; }

// ---- Finish page

struct CFinishTextCase {
  int error;
  const char* line;
  const char* text;
};

TEST_F(WizardTest, FinishPageWithoutLanguageFileShowsTheBuiltInTextsOnAWhitePage) {
  const CFinishTextCase cases[] = {
      {0, "Uninstall is successfully!", "MyApp has been successfully uninstalled."},
      {1, "Uninstall is error!", "MyApp has not been successfully uninstalled."},
  };
  for (const CFinishTextCase& c : cases) {
    SCOPED_TRACE(c.error);
    CSdUnInstallFinishDlg page;
    page.m_pInfo = &m_app.m_info;
    page.m_strTitle = "Uninstall MyApp";
    page.m_strAppName = "MyApp";
    page.m_bError = c.error;
    CPageView v;
    HICON bigIcon = nullptr;
    INT_PTR result = RunModal(page, [&](CDialogBase& dialog) {
      v = Capture(dialog);
      bigIcon = reinterpret_cast<HICON>(SendMessageA(dialog.GetHwnd(), WM_GETICON, ICON_BIG, 0));
      ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(v.title, "Uninstall MyApp");
    EXPECT_EQ(v.heading, "Uninstall Wizard Complete");
    EXPECT_EQ(v.line, c.line);
    EXPECT_EQ(v.text, c.text);
    EXPECT_EQ(v.back, "< &Back");
    EXPECT_FALSE(v.backEnabled);
    EXPECT_EQ(v.finish, "Finish");
    EXPECT_TRUE(v.finishEnabled);
    EXPECT_TRUE(v.bannerVisible);
    EXPECT_NE(page.m_hIcon, nullptr);
    EXPECT_EQ(bigIcon, page.m_hIcon);
    EXPECT_EQ(v.above, kWhite);
    EXPECT_EQ(v.below, GetSysColor(COLOR_3DFACE));

    // The heading is the template font made bold; the other labels keep it.
    EXPECT_TRUE(SameFace(v.dialogFont, "Tahoma"));
    EXPECT_TRUE(SameFace(page.m_heading.m_logFont, "Tahoma"));
    EXPECT_EQ(page.m_heading.m_logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(page.m_heading.m_logFont.lfHeight, v.dialogFont.lfHeight);
    for (const CTextLabel* label : {&page.m_resultLine, &page.m_resultText}) {
      EXPECT_TRUE(SameFace(label->m_logFont, "Tahoma"));
      EXPECT_EQ(label->m_logFont.lfWeight, v.dialogFont.lfWeight);
      EXPECT_NE(label->m_logFont.lfWeight, FW_BOLD);
    }
  }
}

TEST_F(WizardTest, FinishPageTakesFontAndTextsFromTheLanguageFile) {
  UseLanguage(kFullLanguage);
  CSdUnInstallFinishDlg page;
  page.m_pInfo = &m_app.m_info;
  page.m_strAppName = "MyApp";
  CPageView v;
  RunModal(page, [&](CDialogBase& dialog) {
    v = Capture(dialog);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(v.heading, "All done");
  EXPECT_EQ(v.line, "Removed");
  EXPECT_EQ(v.text, "MyApp is gone.");
  EXPECT_EQ(v.back, "Go back");
  EXPECT_EQ(v.finish, "Done");

  ASSERT_TRUE(v.textControlHasFont);
  EXPECT_TRUE(SameFace(v.textControlFont, "Arial"));
  EXPECT_EQ(v.textControlFont.lfHeight, 15);
  EXPECT_TRUE(SameFace(v.dialogFont, "Tahoma")) << "the dialog window keeps the template font";
  EXPECT_TRUE(SameFace(page.m_heading.m_logFont, "Tahoma"));
  EXPECT_EQ(page.m_heading.m_logFont.lfWeight, FW_BOLD);
  EXPECT_TRUE(SameFace(page.m_resultText.m_logFont, "Arial"));
  EXPECT_EQ(page.m_resultText.m_logFont.lfHeight, 15);
}

TEST_F(WizardTest, FinishPageWithALanguageFileLackingItsSectionsShowsEmptyTexts) {
  UseLanguage(kStringsOnly);
  CSdUnInstallFinishDlg page;
  page.m_pInfo = &m_app.m_info;
  page.m_strAppName = "MyApp";
  CPageView v;
  RunModal(page, [&](CDialogBase& dialog) {
    v = Capture(dialog);
    ClickButton(dialog, IDOK);
  });
  EXPECT_EQ(v.heading, "");
  EXPECT_EQ(v.line, "") << "the missing key 1005 replaces the result line too";
  EXPECT_EQ(v.text, "MyApp went away.");
  EXPECT_EQ(v.back, "");
  EXPECT_EQ(v.finish, "");
}

struct CEndCase {
  const char* name;
  void (*end)(CDialogBase&);
  INT_PTR result;
  int state;
};

const CEndCase kEndCases[] = {
    {"Finish", [](CDialogBase& d) { ClickButton(d, IDOK); }, IDOK, kDialogStateFinish},
    {"Escape", [](CDialogBase& d) { PressEscape(d); }, IDCANCEL, kDialogStateCancel},
    {"close box", [](CDialogBase& d) { PressCloseBox(d); }, IDCANCEL, kDialogStateCancel},
};

TEST_F(WizardTest, FinishPageStateIsFinishAfterFinishAndCancelOtherwise) {
  for (const CEndCase& c : kEndCases) {
    SCOPED_TRACE(c.name);
    CSdUnInstallFinishDlg page;
    page.m_pInfo = &m_app.m_info;
    EXPECT_EQ(page.m_nState, kDialogStateCancel);
    EXPECT_EQ(RunModal(page, c.end), c.result);
    EXPECT_EQ(page.m_nState, c.state);
  }
}

TEST_F(WizardTest, FinishPageShowsTheLeftBannerAreaWithOrWithoutTheFile) {
  for (bool withFile : {false, true}) {
    SCOPED_TRACE(withFile);
    if (withFile) UseLeftBar();
    CSdUnInstallFinishDlg page;
    page.m_pInfo = &m_app.m_info;
    CPageView v;
    RunModal(page, [&](CDialogBase& dialog) {
      v = Capture(dialog);
      ClickButton(dialog, IDOK);
    });
    EXPECT_TRUE(v.bannerVisible);
    EXPECT_EQ(page.m_banner.m_picture.m_bitmap != nullptr, withFile);
    EXPECT_EQ(page.m_banner.m_picture.m_nResourceId, withFile ? 0 : IDB_LEFT_BANNER);
  }
}

// ---- Restart page

TEST_F(WizardTest, RebootPageWithoutLanguageFileAsksWithYesSelected) {
  CSdUninstallRebootDlg page;
  page.m_pInfo = &m_app.m_info;
  page.m_strTitle = "Uninstall MyApp";
  page.m_strAppName = "MyApp";
  CPageView v;
  RunModal(page, [&](CDialogBase& dialog) {
    v = Capture(dialog);
    PressEscape(dialog);
  });
  EXPECT_EQ(v.title, "Uninstall MyApp");
  EXPECT_EQ(v.heading, "Uninstall Wizard Complete");
  EXPECT_EQ(v.text, "It will restart your computer to complete MyApp installation.");
  EXPECT_EQ(page.m_text.m_nFormat, static_cast<UINT>(DT_WORDBREAK));
  EXPECT_EQ(page.m_heading.m_nFormat, static_cast<UINT>(DT_VCENTER | DT_SINGLELINE));
  EXPECT_EQ(v.yes, "Yes,I want to restart my computer now.");
  EXPECT_EQ(v.no, "No,I will restart my computer later.");
  EXPECT_TRUE(v.yesChecked);
  EXPECT_FALSE(v.noChecked);
  EXPECT_EQ(v.back, "< &Back");
  EXPECT_FALSE(v.backEnabled);
  EXPECT_EQ(v.finish, "Finish");
  EXPECT_FALSE(v.bannerVisible) << "no LeftBar.bmp: the area stays hidden";
  EXPECT_FALSE(v.secondAreaVisible);
  EXPECT_EQ(v.above, kWhite);
  EXPECT_EQ(page.m_heading.m_logFont.lfWeight, FW_BOLD);
  EXPECT_TRUE(SameFace(page.m_heading.m_logFont, "Tahoma"));
}

TEST_F(WizardTest, RebootPageShowsTheLeftBannerOnlyWithTheFile) {
  UseLeftBar();
  CSdUninstallRebootDlg page;
  page.m_pInfo = &m_app.m_info;
  CPageView v;
  RunModal(page, [&](CDialogBase& dialog) {
    v = Capture(dialog);
    PressEscape(dialog);
  });
  EXPECT_TRUE(v.bannerVisible);
  EXPECT_NE(page.m_banner.m_picture.m_bitmap, nullptr);
}

struct CRebootCase {
  const char* name;
  bool selectNo;
  void (*end)(CDialogBase&);
  INT_PTR result;
  int reboot;
  int state;
};

TEST_F(WizardTest, RebootPageRecordsTheAnswer) {
  const CRebootCase cases[] = {
      {"Finish with Yes", false, [](CDialogBase& d) { ClickButton(d, IDOK); }, IDOK, 1, kDialogStateFinish},
      {"Finish with No", true, [](CDialogBase& d) { ClickButton(d, IDOK); }, IDOK, 0, kDialogStateFinish},
      {"Escape", false, [](CDialogBase& d) { PressEscape(d); }, IDCANCEL, 0, kDialogStateCancel},
      {"close box", false, [](CDialogBase& d) { PressCloseBox(d); }, IDCANCEL, 0, kDialogStateCancel},
  };
  for (const CRebootCase& c : cases) {
    SCOPED_TRACE(c.name);
    CInstallInfo info;
    CSdUninstallRebootDlg page;
    page.m_pInfo = &info;
    EXPECT_EQ(page.m_nState, kDialogStateCancel);
    bool yesAfterSelecting = true;
    INT_PTR result = RunModal(page, [&](CDialogBase& dialog) {
      if (c.selectNo) SendMessageA(dialog.GetItem(IDC_REBOOT_NO), BM_CLICK, 0, 0);
      yesAfterSelecting = IsChecked(dialog.GetItem(IDC_REBOOT_YES));
      c.end(dialog);
    });
    EXPECT_EQ(yesAfterSelecting, !c.selectNo) << "the two radio buttons form one group";
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(info.m_bReboot, c.reboot);
    EXPECT_EQ(page.m_nState, c.state);
  }
}

struct CRebootLanguageCase {
  const char* name;
  const char* language;
  const char* heading;
  const char* text;
  const char* yes;
  const char* no;
  const char* back;
  const char* finish;
};

TEST(WizardPages, RebootPageTakesItsTextsFromTheLanguageFile) {
  const CRebootLanguageCase cases[] = {
      {"full", kFullLanguage, "Restart needed", "Restart to finish MyApp.", "Now", "Later", "Go back", "Done"},
      {"without its section", kStringsOnly, "", "", "", "", "", ""},
  };
  for (const CRebootLanguageCase& c : cases) {
    SCOPED_TRACE(c.name);
    CUninstallApp app;
    CTempFolder folder("reboot_language");
    ASSERT_TRUE(app.m_info.m_language.Load("Setup", folder.WriteFile("Setup.lr", c.language)));
    CSdUninstallRebootDlg page;
    page.m_pInfo = &app.m_info;
    page.m_strAppName = "MyApp";
    CPageView v;
    RunModal(page, [&](CDialogBase& dialog) {
      v = Capture(dialog);
      ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(v.heading, c.heading);
    EXPECT_EQ(v.text, c.text);
    EXPECT_EQ(v.yes, c.yes);
    EXPECT_EQ(v.no, c.no);
    EXPECT_EQ(v.back, c.back);
    EXPECT_EQ(v.finish, c.finish);
    EXPECT_TRUE(v.yesChecked);
    EXPECT_EQ(app.m_info.m_bReboot, 1);
  }
}

TEST_F(WizardTest, RebootPageRadioButtonsGetAWhiteBackground) {
  CSdUninstallRebootDlg page;
  page.m_pInfo = &m_app.m_info;
  struct CColour {
    int id;
    HBRUSH brush;
    COLORREF background;
  };
  std::vector<CColour> colours;
  RunModal(page, [&](CDialogBase& dialog) {
    for (int id : {IDC_REBOOT_YES, IDC_REBOOT_NO, IDC_HEADING}) {
      HWND control = dialog.GetItem(id);
      HDC dc = GetDC(control);
      SetBkColor(dc, RGB(1, 2, 3));
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessageA(dialog.GetHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control)));
      colours.push_back({id, brush, GetBkColor(dc)});
      ReleaseDC(control, dc);
    }
    PressEscape(dialog);
  });
  ASSERT_EQ(colours.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(colours[i].id);
    EXPECT_EQ(colours[i].brush, page.m_brWhite.Get());
    EXPECT_NE(colours[i].brush, nullptr);
    EXPECT_EQ(colours[i].background, kWhite);
  }
  EXPECT_NE(colours[2].brush, page.m_brWhite.Get()) << "other controls keep the default colours";
  EXPECT_EQ(colours[2].background, GetSysColor(COLOR_3DFACE));
}

// ---- Waiting windows

struct CWaitingCase {
  const char* name;
  const char* language;  // nullptr: no language file
  const char* prompt;
  const char* shown;
  const char* cancel;    // the banner window's Cancel button
};

TEST(WaitingWindows, SmallWindowShowsThePromptOrText1019) {
  const CWaitingCase cases[] = {
      {"prompt", kFullLanguage, "Removing caches", "Removing caches", nullptr},
      {"language file's text 1019", kFullLanguage, "", "Please wait", nullptr},
      {"built-in text 1019 beside a language file", kStringsOnly, "", "Waiting for uninstall...", nullptr},
      {"template text", nullptr, "", "Waiting for uninstall...", nullptr},
  };
  for (const CWaitingCase& c : cases) {
    SCOPED_TRACE(c.name);
    CUninstallApp app;
    CTempFolder folder("waiting");
    if (c.language) {
      ASSERT_TRUE(app.m_info.m_language.Load("Setup", folder.WriteFile("Setup.lr", c.language)));
    }
    CWaitingDlg window;
    window.m_pInfo = &app.m_info;
    window.m_strPrompt = c.prompt;
    ASSERT_TRUE(window.CreateModeless());
    HWND hwnd = window.GetHwnd();
    EXPECT_EQ(window.GetItemText(IDC_MAIN_TEXT), c.shown);
    EXPECT_EQ(WindowTitle(hwnd), "Waiting...");
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "a caption without a close box";
    LOGFONTA font;
    ASSERT_TRUE(WindowFont(window.GetItem(IDC_MAIN_TEXT), font));
    EXPECT_EQ(SameFace(font, "Arial"), c.language == kFullLanguage);

    RECT area, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(hwnd, &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) - (area.left + area.right)), 2);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (area.top + area.bottom)), 2);
    window.DestroyWindow();
  }
}

TEST(WaitingWindows, BannerWindowShowsThePromptOrText1019WithADisabledCancel) {
  const CWaitingCase cases[] = {
      {"prompt", nullptr, "Copying", "Copying", "Cancel"},
      {"built-in text 1019, not the template's", nullptr, "", "Waiting for uninstall...", "Cancel"},
      {"language file", kFullLanguage, "", "Please wait", "Stop"},
      {"language file without the button", kStringsOnly, "", "Waiting for uninstall...", ""},
  };
  for (const CWaitingCase& c : cases) {
    SCOPED_TRACE(c.name);
    CUninstallApp app;
    CTempFolder folder("banner_waiting");
    if (c.language) {
      ASSERT_TRUE(app.m_info.m_language.Load("Setup", folder.WriteFile("Setup.lr", c.language)));
    }
    CBannerWaitingDlg window;
    window.m_pInfo = &app.m_info;
    window.m_strPrompt = c.prompt;
    ASSERT_TRUE(window.CreateModeless());
    HWND hwnd = window.GetHwnd();
    EXPECT_EQ(window.GetItemText(IDC_MAIN_TEXT), c.shown);
    EXPECT_EQ(window.GetItemText(IDCANCEL), c.cancel);
    EXPECT_FALSE(IsWindowEnabled(window.GetItem(IDCANCEL)));
    EXPECT_EQ(window.GetItemText(IDC_NEXT_INSTALLER), "NextInstaller");
    EXPECT_FALSE(IsWindowEnabled(window.GetItem(IDC_NEXT_INSTALLER)));
    EXPECT_EQ(WindowTitle(hwnd), "Install");

    // With its Cancel disabled, the close box does not end the window.
    ShowWindow(hwnd, SW_SHOW);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    DrainMessages();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(window.Result(), 0);
    window.DestroyWindow();
  }
}

TEST_F(WizardTest, BannerWindowLoadsTheTopBannerOnlyWithTheFile) {
  for (bool withFile : {false, true}) {
    SCOPED_TRACE(withFile);
    if (withFile) UseTopBar();
    CBannerWaitingDlg window;
    window.m_pInfo = &m_app.m_info;
    ASSERT_TRUE(window.CreateModeless());
    EXPECT_EQ(window.m_banner.m_picture.m_bitmap != nullptr, withFile);
    window.DestroyWindow();
  }
}

}  // namespace
