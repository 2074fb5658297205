#include "base/DecimalText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <locale>

namespace vindle {
namespace {

// A locale that writes numbers the German way: "1.234,5".
struct CommaDecimals final : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class DecimalTextTest : public testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    }
    void TearDown() override { std::locale::global(previous_); }

private:
    std::locale previous_;
};

TEST_F(DecimalTextTest, ReadsDecimalNumbersAndNothingElse)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* text;
        std::optional<double> value;
        Exponent exponent = Exponent::Allowed;
    } cases[] = {
        {"12", 12},
        {"1234.5", 1234.5},
        {"-.5", -0.5},
        {"5.", 5},
        {"0.1", 0.1},
        {"1.5e2", 150},
        {"2E-3", 0.002},
        {"1e+2", 100},
        {"1e400", inf},
        {"-1e400", -inf},
        {"1e-400", 0},
        {"1.5e2", std::nullopt, Exponent::Refused},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalValue(c.text, c.exponent), c.value) << '"' << c.text << '"';
}

TEST_F(DecimalTextTest, RoundsToSignificantDigits)
{
    const struct
    {
        double value;
        int significant;
        const char* digits;
        int exponent;
    } cases[] = {
        {1234.5, 3, "123", 3},
        {0.04902, 15, "4902", -2},
        {0.1 + 0.2, 15, "3", -1},
        {1.0 / 3, 15, "333333333333333", -1},
        {9.9999999999999999, 15, "1", 1},
        {1e20, 15, "1", 20},
        {1.5e-7, 15, "15", -7},
        {123456789012345678.0, 15, "123456789012346", 17},
        {1234567.0, 15, "1234567", 6},
    };
    for (const auto& c : cases) {
        const SignificantDigits result = significantDigits(c.value, c.significant);
        EXPECT_EQ(result.digits, c.digits) << c.value;
        EXPECT_EQ(result.exponent, c.exponent) << c.value;
    }
}

} // namespace
} // namespace vindle
