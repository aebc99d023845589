#include "app/UninstallApp.h"

// The removal itself arrives with the install record; until then the
// sequence has nothing to do.
int CUninstallApp::RunUninstall() { return 0; }
