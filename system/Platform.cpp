#include "system/Platform.h"

CPlatform& Sys() {
  static CPlatform platform;
  return platform;
}
