#include <gtest/gtest.h>

#include "system/Platform.h"
#include "system/RegistryApi.h"
#include "tests/shared/RegistryApiChecks.h"

namespace {

TEST(Win32Registry, BehavesAsTheStandInAssumes) { CheckRegistryApi(*Sys().registry, "Software\\UninstRealCheck"); }

}  // namespace
