// A small dialog layer over plain Win32: dialogs from resource templates,
// modal or modeless, with per-class message handlers, exchange of control
// texts with members, and child controls painted by classes of ours.
//
// One static dialog procedure finds the object through the window's user
// data and calls its virtual handlers. Handlers may run nested: a handler
// that lets messages through re-enters the procedure for the same dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Registers the common control classes (the progress bar) once, before the
// first template that uses them is created. The library is loaded at run
// time, after start-up has restricted where libraries are searched.
void EnsureCommonControls();

// Owner of one GDI object (font, brush, bitmap): deletes it when replaced
// or destroyed.
template <class THandle>
class CGdiObject {
 public:
  CGdiObject() = default;
  ~CGdiObject() { Reset(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  void Reset(THandle handle = nullptr) {
    if (m_handle) DeleteObject(m_handle);
    m_handle = handle;
  }
  THandle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }

 private:
  THandle m_handle = nullptr;
};

using CGdiFont = CGdiObject<HFONT>;
using CGdiBrush = CGdiObject<HBRUSH>;

// A child control of a dialog whose window procedure is replaced by ours
// while it is attached, so that the class decides how it paints. Every
// message it does not handle goes to the control's own procedure.
class CSubclassedControl {
 public:
  CSubclassedControl() = default;
  virtual ~CSubclassedControl();
  CSubclassedControl(const CSubclassedControl&) = delete;
  CSubclassedControl& operator=(const CSubclassedControl&) = delete;

  // Takes over control id of the dialog; false when there is no such control.
  bool Attach(HWND dialog, int id);
  // Gives the control its own procedure back.
  void Detach();
  HWND GetHwnd() const { return m_hWnd; }

 protected:
  // True when the class painted the control (WM_PAINT).
  virtual bool OnPaint() { return false; }
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  WNDPROC m_pfnDefault = nullptr;
};

// A progress bar control of a dialog.
class CProgressBar {
 public:
  void Attach(HWND dialog, int id) { m_hWnd = GetDlgItem(dialog, id); }
  HWND GetHwnd() const { return m_hWnd; }
  // PBM_SETRANGE: the range from 0 to high, cut to 16 bits.
  void SetRange(int high);
  // PBM_SETPOS.
  void SetPos(int position);
  int GetPos() const;

 private:
  HWND m_hWnd = nullptr;
};

class CDialogBase {
 public:
  explicit CDialogBase(int templateId);
  virtual ~CDialogBase();
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;

  // Shows the dialog modally; returns the result given to EndDialog, or -1
  // when the template cannot be created.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the dialog as a modeless window; false when that fails or the
  // window already exists.
  bool CreateModeless(HWND owner = nullptr);
  // Destroys a modeless window (a modal one ends with EndDialog).
  void DestroyWindow();

  HWND GetHwnd() const { return m_hWnd; }
  int TemplateId() const { return m_nTemplateId; }
  bool IsModal() const { return m_bModal; }

  // Ends a modal dialog with result; a modeless one is hidden and keeps the
  // result until its owner destroys it.
  void EndDialog(INT_PTR result);
  INT_PTR Result() const { return m_nResult; }

  HWND GetItem(int id) const;
  std::string GetItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  void ShowItem(int id, bool show);
  void SetTitle(const std::string& title);
  // Centres the window on its owner, or on the screen's work area without one.
  void CenterWindow();
  // Sends WM_SETFONT (redraw on) to every control of the dialog at every
  // depth; the dialog window keeps its own font.
  void SendFontToAllControls(HFONT font);

  // Exchanges the bound texts: save reads the controls into the members,
  // otherwise the members are written to the controls.
  void UpdateData(bool save);

 protected:
  // Binds a control's text to a member for UpdateData.
  void BindText(int id, std::string* member);
  // Attaches control id to a class of ours during the default initialisation.
  void BindControl(int id, CSubclassedControl* control);

  // The default initialisation attaches the bound controls and reads the
  // controls' template texts into the bound members, so that no template
  // text is wiped by an empty member. Returns true: the system sets focus.
  virtual bool OnInitDialog();
  // WM_COMMAND; true when handled. The default sends IDOK to OnOK and
  // IDCANCEL (the Cancel button, Escape, the close box) to OnCancel.
  virtual bool OnCommand(int id, int code, HWND control);
  // Default: UpdateData(true), then EndDialog(IDOK).
  virtual void OnOK();
  // Default: EndDialog(IDCANCEL).
  virtual void OnCancel();
  // WM_PAINT; true when the class painted the dialog.
  virtual bool OnPaint() { return false; }
  // WM_CTLCOLOR*: the brush for control; the default is DefaultCtlColor.
  virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
  HBRUSH DefaultCtlColor(HDC dc, HWND control, UINT message);
  // WM_CLOSE; true when handled. The default ignores it while the dialog's
  // Cancel button is disabled; otherwise the system turns it into IDCANCEL.
  virtual bool OnClose();
  // Any other message, including private ones; true when handled, with the
  // procedure's result in result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  struct CTextBinding {
    int id;
    std::string* member;
  };
  struct CControlBinding {
    int id;
    CSubclassedControl* control;
  };

  int m_nTemplateId;
  HWND m_hWnd = nullptr;
  bool m_bModal = false;
  INT_PTR m_nResult = 0;
  std::vector<CTextBinding> m_arrTextBindings;
  std::vector<CControlBinding> m_arrControlBindings;
};
