#include "core/session/session.h"

#include <gtest/gtest.h>

namespace vyn {
namespace {

TEST(SessionTest, StartsAtLevelZeroWithAllWritePlanFlagsCleared) {
  Session session;
  EXPECT_EQ(session.AccessLevel, 0);
  EXPECT_FALSE(session.PinNotEntered);
  EXPECT_FALSE(session.FirmwareUpdateActive);
  EXPECT_FALSE(session.PasswordChangeConfirmed);
  EXPECT_FALSE(session.ShowReadComplete);
}

}  // namespace
}  // namespace vyn
