#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "removal/UpdatePacer.h"
#include "system/Platform.h"
#include "tests/fakes/FakeSystem.h"

namespace {

struct CPacerCase {
  const char* name;
  uint32_t interval;
  std::vector<uint32_t> ticks;
  std::vector<bool> turns;
};

TEST(UpdatePacer, GivesATurnAtMostOncePerInterval) {
  const CPacerCase cases[] = {
      {"first call", 40, {5000}, {true}},
      {"same tick", 40, {5000, 5000, 5000}, {true, false, false}},
      {"just before and at the interval", 40, {5000, 5039, 5040}, {true, false, true}},
      {"counted from the last turn, not the last call", 40, {5000, 5030, 5060, 5079, 5080}, {true, false, true, false, false}},
      {"long pause", 40, {5000, 9000, 9001}, {true, true, false}},
      {"across the counter's wrap", 40, {0xFFFFFFF0u, 0x10, 0x18}, {true, false, true}},
      {"no interval", 0, {7, 7, 7}, {true, true, true}},
  };
  for (const CPacerCase& c : cases) {
    SCOPED_TRACE(c.name);
    CFakePlatform platform;
    CUpdatePacer pacer(c.interval);
    std::vector<bool> turns;
    for (uint32_t tick : c.ticks) {
      platform.clock.m_nNow = tick;
      turns.push_back(pacer.TakeTurn());
    }
    EXPECT_EQ(turns, c.turns);
  }
}

TEST(UpdatePacer, ResetGivesTheNextCallATurn) {
  CFakePlatform platform;
  CUpdatePacer pacer(40);
  platform.clock.m_nNow = 100;
  EXPECT_TRUE(pacer.TakeTurn());
  EXPECT_FALSE(pacer.TakeTurn());
  pacer.Reset();
  EXPECT_TRUE(pacer.TakeTurn());
  platform.clock.m_nNow = 139;
  EXPECT_FALSE(pacer.TakeTurn()) << "the interval counts again from the turn after the reset";
}

}  // namespace
