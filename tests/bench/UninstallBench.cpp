// Benchmark (not a test) of the default uninstall under Wine: lays out an
// installation of 20,000 files in 100 folders, 2,000 registry values in 20
// keys and 200 shortcuts in a program group, with its install record and the
// Add/Remove Programs entry, then times in turn
//   uninstall  UnInstall.exe from the press of "Yes" on the confirmation to
//              the appearance of the finish page,
//   bare       a loop of our own deleting the same items with no window:
//              DeleteFileA, RemoveDirectoryA, RegDeleteValueA on a key
//              opened for each value, no shell notifications.
// Each round lays the installation out again. Prints every run, the medians
// and their ratio.
//
//   bench_uninstall <UnInstall.exe> [rounds]     (default 5)
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kAppName[] = "Bench App";
const char kApp[] = "C:\\Program Files\\Bench App";
const char kUninstall[] = "C:\\Program Files\\Bench App\\Uninst";
const char kGroup[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Bench App";
const char kRegPath[] = "Software\\Bench Co\\Bench App";
const char kGuid[] = "{BE0C0000-0000-4000-8000-00000000BE0C}";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

constexpr int kFolders = 100, kFilesPerFolder = 200;
constexpr int kKeys = 20, kValuesPerKey = 100;
constexpr int kShortcuts = 200;

struct CValue {
  std::string key, name;
};

// The items of the installation, in record order.
struct CItems {
  std::vector<std::string> folders, files, shortcuts;
  std::vector<CValue> values;
};

CItems MakeItems() {
  CItems items;
  char name[64];
  for (int d = 0; d < kFolders; ++d) {
    std::snprintf(name, sizeof(name), "\\d%03d", d);
    items.folders.push_back(kApp + std::string(name));
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::snprintf(name, sizeof(name), "\\file%05d.dat", d * kFilesPerFolder + f);
      items.files.push_back(items.folders.back() + name);
    }
  }
  for (int k = 0; k < kKeys; ++k) {
    for (int v = 0; v < kValuesPerKey; ++v) {
      std::snprintf(name, sizeof(name), "Setting%04d", k * kValuesPerKey + v);
      items.values.push_back({std::string(kRegPath) + "\\k" + std::to_string(k), name});
    }
  }
  for (int s = 0; s < kShortcuts; ++s) {
    std::snprintf(name, sizeof(name), "\\Shortcut %03d.lnk", s);
    items.shortcuts.push_back(kGroup + std::string(name));
  }
  return items;
}

void MakeFolders(const std::string& path) {
  for (size_t pos = path.find('\\', 3);; pos = path.find('\\', pos + 1)) {
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    if (pos == std::string::npos) break;
  }
}

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  CloseHandle(file);
  return ok;
}

void SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
  HKEY h = nullptr;
  if (RegCreateKeyA(root, key.c_str(), &h) != ERROR_SUCCESS) return;
  RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
}

std::string Record(const CItems& items) {
  std::string r = "[CopyFile]\r\n";
  int n = 0;
  for (const std::string& file : items.files) {
    std::string item = "Item" + std::to_string(++n);
    r += item + "=" + file + "\r\n" + item + "_RegType=0\r\n" + item + "_Uninstall=0\r\n" + item +
         "_FileGroup=Program\r\n";
  }
  r += "Count=" + std::to_string(n) + "\r\n[CreateDir]\r\n";
  n = 0;
  for (const std::string& folder : items.folders) r += "Item" + std::to_string(++n) + "=" + folder + "\r\n";
  r += "Count=" + std::to_string(n) + "\r\n[RegItem]\r\n";
  n = 0;
  for (const CValue& value : items.values) {
    std::string item = "Item" + std::to_string(++n);
    r += item + "=Value,HKEY_LOCAL_MACHINE," + value.key + "," + value.name + "\r\n" + item + "_DataType=0\r\n";
  }
  r += "Count=" + std::to_string(n) + "\r\n[ShellObj]\r\nItem1=Group," + std::string(kGroup) + "\r\n";
  n = 1;
  for (const std::string& shortcut : items.shortcuts) r += "Item" + std::to_string(++n) + "=Shortcut," + shortcut + "\r\n";
  r += "Count=" + std::to_string(n) + "\r\n[Comm]\r\nUnInstallFolder=" + std::string(kUninstall) +
       "\r\nAppName=" + kAppName + "\r\nGUID=" + kGuid + "\r\nDescPath=" + kApp +
       "\r\nCompent=\r\nFileGroup=Program\r\nSetupType=0\r\nsftype=0\r\nsfentype=0\r\n";
  return r;
}

