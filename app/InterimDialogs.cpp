#include "app/InterimDialogs.h"

#include "removal/RemovalWorker.h"

namespace {

class CNoWindowView : public IRemovalView {
 public:
  void SetStatus(const std::string&) override {}
  void SetProgressRange(uint16_t) override {}
  void SetProgressPos(int) override {}
  void ShowRemoveLabel(bool) override {}
};

class CNoOtherProgramSteps : public IRemovalSteps {
 public:
  void StopAndDeleteService(const std::string&) override {}
  void EndProcesses(const std::string&) override {}
  void UnregisterComServer(const std::string&) override {}
  void UnregisterServiceExe(const std::string&) override {}
};

// The state the finish page reports after Finish.
constexpr int kFinishState = 5;

}  // namespace

bool CInterimDialogs::RunProgressDialog(CInstallInfo& info) {
  CNoWindowView view;
  CNoOtherProgramSteps steps;
  CRemovalWorker worker(info, view, steps);
  worker.Run();
  return true;
}

int CInterimDialogs::RunFinishPage(const std::string&, const std::string&, CInstallInfo&, bool) {
  return kFinishState;
}
