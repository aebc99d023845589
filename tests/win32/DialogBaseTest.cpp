// The dialog layer through real windows: finding the object, text exchange,
// fonts at every depth, the default OK and Cancel handling, subclassed
// controls, a long handler started by a private message, and paced updates.
#include <gtest/gtest.h>

#include <string>

#include "removal/DialogBase.h"
#include "removal/PacedControlUpdates.h"
#include "resources/resource.h"
#include "system/Platform.h"
#include "system/UserInterface.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/win32/DialogTestSupport.h"

namespace {

// A dialog of any template with the text of one control bound to a member.
class CTextProbe : public CDialogBase {
 public:
  CTextProbe(int templateId, int textId) : CDialogBase(templateId) { BindText(textId, &m_strText); }
  std::string m_strText;
  int m_nInits = 0;

 protected:
  bool OnInitDialog() override {
    ++m_nInits;
    return CDialogBase::OnInitDialog();
  }
};

TEST(DialogBase, ModelessDialogFindsItsObjectAndExchangesTexts) {
  CTextProbe probe(IDD_WAITING, IDC_MAIN_TEXT);
  ASSERT_TRUE(probe.CreateModeless());
  HWND hwnd = probe.GetHwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(probe.IsModal());
  EXPECT_EQ(reinterpret_cast<CTextProbe*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)), &probe);
  EXPECT_EQ(probe.m_nInits, 1);
  // The default initialisation reads the template text; it wipes nothing.
  EXPECT_EQ(probe.m_strText, "Waiting for uninstall...");
  EXPECT_EQ(probe.GetItemText(IDC_MAIN_TEXT), "Waiting for uninstall...");

  probe.m_strText = "from the member";
  probe.UpdateData(false);
  EXPECT_EQ(probe.GetItemText(IDC_MAIN_TEXT), "from the member");

  SetDlgItemTextA(hwnd, IDC_MAIN_TEXT, "from the control");
  probe.UpdateData(true);
  EXPECT_EQ(probe.m_strText, "from the control");

  EXPECT_FALSE(probe.CreateModeless()) << "a second window for the same object";
  probe.DestroyWindow();
  EXPECT_EQ(probe.GetHwnd(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(DialogBase, FontReachesEveryControlAtEveryDepthButNotTheDialog) {
  CTextProbe probe(IDD_BANNER_WAITING, IDC_MAIN_TEXT);
  ASSERT_TRUE(probe.CreateModeless());
  HWND inner = CreateWindowExA(0, "Static", "inner", WS_CHILD | WS_VISIBLE, 0, 0, 40, 10,
                               probe.GetItem(IDC_MAIN_TEXT), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(inner, nullptr);
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(probe.GetHwnd(), WM_GETFONT, 0, 0));
  CGdiFont font;
  font.Reset(CreateFontA(17, 0, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, "Arial"));

  probe.SendFontToAllControls(font.Get());

  for (HWND control : {probe.GetItem(IDC_MAIN_TEXT), probe.GetItem(IDCANCEL), probe.GetItem(IDC_NEXT_INSTALLER), inner})
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), font.Get());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(probe.GetHwnd(), WM_GETFONT, 0, 0)), dialogFont);
  probe.DestroyWindow();
}

struct CEndCase {
  const char* name;
  void (*end)(CDialogBase&);
  INT_PTR result;
  bool dataRead;
};

