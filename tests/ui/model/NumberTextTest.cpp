#include "ui/model/NumberText.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

TEST(NumberTextTest, IntegersHaveASignPosition)
{
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(42), " 42");
    EXPECT_EQ(numberText(255), " 255");
    EXPECT_EQ(numberText(1000), " 1000");
    EXPECT_EQ(numberText(-5), "-5");
    EXPECT_EQ(plainNumberText(255), "255");
    EXPECT_EQ(plainNumberText(-5), "-5");
}

TEST(NumberTextTest, FractionsDropTrailingZerosAndTheLeadingZero)
{
    EXPECT_EQ(numberText(0.4902), " .4902");
    EXPECT_EQ(numberText(2.5), " 2.5");
    EXPECT_EQ(plainNumberText(0.019608), ".019608");
    EXPECT_EQ(plainNumberText(0.0001), ".0001");
    EXPECT_EQ(plainNumberText(-0.25), "-.25");
}

TEST(NumberTextTest, RoundsToFifteenSignificantDigitsWithoutExponent)
{
    EXPECT_EQ(plainNumberText(51 * 0.019608), "1.000008");
    EXPECT_EQ(plainNumberText(0.1 + 0.2), ".3");
    EXPECT_EQ(plainNumberText(1.0 / 3), ".333333333333333");
    EXPECT_EQ(plainNumberText(9.9999999999999999), "10");
    EXPECT_EQ(plainNumberText(1e20), "100000000000000000000");
    EXPECT_EQ(plainNumberText(1.5e-7), ".00000015");
    EXPECT_EQ(plainNumberText(123456789012345678.0), "123456789012346000");
}

} // namespace
} // namespace vindle
