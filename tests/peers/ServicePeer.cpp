// A Win32 service for the tests: reports running and, on a stop request,
// stopped. Built with PEER_IGNORES_STOP it accepts stop requests and goes on
// running; built with PEER_STOP_DELAY_MS it reports a pending stop for that
// long first. It never runs longer than two minutes.
#include <windows.h>

namespace {

SERVICE_STATUS_HANDLE g_status = nullptr;
HANDLE g_stopped = nullptr;

void Report(DWORD state) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(g_status, &status);
}

void WINAPI Handler(DWORD control) {
  if (control != SERVICE_CONTROL_STOP) return;
#ifdef PEER_IGNORES_STOP
  Report(SERVICE_RUNNING);
#else
  SetEvent(g_stopped);
#endif
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  g_status = RegisterServiceCtrlHandlerA("", Handler);
  if (!g_status) return;
  Report(SERVICE_RUNNING);
  WaitForSingleObject(g_stopped, 120000);
#ifdef PEER_STOP_DELAY_MS
  Report(SERVICE_STOP_PENDING);
  Sleep(PEER_STOP_DELAY_MS);
#endif
  Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
  g_stopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  char name[] = "";
  SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
