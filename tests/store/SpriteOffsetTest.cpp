#include <gtest/gtest.h>

#include "store/Planet.h"

TEST(SpriteOffset, FollowsTruncatedMassWithinTheSheet)
{
    EXPECT_EQ(SpriteOffsetForMass(0.5), 0);
    EXPECT_EQ(SpriteOffsetForMass(1.0), 0);
    EXPECT_EQ(SpriteOffsetForMass(1.99), 0);
    EXPECT_EQ(SpriteOffsetForMass(2.0), 40);
    EXPECT_EQ(SpriteOffsetForMass(9.99), 320);
    EXPECT_EQ(SpriteOffsetForMass(10.0), 360);
    EXPECT_EQ(SpriteOffsetForMass(1e12), 360);
    EXPECT_EQ(SpriteOffsetForMass(-3.0), 0);
    EXPECT_EQ(SpriteOffsetForMass(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(SpriteOffsetForMass(std::numeric_limits<double>::infinity()), 360);
}
