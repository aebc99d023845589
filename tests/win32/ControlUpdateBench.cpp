// Measures what status and progress updates cost inside the progress
// dialog's template: a private message starts a handler that works through
// many items, letting one message through after each, with
//   bare    no window updates,
//   direct  a status text and a progress position pushed per item,
//   paced   the same changes through CPacedControlUpdates.
//
//   bench_control_updates <items> <rounds>
//
// Prints one line per run and the median of each kind in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "removal/DialogBase.h"
#include "removal/PacedControlUpdates.h"
#include "resources/resource.h"
#include "system/Platform.h"
#include "system/UserInterface.h"

namespace {

constexpr UINT kWmStartWork = 0x1DD1;

enum class EKind { kBare, kDirect, kPaced };

const char* KindName(EKind kind) {
  switch (kind) {
    case EKind::kBare: return "bare";
    case EKind::kDirect: return "direct";
    default: return "paced";
  }
}

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class CBenchDialog : public CDialogBase {
 public:
  CBenchDialog(EKind kind, int items) : CDialogBase(IDD_UNCOPYFILE), m_kind(kind), m_nItems(items) {}
  double m_dElapsedMs = 0;

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
    m_progress.SetRange(m_nItems);
    double start = NowMs();
    for (int i = 1; i <= m_nItems; ++i) {
      std::string status = "Remove C:\\Program Files\\Sample\\data\\file" + std::to_string(i) + ".dat";
      if (m_kind == EKind::kDirect) {
        SetItemText(IDC_STATUS, status);
        m_progress.SetPos(i);
      } else if (m_kind == EKind::kPaced) {
        m_updates.SetText(IDC_STATUS, status);
        m_updates.SetProgressPos(IDC_PROGRESS, i);
      }
      Sys().ui->PumpOneMessage();
    }
    m_updates.Flush();
    m_dElapsedMs = NowMs() - start;
    EndDialog(IDOK);
    result = 1;
    return true;
  }

 private:
  EKind m_kind;
  int m_nItems;
  CProgressBar m_progress;
  CPacedControlUpdates m_updates;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int items = argc > 1 ? std::atoi(argv[1]) : 20000;
  int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  if (items <= 0 || rounds <= 0) return 2;
  InstallWin32Platform();
  const EKind kinds[] = {EKind::kBare, EKind::kDirect, EKind::kPaced};
  std::vector<double> times[3];
  for (int round = 0; round < rounds; ++round) {
    for (int k = 0; k < 3; ++k) {
      CBenchDialog dialog(kinds[k], items);
      dialog.DoModal();
      times[k].push_back(dialog.m_dElapsedMs);
      std::printf("round %d %-6s %9.1f ms\n", round + 1, KindName(kinds[k]), dialog.m_dElapsedMs);
      std::fflush(stdout);
    }
  }
  double bare = Median(times[0]);
  std::printf("items %d, rounds %d, medians: bare %.1f ms, direct %.1f ms (%.2fx), paced %.1f ms (%.2fx)\n", items,
              rounds, bare, Median(times[1]), Median(times[1]) / bare, Median(times[2]), Median(times[2]) / bare);
  return 0;
}