TEST(DialogBase, DefaultOkAndCancelEndTheModalDialog) {
  const CEndCase cases[] = {
      {"OK", [](CDialogBase& d) { ClickButton(d, IDOK); }, IDOK, true},
      {"Cancel", [](CDialogBase& d) { ClickButton(d, IDCANCEL); }, IDCANCEL, false},
      {"Escape", [](CDialogBase& d) { PressEscape(d); }, IDCANCEL, false},
      {"close box", [](CDialogBase& d) { PressCloseBox(d); }, IDCANCEL, false},
  };
  for (const CEndCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTextProbe probe(IDD_UNINSTALL_FINISH, IDC_MAIN_TEXT);
    INT_PTR result = RunModal(probe, [&](CDialogBase& dialog) {
      EXPECT_TRUE(probe.IsModal());
      dialog.SetItemText(IDC_MAIN_TEXT, "typed while shown");
      c.end(dialog);
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(probe.GetHwnd(), nullptr) << "the window is gone after DoModal";
    EXPECT_EQ(probe.m_strText, c.dataRead ? "typed while shown" : "%s has been successfully uninstalled.");
  }
}

TEST(DialogBase, MissingTemplateFailsWithoutAWindow) {
  CTextProbe modal(4711, IDC_MAIN_TEXT);
  EXPECT_EQ(modal.DoModal(), -1);
  CTextProbe modeless(4711, IDC_MAIN_TEXT);
  EXPECT_FALSE(modeless.CreateModeless());
  EXPECT_EQ(modal.m_nInits + modeless.m_nInits, 0);
}

class CPaintCounter : public CSubclassedControl {
 public:
  int m_nPaints = 0;

 protected:
  bool OnPaint() override {
    ++m_nPaints;
    ValidateRect(GetHwnd(), nullptr);
    return true;
  }
};

TEST(DialogBase, SubclassedControlPaintsUntilDetachedOrDestroyed) {
  CTextProbe probe(IDD_WAITING, IDC_MAIN_TEXT);
  ASSERT_TRUE(probe.CreateModeless());
  ShowWindow(probe.GetHwnd(), SW_SHOW);
  HWND label = probe.GetItem(IDC_MAIN_TEXT);
  LONG_PTR original = GetWindowLongPtrA(label, GWLP_WNDPROC);
  auto repaint = [label] {
    InvalidateRect(label, nullptr, FALSE);
    UpdateWindow(label);
  };

  CPaintCounter counter;
  ASSERT_TRUE(counter.Attach(probe.GetHwnd(), IDC_MAIN_TEXT));
  EXPECT_FALSE(counter.Attach(probe.GetHwnd(), 4711));
  ASSERT_TRUE(counter.Attach(probe.GetHwnd(), IDC_MAIN_TEXT));
  EXPECT_NE(GetWindowLongPtrA(label, GWLP_WNDPROC), original);
  repaint();
  EXPECT_EQ(counter.m_nPaints, 1);
  // Messages it does not handle still reach the control.
  SetWindowTextA(label, "still a static");
  EXPECT_EQ(probe.GetItemText(IDC_MAIN_TEXT), "still a static");

  counter.Detach();
  EXPECT_EQ(GetWindowLongPtrA(label, GWLP_WNDPROC), original);
  repaint();
  EXPECT_EQ(counter.m_nPaints, 1);

  ASSERT_TRUE(counter.Attach(probe.GetHwnd(), IDC_MAIN_TEXT));
  probe.DestroyWindow();
  EXPECT_EQ(counter.GetHwnd(), nullptr) << "destroying the window detaches the control";
}

// The shape of the progress dialog: its initialisation posts a private
// message, whose handler works through many items, letting one message
// through after each.
constexpr UINT kWmStartWork = 0x1DD1;

class CLongWorkDialog : public CDialogBase {
 public:
  CLongWorkDialog() : CDialogBase(IDD_UNCOPYFILE) {}

  int m_nItems = 300;
  int m_nCancelAt = 40;
  int m_nRuns = 0;
  int m_nCancels = 0;
  int m_nMessagesLetThrough = 0;
  std::string m_strFinalStatus;
  int m_nFinalPos = -1;
  bool m_bVisibleAtEnd = true;

 protected:
  bool OnInitDialog() override {
    CDialogBase::OnInitDialog();
    m_progress.Attach(GetHwnd(), IDC_PROGRESS);
    m_updates.Attach(GetHwnd());
    PostMessageA(GetHwnd(), kWmStartWork, 0, 0);
    return true;
  }

  bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) override {
    if (message != kWmStartWork) return false;
    ++m_nRuns;
    m_progress.SetRange(m_nItems);
    for (int i = 1; i <= m_nItems; ++i) {
      if (i == m_nCancelAt) ClickButton(*this, IDCANCEL);
      m_updates.SetText(IDC_STATUS, "item " + std::to_string(i));
      m_updates.SetProgressPos(IDC_PROGRESS, i);
      if (Sys().ui->PumpOneMessage()) ++m_nMessagesLetThrough;
    }
    m_updates.Flush();
    m_strFinalStatus = GetItemText(IDC_STATUS);
    m_nFinalPos = m_progress.GetPos();
    m_bVisibleAtEnd = IsWindowVisible(GetHwnd()) != 0;
    EndDialog(IDOK);
    result = 1;
    return true;
  }

  void OnCancel() override {
    ++m_nCancels;
    CDialogBase::OnCancel();
  }

 private:
  CProgressBar m_progress;
  CPacedControlUpdates m_updates;
};

TEST(DialogBase, LongHandlerOfAPrivateMessageRunsOnceAndItsFinalOkDecides) {
  CLongWorkDialog dialog;
  INT_PTR result = dialog.DoModal();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.m_nRuns, 1);
  EXPECT_EQ(dialog.m_nCancels, 1) << "the Cancel posted during the work was handled in between";
  EXPECT_FALSE(dialog.m_bVisibleAtEnd) << "Cancel hides the window while the work goes on";
  EXPECT_GT(dialog.m_nMessagesLetThrough, 0);
  EXPECT_EQ(dialog.m_strFinalStatus, "item 300");
  EXPECT_EQ(dialog.m_nFinalPos, 300);
}