bool LayOut(const CItems& items, const std::string& program) {
  for (const std::string& folder : items.folders) MakeFolders(folder);
  for (const std::string& file : items.files)
    if (!WriteFileText(file, "data")) return false;
  MakeFolders(kGroup);
  for (const std::string& shortcut : items.shortcuts)
    if (!WriteFileText(shortcut, "L")) return false;
  for (const CValue& value : items.values) SetString(HKEY_LOCAL_MACHINE, value.key, value.name, "1");
  SetString(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + kGuid, "DisplayName", kAppName);
  MakeFolders(kUninstall);
  if (!CopyFileA(program.c_str(), (std::string(kUninstall) + "\\UnInstall.exe").c_str(), FALSE)) return false;
  return WriteFileText(std::string(kUninstall) + "\\Setup.qsf", Record(items));
}

// What is left of the removable items: files, folders, shortcuts, values.
int Leftovers(const CItems& items) {
  int left = 0;
  for (const std::string& path : items.files) left += GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  for (const std::string& path : items.folders) left += GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  for (const std::string& path : items.shortcuts) left += GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  for (const CValue& value : items.values) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, value.key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) continue;
    left += RegQueryValueExA(h, value.name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(h);
  }
  return left;
}

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double BareLoop(const CItems& items) {
  double start = NowMs();
  for (const std::string& file : items.files) DeleteFileA(file.c_str());
  for (auto it = items.folders.rbegin(); it != items.folders.rend(); ++it) RemoveDirectoryA(it->c_str());
  for (auto it = items.values.rbegin(); it != items.values.rend(); ++it) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, it->key.c_str(), 0, KEY_READ | KEY_WRITE, &h) != ERROR_SUCCESS) continue;
    RegDeleteValueA(h, it->name.c_str());
    RegCloseKey(h);
  }
  for (auto it = items.shortcuts.rbegin(); it != items.shortcuts.rend(); ++it) DeleteFileA(it->c_str());
  RemoveDirectoryA(kGroup);
  HKEY uninstall = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, &uninstall) == ERROR_SUCCESS) {
    RegDeleteKeyA(uninstall, kGuid);
    RegCloseKey(uninstall);
  }
  return NowMs() - start;
}

HWND WaitForDialog(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND hwnd = FindWindowA("#32770", title);
    if (hwnd && IsWindowVisible(hwnd)) return hwnd;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(10);
  }
}

bool IsProcessRunning(const char* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL ok = Process32First(snapshot, &entry); ok && !found; ok = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, exeName) == 0;
  CloseHandle(snapshot);
  return found;
}

// From the press of "Yes" to the finish page; negative on a failure.
double TimeUninstall() {
  std::string line = "\"" + std::string(kUninstall) + "\\UnInstall.exe\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
  CloseHandle(process.hThread);
  double elapsed = -2;
  if (HWND confirmation = WaitForDialog(kAppName, 60000)) {
    Sleep(200);
    double start = NowMs();
    PostMessageA(confirmation, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(confirmation, IDYES)));
    if (HWND finish = WaitForDialog((std::string("Uninstall ") + kAppName).c_str(), 600000)) {
      elapsed = NowMs() - start;
      Sleep(100);
      PostMessageA(finish, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(finish, IDOK)));
    }
  }
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    elapsed = -3;
  }
  CloseHandle(process.hProcess);
  // The temporary copy deletes the uninstall folder before the next round.
  for (int i = 0; i < 600 && IsProcessRunning("strQSTemp.exe"); ++i) Sleep(50);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_uninstall <UnInstall.exe> [rounds]\n");
    return 2;
  }
  std::string program = argv[1];
  int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  if (rounds <= 0) return 2;
  // A hidden window of ours keeps the prefix's desktop process alive between
  // the runs, so that no run pays for starting it again.
  HWND keepAlive = CreateWindowA("STATIC", "bench", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);

  CItems items = MakeItems();
  std::printf("installation: %zu files in %zu folders, %zu registry values, %zu shortcuts\n", items.files.size(),
              items.folders.size(), items.values.size(), items.shortcuts.size());
  std::vector<double> uninstallMs, bareMs;
  for (int round = 1; round <= rounds; ++round) {
    for (int kind = 0; kind < 2; ++kind) {
      if (!LayOut(items, program)) {
        std::fprintf(stderr, "could not lay out the installation\n");
        return 1;
      }
      double ms = kind == 0 ? TimeUninstall() : BareLoop(items);
      int left = Leftovers(items);
      std::printf("round %d %-9s %9.1f ms  (items left: %d)\n", round, kind == 0 ? "uninstall" : "bare", ms, left);
      std::fflush(stdout);
      if (ms < 0) return 1;
      (kind == 0 ? uninstallMs : bareMs).push_back(ms);
    }
  }
  double u = Median(uninstallMs), b = Median(bareMs);
  std::printf("medians of %d rounds: UnInstall.exe %.1f ms, bare loop %.1f ms, ratio %.2f\n", rounds, u, b, u / b);
  DestroyWindow(keepAlive);
  return 0;
}
