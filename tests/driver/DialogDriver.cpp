#include "tests/driver/DialogDriver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>

#include "tests/driver/PngWriter.h"

namespace {

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {0};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string WithoutAmpersands(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '&') out += c;
  return out;
}

bool IsButtonKind(LONG style, LONG kind) { return (style & 0x0F) == kind; }

bool IsRadio(LONG style) { return IsButtonKind(style, BS_RADIOBUTTON) || IsButtonKind(style, BS_AUTORADIOBUTTON); }

struct FindContext {
  DWORD self;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM param) {
  auto* ctx = reinterpret_cast<FindContext*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ctx->self && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770") ctx->found.push_back(hwnd);
  return TRUE;
}

struct ChildContext {
  std::vector<HWND> children;
};

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM param) {
  reinterpret_cast<ChildContext*>(param)->children.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> Children(HWND dialog) {
  ChildContext ctx;
  EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&ctx));
  return ctx.children;
}

HWND FindControl(HWND dialog, const std::string& spec, bool radioOnly) {
  if (!spec.empty() && spec[0] == '#') return GetDlgItem(dialog, atoi(spec.c_str() + 1));
  std::string wanted = Lower(WithoutAmpersands(spec));
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) != "Button") continue;
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (radioOnly != IsRadio(style)) continue;
    if (Lower(WithoutAmpersands(WindowText(child))) == wanted) return child;
  }
  return nullptr;
}

std::string SafeFileName(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (isalnum(static_cast<unsigned char>(c)))
      out += c;
    else if (!out.empty() && out.back() != '-')
      out += '-';
    if (out.size() >= 40) break;
  }
  while (!out.empty() && out.back() == '-') out.pop_back();
  return out.empty() ? "dialog" : out;
}

}  // namespace

std::vector<std::string> CDialogRecord::Statics() const {
  std::vector<std::string> texts;
  for (const auto& c : controls)
    if (c.className == "Static" && c.visible && !c.text.empty()) texts.push_back(c.text);
  return texts;
}

std::vector<std::string> CDialogRecord::Buttons() const {
  std::vector<std::string> texts;
  for (const auto& c : controls)
    if (c.className == "Button" && c.visible) texts.push_back(c.text);
  return texts;
}

const CControlRecord* CDialogRecord::Control(int id) const {
  for (const auto& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

bool CDialogRecord::Mentions(const std::string& text) const {
  std::string wanted = Lower(text);
  if (Lower(title).find(wanted) != std::string::npos) return true;
  for (const auto& c : controls)
    if (Lower(c.text).find(wanted) != std::string::npos) return true;
  return false;
}

CDialogDriver::CDialogDriver() : m_nStart(GetTickCount()) {}

void CDialogDriver::AddRule(const std::string& match, const std::string& actions, int uses) {
  m_rules.push_back(CDriverRule{match, actions, uses});
}

CDialogRecord CDialogDriver::Snapshot(HWND dialog) const {
  CDialogRecord record;
  record.hwnd = dialog;
  GetWindowThreadProcessId(dialog, &record.processId);
  record.title = WindowText(dialog);
  for (HWND child : Children(dialog)) {
    CControlRecord c;
    c.id = GetDlgCtrlID(child);
    c.className = ClassOf(child);
    c.text = WindowText(child);
    c.visible = IsWindowVisible(child) != 0;
    c.enabled = IsWindowEnabled(child) != 0;
    c.style = GetWindowLongA(child, GWL_STYLE);
    if (c.className == "Button") c.checked = static_cast<int>(SendMessageA(child, BM_GETCHECK, 0, 0));
    record.controls.push_back(c);
  }
  record.seenAtMs = GetTickCount() - m_nStart;
  return record;
}

std::string CDialogDriver::TakeScreenshot(HWND dialog, size_t index, const std::string& title) const {
  if (m_strShots.empty()) return std::string();
  CreateDirectoryA(m_strShots.c_str(), nullptr);
  RECT r;
  if (!GetWindowRect(dialog, &r)) return std::string();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return std::string();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> bgra(static_cast<size_t>(w) * h * 4);
  int rows = GetDIBits(memory, bitmap, 0, h, bgra.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != h) return std::string();
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
    rgb[i * 3] = bgra[i * 4 + 2];
    rgb[i * 3 + 1] = bgra[i * 4 + 1];
    rgb[i * 3 + 2] = bgra[i * 4];
  }
  char number[16];
  std::snprintf(number, sizeof(number), "%02u-", static_cast<unsigned>(index));
  std::string path = m_strShots + "\\" + number + SafeFileName(title) + ".png";
  return WritePng(path, w, h, rgb) ? path : std::string();
}

bool CDialogDriver::Apply(HWND dialog, const std::string& actions) {
  size_t start = 0;
  while (start <= actions.size()) {
    size_t end = actions.find(';', start);
    if (end == std::string::npos) end = actions.size();
    std::string action = actions.substr(start, end - start);
    start = end + 1;
    if (action.empty() || action == "none") continue;
    if (action == "escape") {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else if (action == "close") {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (action.compare(0, 6, "press:") == 0) {
      HWND button = FindControl(dialog, action.substr(6), false);
      if (!button) return false;
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    } else if (action.compare(0, 6, "radio:") == 0) {
      HWND radio = FindControl(dialog, action.substr(6), true);
      if (!radio) return false;
      for (HWND child : Children(dialog))
        if (ClassOf(child) == "Button" && IsRadio(GetWindowLongA(child, GWL_STYLE)))
          SendMessageA(child, BM_SETCHECK, child == radio ? BST_CHECKED : BST_UNCHECKED, 0);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(radio), BN_CLICKED), reinterpret_cast<LPARAM>(radio));
    } else {
      return false;
    }
    Sleep(50);
  }
  return true;
}

void CDialogDriver::Handle(HWND dialog) {
  // A dialog that goes away while settling (a short progress window) is
  // recorded as it was first seen, without screenshot or action.
  CDialogRecord early = Snapshot(dialog);
  Sleep(m_nSettleMs);  // let the dialog finish its initialisation and paint
  if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
    early.action = "(gone before settling)";
    m_dialogs.push_back(early);
    return;
  }
  CDialogRecord record = Snapshot(dialog);
  record.screenshot = TakeScreenshot(dialog, m_dialogs.size() + 1, record.title);
  record.action = "(no rule)";
  for (CDriverRule& rule : m_rules) {
    if (rule.uses == 0) continue;
    if (!rule.match.empty() && !record.Mentions(rule.match)) continue;
    if (rule.uses > 0) --rule.uses;
    record.action = Apply(dialog, rule.actions) ? rule.actions : rule.actions + " (FAILED)";
    if (rule.actions != "none") {
      // The answered dialog should go away; a dialog that stays counts.
      DWORD until = GetTickCount() + 3000;
      while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount() < until) Sleep(20);
      if (IsWindow(dialog) && IsWindowVisible(dialog)) ++m_nUnanswered;
    }
    break;
  }
  m_dialogs.push_back(record);
}

