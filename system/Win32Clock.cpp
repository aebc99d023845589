#include "system/Win32Clock.h"

#include <windows.h>

uint32_t CWin32Clock::TickCount() { return GetTickCount(); }
void CWin32Clock::Sleep(uint32_t ms) { ::Sleep(ms); }
