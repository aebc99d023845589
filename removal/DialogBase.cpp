#include "removal/DialogBase.h"

#include <commctrl.h>

namespace {

// The property under which a subclassed control finds its object.
const char kControlProperty[] = "UninstSubclassedControl";

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

}  // namespace

void EnsureCommonControls() {
  static bool s_bDone = false;
  if (s_bDone) return;
  s_bDone = true;
  // Kept loaded for the whole process: the classes it registers live in it.
  HMODULE library = LoadLibraryA("comctl32.dll");
  if (!library) return;
  typedef BOOL(WINAPI * InitFn)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  if (!init) return;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  init(&controls);
}

// ---- CSubclassedControl

CSubclassedControl::~CSubclassedControl() { Detach(); }

bool CSubclassedControl::Attach(HWND dialog, int id) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control) return false;
  m_hWnd = control;
  SetPropA(control, kControlProperty, this);
  m_pfnDefault = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassedControl::ControlProc)));
  return true;
}

void CSubclassedControl::Detach() {
  if (!m_hWnd) return;
  if (IsWindow(m_hWnd)) {
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnDefault));
    RemovePropA(m_hWnd, kControlProperty);
  }
  m_hWnd = nullptr;
  m_pfnDefault = nullptr;
}

LRESULT CSubclassedControl::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(m_pfnDefault, m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedControl::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CSubclassedControl*>(GetPropA(hwnd, kControlProperty));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_PAINT && self->OnPaint()) return 0;
  if (message == WM_NCDESTROY) {
    WNDPROC original = self->m_pfnDefault;
    self->Detach();
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  return self->CallDefault(message, wParam, lParam);
}

// ---- CProgressBar

void CProgressBar::SetRange(int high) {
  SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(high)));
}

void CProgressBar::SetPos(int position) { SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

int CProgressBar::GetPos() const { return static_cast<int>(SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }

// ---- CDialogBase

CDialogBase::CDialogBase(int templateId) : m_nTemplateId(templateId) {}

CDialogBase::~CDialogBase() {
  if (m_hWnd && IsWindow(m_hWnd)) {
    // The derived parts are gone: no handler may run for them any more.
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

INT_PTR CDialogBase::DoModal(HWND owner) {
  EnsureCommonControls();
  m_bModal = true;
  m_nResult = DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(m_nTemplateId), owner, &CDialogBase::DialogProc,
                              reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return m_nResult;
}

bool CDialogBase::CreateModeless(HWND owner) {
  if (m_hWnd) return false;
  EnsureCommonControls();
  m_bModal = false;
  m_nResult = 0;
  HWND hwnd = CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(m_nTemplateId), owner, &CDialogBase::DialogProc,
                                 reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

void CDialogBase::DestroyWindow() {
  if (m_hWnd && !m_bModal) ::DestroyWindow(m_hWnd);
}

void CDialogBase::EndDialog(INT_PTR result) {
  m_nResult = result;
  if (!m_hWnd) return;
  if (m_bModal)
    ::EndDialog(m_hWnd, result);
  else
    ShowWindow(m_hWnd, SW_HIDE);
}

HWND CDialogBase::GetItem(int id) const { return m_hWnd ? GetDlgItem(m_hWnd, id) : nullptr; }

std::string CDialogBase::GetItemText(int id) const {
  HWND item = GetItem(id);
  if (!item) return std::string();
  int length = GetWindowTextLengthA(item);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(item, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void CDialogBase::SetItemText(int id, const std::string& text) {
  if (HWND item = GetItem(id)) SetWindowTextA(item, text.c_str());
}

void CDialogBase::ShowItem(int id, bool show) {
  if (HWND item = GetItem(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void CDialogBase::SetTitle(const std::string& title) {
  if (m_hWnd) SetWindowTextA(m_hWnd, title.c_str());
}

void CDialogBase::CenterWindow() {
  if (!m_hWnd) return;
  RECT area;
  HWND owner = GetWindow(m_hWnd, GW_OWNER);
  if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT window;
  GetWindowRect(m_hWnd, &window);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialogBase::SendFontToAllControls(HFONT font) {
  // EnumChildWindows walks the children of children too.
  if (m_hWnd) EnumChildWindows(m_hWnd, &SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

void CDialogBase::UpdateData(bool save) {
  for (const CTextBinding& binding : m_arrTextBindings) {
    if (save)
      *binding.member = GetItemText(binding.id);
    else
      SetItemText(binding.id, *binding.member);
  }
}

void CDialogBase::BindText(int id, std::string* member) { m_arrTextBindings.push_back({id, member}); }

void CDialogBase::BindControl(int id, CSubclassedControl* control) {
  m_arrControlBindings.push_back({id, control});
}

bool CDialogBase::OnInitDialog() {
  for (const CControlBinding& binding : m_arrControlBindings) binding.control->Attach(m_hWnd, binding.id);
  UpdateData(true);
  return true;
}

bool CDialogBase::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CDialogBase::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void CDialogBase::OnCancel() { EndDialog(IDCANCEL); }

bool CDialogBase::OnClose() {
  // Not every system checks the button itself before posting IDCANCEL.
  HWND cancel = GetItem(IDCANCEL);
  return cancel && !IsWindowEnabled(cancel);
}

HBRUSH CDialogBase::OnCtlColor(HDC dc, HWND control, UINT message) { return DefaultCtlColor(dc, control, message); }

HBRUSH CDialogBase::DefaultCtlColor(HDC dc, HWND control, UINT message) {
  return reinterpret_cast<HBRUSH>(
      DefWindowProcA(m_hWnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialogBase* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialogBase*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->m_hWnd = hwnd;
  } else {
    self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->m_hWnd = nullptr;
    return FALSE;
  }
  bool handled = false;
  INT_PTR result = self->Dispatch(message, wParam, lParam, handled);
  if (!handled) return FALSE;
  switch (message) {
    // These answer with the procedure's return value itself.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return result;
    default:
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

INT_PTR CDialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      handled = OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_PAINT:
      handled = OnPaint();
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_CLOSE:
      handled = OnClose();
      return 0;
    default: {
      INT_PTR result = 0;
      handled = OnMessage(message, wParam, lParam, result);
      return result;
    }
  }
}