void CDialogDriver::Poll() {
  FindContext ctx{GetCurrentProcessId(), {}};
  EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&ctx));
  for (HWND dialog : ctx.found) {
    if (std::find(m_handled.begin(), m_handled.end(), dialog) != m_handled.end()) continue;
    m_handled.push_back(dialog);
    Handle(dialog);
  }
  // Forget windows that are gone, so that a handle the system reuses for a
  // new dialog counts as new.
  m_handled.erase(std::remove_if(m_handled.begin(), m_handled.end(),
                                 [](HWND h) { return !IsWindow(h) || !IsWindowVisible(h); }),
                  m_handled.end());
}

bool CDialogDriver::WatchUntilExit(HANDLE process, DWORD timeoutMs) {
  DWORD until = GetTickCount() + timeoutMs;
  for (;;) {
    Poll();
    if (WaitForSingleObject(process, 40) == WAIT_OBJECT_0) {
      Poll();
      GetExitCodeProcess(process, &m_nExitCode);
      return true;
    }
    if (static_cast<LONG>(GetTickCount() - until) >= 0) return false;
  }
}

bool CDialogDriver::Run(const std::string& commandLine, DWORD timeoutMs, const std::vector<std::string>& waitForNames) {
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  DWORD started = GetTickCount();
  bool ended = WatchUntilExit(pi.hProcess, timeoutMs);
  if (!ended) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  if (!ended) return false;
  DWORD left = timeoutMs - std::min(timeoutMs, GetTickCount() - started);
  for (const std::string& name : waitForNames)
    if (!WaitForProcessGone(name, left)) return false;
  return true;
}

std::string CDialogDriver::Log() const {
  std::string log;
  char line[64];
  for (size_t i = 0; i < m_dialogs.size(); ++i) {
    const CDialogRecord& d = m_dialogs[i];
    std::snprintf(line, sizeof(line), "dialog %u at %lu ms: ", static_cast<unsigned>(i + 1),
                  static_cast<unsigned long>(d.seenAtMs));
    log += line;
    log += "\"" + d.title + "\"\n";
    for (const auto& c : d.controls) {
      if (!c.visible) continue;
      std::string text = c.text;
      for (char& ch : text)
        if (ch == '\n') ch = '|';
      std::snprintf(line, sizeof(line), "  %-8s %5d ", c.className.c_str(), c.id);
      log += line;
      log += "\"" + text + "\"";
      if (!c.enabled) log += " (disabled)";
      if (c.className == "Button" && c.checked) log += " (checked)";
      log += "\n";
    }
    log += "  action: " + d.action + "\n";
    if (!d.screenshot.empty()) log += "  screenshot: " + d.screenshot + "\n";
  }
  return log;
}

bool IsProcessRunning(const std::string& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL ok = Process32First(snapshot, &entry); ok && !found; ok = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

bool WaitForProcessGone(const std::string& exeName, DWORD timeoutMs) {
  DWORD until = GetTickCount() + timeoutMs;
  while (IsProcessRunning(exeName)) {
    if (static_cast<LONG>(GetTickCount() - until) >= 0) return false;
    Sleep(50);
  }
  return true;
}
