#include <gtest/gtest.h>

#include "system/Platform.h"

int main(int argc, char** argv) {
  InstallWin32Platform();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
