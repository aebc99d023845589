#include "app/Utilities.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "resources/StringTable.h"
#endif

std::string BuiltInText(int number) {
#ifdef _WIN32
  char buffer[1024];
  int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), buffer, sizeof(buffer));
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
#else
  switch (number) {
    case 1004: return TEXT_1004;
    case 1005: return TEXT_1005;
    case 1006: return TEXT_1006;
    case 1007: return TEXT_1007;
    case 1008: return TEXT_1008;
    case 1009: return TEXT_1009;
    case 1010: return TEXT_1010;
    case 1011: return TEXT_1011;
    case 1012: return TEXT_1012;
    case 1013: return TEXT_1013;
    case 1014: return TEXT_1014;
    case 1016: return TEXT_1016;
    case 1017: return TEXT_1017;
    case 1018: return TEXT_1018;
    case 1019: return TEXT_1019;
    default: return std::string();
  }
#endif
}