// Puts a stand-in clock into the seam for one test.
class CClockSwap {
 public:
  explicit CClockSwap(IClock* clock) : m_pSaved(Sys().clock) { Sys().clock = clock; }
  ~CClockSwap() { Sys().clock = m_pSaved; }

 private:
  IClock* m_pSaved;
};

TEST(DialogBase, PacedUpdatesReachTheControlsAtMostOncePerIntervalAndFlushShowsTheLatest) {
  CFakeClock clock;
  CClockSwap swap(&clock);
  CTextProbe probe(IDD_UNCOPYFILE, IDC_STATUS);
  ASSERT_TRUE(probe.CreateModeless());
  CProgressBar progress;
  progress.Attach(probe.GetHwnd(), IDC_PROGRESS);
  progress.SetRange(100);
  CPacedControlUpdates updates(40);
  updates.Attach(probe.GetHwnd());

  updates.SetText(IDC_STATUS, "a");
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "a") << "the first change shows at once";
  updates.SetText(IDC_STATUS, "b");
  updates.SetProgressPos(IDC_PROGRESS, 5);
  clock.m_nNow += 39;
  updates.SetText(IDC_STATUS, "c");
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "a");
  EXPECT_EQ(progress.GetPos(), 0);

  clock.m_nNow += 1;
  updates.SetText(IDC_STATUS, "d");
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "d");
  EXPECT_EQ(progress.GetPos(), 5) << "a due turn pushes every pending change";

  updates.SetProgressPos(IDC_PROGRESS, 9);
  EXPECT_EQ(progress.GetPos(), 5);
  updates.Flush();
  EXPECT_EQ(progress.GetPos(), 9);
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "d");
  updates.SetText(IDC_STATUS, "e");
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "e") << "after a flush the next change shows at once";

  // A timer's tick shows what waits once the interval has passed; a tick
  // with nothing waiting leaves the turn to the next change.
  clock.m_nNow += 40;
  updates.PushIfDue();
  updates.SetText(IDC_STATUS, "f");
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "f");
  updates.SetText(IDC_STATUS, "g");
  updates.PushIfDue();
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "f");
  clock.m_nNow += 40;
  updates.PushIfDue();
  EXPECT_EQ(probe.GetItemText(IDC_STATUS), "g");
  probe.DestroyWindow();
}

}  // namespace
