#include "editor/status_line.h"

#include <gtest/gtest.h>

#include "song/app_state.h"
#include "song/shell_services.h"

namespace qc {

namespace {

uint32_t fakeNow;

class StatusLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    saved = shell.ticks;
    shell.ticks = [] { return fakeNow; };
  }
  void TearDown() override { shell.ticks = saved; }
  uint32_t (*saved)();
};

TEST_F(StatusLineTest, FadesInHoldsAndFadesOut) {
  fakeNow = 10000;
  setStatus("Ready.");
  for (auto [age, alpha] : {std::pair{100, 100}, {255, 255}, {3499, 255}, {3600, 155}, {3754, 1}, {3755, 0}})
    EXPECT_EQ(statusAlpha(10000 + age), alpha) << age << " ms after";
}

TEST_F(StatusLineTest, AQuickReplacementShowsAtFullStrengthEvenAcrossTheTickWrap) {
  fakeNow = 0xFFFFFF00u;
  setStatus("a");
  fakeNow = 0xFFFFFF80u;
  setStatus("b");  // 128 ms later: full strength at once
  EXPECT_EQ(statusAlpha(0xFFFFFF80u), 255);
  EXPECT_EQ(statusAlpha(0x00000100u), 255);          // 384 ms later, across the wrap
  EXPECT_EQ(statusAlpha(0xFFFFFE81u + 3600), 155);  // stamp was moved back by 255
  fakeNow = 0x00000400u;
  setStatus("c");  // a while later: fades in again
  EXPECT_EQ(statusAlpha(0x00000400u), 0);
  EXPECT_EQ(statusAlpha(0x00000400u + 128), 128);
}

}  // namespace

}  // namespace qc
